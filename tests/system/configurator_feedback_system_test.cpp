// What the real QuillonConfig.exe under Wine tells its user about what the
// runtime will do: entries that can never run, the controller's buttons held
// right now, press-to-set and the faults of a key sequence as it is typed.
// Pictures of the box, the lit buttons and the hint are left in
// bin/artifacts.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "shared/settings_tree.h"
#include "tests/kit/configurator_test.h"
#include "tests/kit/controller_double/virtual_pads_control.h"
#include "tests/kit/dialog_probe.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

namespace kit = test_kit;
namespace reg = test_registry;
namespace pads = virtual_pads;

using kit::Key;
using kit::PressAlt;
using kit::StoredNumber;
using kit::WaitUntil;

// The text of the box's message, whatever its line breaks.
std::string MessageOf(HWND box) {
  for (HWND control : kit::Descendants(box)) {
    char name[16] = "";
    GetClassNameA(control, name, sizeof name);
    const std::string text = kit::VisibleText(control);
    if (lstrcmpiA(name, "Static") == 0 && text.size() > 20) return text;
  }
  return "";
}

// How many pixels of the control, on the screen now, have the highlight
// colour that marks a lit box.
size_t LitPixels(HWND control) {
  RECT box;
  GetWindowRect(control, &box);
  kit::ScreenImage image;
  if (!kit::CaptureScreen(image)) return 0;
  return kit::CountPixelsOf(image, box.left, box.top, box.right, box.bottom, GetSysColor(COLOR_HIGHLIGHT));
}

class ConfiguratorFeedbackTest : public kit::ConfiguratorTest {
 protected:
  void SetUp() override {
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    const std::string path = reg::SettingsPath();
    reg::WriteText(path, "Config0", "Race");
    reg::WriteText(path, "UltraMapPath", kit::StandInMapperPath());
    reg::WriteNumber(path, "UseHook", 0);
    reg::WriteNumber(path, "ApplyOnStart", 0);
    reg::WriteNumber(path, "ChangeTimeout", 1500);
  }
  void TearDown() override {
    CloseConfigurator();
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    // Later tests start the configurator with Wine's own DirectInput.
    RegDeleteKeyA(HKEY_CURRENT_USER, kit::kConfiguratorOverrides);
  }
  static void KeyEntry(int number, WORD key, int modifier, const char* sequence) {
    reg::WriteNumber(reg::KeyActionPath(number), "Modifier", DWORD(modifier));
    reg::WriteNumber(reg::KeyActionPath(number), "VirtualKey", key);
    reg::WriteNumber(reg::KeyActionPath(number), "Action", StuffKeys);
    reg::WriteText(reg::KeyActionPath(number), "KeySeq", sequence);
  }
  // The DirectInput double in place of Wine's for the configurator, with
  // one pad of 32 buttons, a stick and a hat, chosen on "Other settings".
  static pads::SharedBlock& OnePad() {
    EXPECT_TRUE(pads::InstallControllerDoubleInSystemFolder());
    for (const char* library : {"dinput", "dinput8"})
      RegSetKeyValueA(HKEY_CURRENT_USER, kit::kConfiguratorOverrides, library, REG_SZ, "native,builtin", 15);
    pads::SharedBlock& block = pads::ResetSharedBlock();
    pads::AddPad("Ultimarc UltraStik 360", 32);
    reg::WriteText(reg::SettingsPath(), "SwitchDevice", "Ultimarc UltraStik 360");
    reg::WriteNumber(reg::SettingsPath(), "UseJoystick", 1);
    reg::WriteNumber(reg::ButtonActionPath(1), "Buttons", 1);
    reg::WriteNumber(reg::ButtonActionPath(1), "Action", StuffKeys);
    return block;
  }
  // True when a control shown in the window has this in its text.
  bool Shows(const std::string& part) const {
    for (HWND control : kit::Descendants(window_))
      if (IsWindowVisible(control) && kit::VisibleText(control).find(part) != std::string::npos) return true;
    return false;
  }
  // The first row of the action list shown. Wine copies row texts between
  // processes as UTF-16 whichever function asks; these are ASCII.
  std::string FirstRow() const {
    for (HWND list : kit::ControlsOfClass(window_, "ListBox")) {
      if (!IsWindowVisible(list)) continue;
      wchar_t text[256] = L"";
      SendMessageW(list, LB_GETTEXT, 0, LPARAM(text));
      return std::string(text, text + lstrlenW(text));
    }
    return "<no list>";
  }
  // The controller list on the "Actions" page, its first entry open.
  void ShowControllerEntry() {
    ASSERT_TRUE(kit::SelectTab(Tab(), "Actions"));
    Click("Joystick");
    HWND list = nullptr;
    for (HWND candidate : kit::ControlsOfClass(window_, "ListBox"))
      if (IsWindowVisible(candidate)) list = candidate;
    ASSERT_NE(list, nullptr);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), LPARAM(list));
    kit::PumpMessagesFor(200);
  }
};

TEST_F(ConfiguratorFeedbackTest, ApplyListsTheEntriesThatNeverRunAndGoesBackOrOnAsAnswered) {
  KeyEntry(1, VK_F5, ModifierCtrl, "a");
  KeyEntry(2, VK_F5, ModifierCtrl, "b");
  ASSERT_NE(StartConfigurator(), nullptr);
  SendMessageA(Labelled("Config switch timeout (ms):"), WM_SETTEXT, 0, LPARAM("3000"));

  Click("Apply");
  HWND box = kit::WaitForTopLevelWindow("#32770", "Warning", configurator_.id);
  ASSERT_NE(box, nullptr) << "no box";
  EXPECT_NE(MessageOf(box).find("Keyboard row 2 \"Control + F5 key\": the same key and modifiers as row 1"),
            std::string::npos)
      << MessageOf(box);
  SetForegroundWindow(box);
  kit::PumpMessagesFor(400);
  kit::ScreenImage image;
  ASSERT_TRUE(kit::CaptureScreen(image));
  EXPECT_TRUE(kit::SaveBmp(image, kit::ArtifactsFolder() + "never_run_box.bmp"));
  PostMessageA(box, WM_COMMAND, IDNO, 0);
  ASSERT_TRUE(kit::WaitForWindowGone(box));
  kit::PumpMessagesFor(300);
  EXPECT_EQ(StoredNumber("ChangeTimeout"), 1500u) << "going back wrote the settings";

  Click("Apply");
  box = kit::WaitForTopLevelWindow("#32770", "Warning", configurator_.id);
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, IDYES, 0);
  EXPECT_TRUE(WaitUntil([] { return StoredNumber("ChangeTimeout") == 3000u; }));
}

TEST_F(ConfiguratorFeedbackTest, HeldButtonsLightUpWhileTheControllerListIsShownAndNotWhileMinimised) {
  pads::SharedBlock& block = OnePad();
  ASSERT_NE(StartConfigurator(), nullptr);
  ASSERT_NO_FATAL_FAILURE(ShowControllerEntry());
  SetForegroundWindow(window_);
  pads::HoldButtons(0, {1, 3, 32});
  // Up and left, read in the range the configurator sets on its device.
  pads::MoveStick(0, pads::kAxisMin, pads::kAxisMin);
  pads::PushHat(0, pads::kHatRight);
  EXPECT_TRUE(WaitUntil([&] {
    for (const char* box : {"Button 1", "Button 3", "Button 32", "Stick up", "Stick left", "Hat right"})
      if (LitPixels(Captioned(box)) <= 20) return false;
    return true;
  })) << "the held buttons and directions are not lit";
  for (const char* box : {"Button 2", "Button 31", "Stick right", "Stick down", "Hat up", "Hat left"})
    EXPECT_EQ(LitPixels(Captioned(box)), 0u) << box;
  Picture("controller_live.bmp");
  pads::CentreEverything();
  pads::HoldButtons(0, {2});
  EXPECT_TRUE(
      WaitUntil([&] { return LitPixels(Captioned("Button 2")) > 20 && LitPixels(Captioned("Button 1")) == 0; }));
  // At least 30 reads a second while shown.
  const int32_t before = block.pads[0].stateReads;
  kit::PumpMessagesFor(1000);
  EXPECT_GE(block.pads[0].stateReads - before, 30);

  ShowWindow(window_, SW_MINIMIZE);
  kit::PumpMessagesFor(300);
  const int32_t minimised = block.pads[0].stateReads;
  kit::PumpMessagesFor(500);
  EXPECT_EQ(block.pads[0].stateReads, minimised) << "read while minimised";
  ShowWindow(window_, SW_RESTORE);
  EXPECT_TRUE(WaitUntil([&] { return block.pads[0].stateReads > minimised; })) << "not read again once restored";

  ASSERT_TRUE(kit::SelectTab(Tab(), "Configurations"));
  kit::PumpMessagesFor(300);
  const int32_t hidden = block.pads[0].stateReads;
  kit::PumpMessagesFor(500);
  EXPECT_EQ(block.pads[0].stateReads, hidden) << "read while another page is shown";
  pads::ReleaseEveryButton();
}

TEST_F(ConfiguratorFeedbackTest, AControllerThatIsNotAttachedShowsANoteAndNoBox) {
  OnePad();
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", "Ultimarc UltraStik 360");
  pads::ResetSharedBlock();  // listed by nothing: the stored name is not attached
  pads::AddPad("Generic USB Gamepad", 10);
  ASSERT_NE(StartConfigurator(), nullptr);
  ASSERT_TRUE(kit::SelectTab(Tab(), "Other settings"));
  // Chosen, then unplugged: the list still shows it until a Refresh.
  ASSERT_NO_FATAL_FAILURE(ShowControllerEntry());
  pads::Block().padCount = 0;
  ASSERT_TRUE(kit::SelectTab(Tab(), "Configurations"));
  ASSERT_TRUE(kit::SelectTab(Tab(), "Actions"));
  EXPECT_TRUE(WaitUntil([&] { return kit::ControlCaptioned(window_, "Controller not attached") != nullptr; }));
  EXPECT_EQ(kit::FindTopLevelWindow("#32770", "Error", configurator_.id), nullptr);
}

TEST_F(ConfiguratorFeedbackTest, PressButtonsTicksTheHeldCombinationAndPressKeyTakesTheKeyWithItsModifiers) {
  OnePad();
  KeyEntry(1, VK_F5, 0, "a");
  ASSERT_NE(StartConfigurator(), nullptr);
  ASSERT_NO_FATAL_FAILURE(ShowControllerEntry());
  SetForegroundWindow(window_);
  kit::PumpMessagesFor(300);
  PressAlt('P');  // the button's access key
  EXPECT_TRUE(WaitUntil([&] { return Shows("Hold the buttons"); })) << "Alt+P did not start the wait";
  pads::HoldButtons(0, {2});
  kit::PumpMessagesFor(200);
  pads::HoldButtons(0, {2, 4, 32});
  pads::MoveStick(0, pads::kAxisCentre, pads::kAxisMax);
  kit::PumpMessagesFor(200);
  pads::CentreEverything();
  EXPECT_TRUE(WaitUntil([&] { return Checked("Button 2") && Checked("Button 4") && Checked("Button 32"); }));
  EXPECT_TRUE(Checked("Stick down"));
  EXPECT_FALSE(Checked("Button 1") || Checked("Stick up") || Checked("Hat down"));
  EXPECT_EQ(FirstRow(), "Button 2 + 4 + 32 + Stick down");

  Click("Keyboard");
  SetForegroundWindow(window_);
  kit::PumpMessagesFor(200);
  Click("Press key...");
  EXPECT_TRUE(WaitUntil([&] { return Shows("never reach this window"); })) << "no hint while waiting";
  Key(VK_CONTROL, true);
  Key(VK_F7, true);
  Key(VK_F7, false);
  Key(VK_CONTROL, false);
  EXPECT_TRUE(WaitUntil([&] { return TextLabelled("Virtual Key:") == "F7 key"; }));
  EXPECT_TRUE(Checked("Ctrl"));
  EXPECT_FALSE(Checked("Alt"));
}

TEST_F(ConfiguratorFeedbackTest, TheFirstFaultOfAKeySequenceShowsAsItIsTypedAndApplyStoresTheTextAsTyped) {
  KeyEntry(1, VK_F5, 0, "hello");
  ASSERT_NE(StartConfigurator(), nullptr);
  ASSERT_TRUE(kit::SelectTab(Tab(), "Actions"));
  kit::PumpMessagesFor(200);
  HWND sequence = Labelled("Key sequence:");
  SendMessageA(sequence, WM_SETTEXT, 0, LPARAM("hello {ENTR}"));
  EXPECT_TRUE(WaitUntil([&] { return Shows("position 7: unknown key name {ENTR}"); })) << "no hint";
  EXPECT_EQ(FirstRow(), "F5 key  (!)") << "the row carries no mark";
  Picture("key_sequence_hint.bmp");
  SendMessageA(sequence, WM_SETTEXT, 0, LPARAM("hello {ENTER}"));
  EXPECT_TRUE(WaitUntil([&] { return !Shows("position "); })) << "a sound sequence still has a hint";
  SendMessageA(sequence, WM_SETTEXT, 0, LPARAM("+(ab"));
  EXPECT_TRUE(WaitUntil([&] { return Shows("position 2: a '(' that is never closed"); }));

  Click("Apply");
  EXPECT_TRUE(WaitUntil([] {
    char text[64] = "";
    DWORD size = sizeof text;
    return RegGetValueA(HKEY_CURRENT_USER, reg::KeyActionPath(1).c_str(), "KeySeq", RRF_RT_REG_SZ, nullptr, text,
                        &size) == ERROR_SUCCESS &&
           std::string(text) == "+(ab";
  })) << "Apply did not store the text as typed";
}

TEST_F(ConfiguratorFeedbackTest, PagesAreMadeWhenFirstShownAndApplyStillTakesEveryPage) {
  reg::WriteNumber(reg::SettingsPath(), "PollPerSecond", 25);
  reg::WriteNumber(reg::SettingsPath(), "UseHook", 1);
  ASSERT_NE(StartConfigurator(), nullptr);
  EXPECT_EQ(kit::ControlsOfClass(window_, "ListBox").size(), 2u) << "the action lists were made before they were shown";
  SendMessageA(Labelled("Config switch timeout (ms):"), WM_SETTEXT, 0, LPARAM("3000"));
  Click("Apply");
  EXPECT_TRUE(WaitUntil([] { return StoredNumber("ChangeTimeout") == 3000u; }));
  EXPECT_EQ(StoredNumber("PollPerSecond"), 25u) << "a page never shown lost its settings";
  EXPECT_EQ(StoredNumber("UseHook"), 1u);
  ASSERT_TRUE(kit::SelectTab(Tab(), "Other settings"));
  EXPECT_EQ(TextLabelled("Polls per second:"), "25");
}

}  // namespace
}  // namespace quillon

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

using kit::WaitUntil;

constexpr const char* kConfiguratorOverrides = "Software\\Wine\\AppDefaults\\QuillonConfig.exe\\DllOverrides";

DWORD StoredNumber(const char* name) {
  DWORD value = 0xDEADBEEF;
  DWORD size = sizeof value;
  RegGetValueA(HKEY_CURRENT_USER, reg::SettingsPath().c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

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
  }
  static void KeyEntry(int number, WORD key, int modifier, const char* sequence) {
    reg::WriteNumber(reg::KeyActionPath(number), "Modifier", DWORD(modifier));
    reg::WriteNumber(reg::KeyActionPath(number), "VirtualKey", key);
    reg::WriteNumber(reg::KeyActionPath(number), "Action", StuffKeys);
    reg::WriteText(reg::KeyActionPath(number), "KeySeq", sequence);
  }
  // The DirectInput double in place of Wine's for the configurator, with
  // one pad of ten buttons, chosen on "Other settings".
  static pads::SharedBlock& OnePad() {
    EXPECT_TRUE(pads::InstallControllerDoubleInSystemFolder());
    for (const char* library : {"dinput", "dinput8"})
      RegSetKeyValueA(HKEY_CURRENT_USER, kConfiguratorOverrides, library, REG_SZ, "native,builtin", 15);
    pads::SharedBlock& block = pads::ResetSharedBlock();
    pads::AddPad("Ultimarc UltraStik 360", 10);
    reg::WriteText(reg::SettingsPath(), "SwitchDevice", "Ultimarc UltraStik 360");
    reg::WriteNumber(reg::SettingsPath(), "UseJoystick", 1);
    return block;
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

}  // namespace
}  // namespace quillon

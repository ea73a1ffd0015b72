// The real QuillonConfig.exe under Wine, worked as a user would: controls are
// found by their labels and captions, fields read back and changed, Apply
// and the menus clicked. Each page leaves a screen picture in bin/artifacts.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "shared/settings_tree.h"

#include "tests/kit/controller_double/virtual_pads_control.h"
#include "tests/kit/configurator_test.h"
#include "tests/kit/dialog_probe.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/screen_capture.h"
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

void TypeDigits(const std::string& digits) {
  for (char digit : digits) {
    Key(WORD(digit), true);
    Key(WORD(digit), false);
  }
  kit::PumpMessagesFor(200);
}
// The HTML Help viewer's window in that process, if one is open.
HWND HelpViewerOf(DWORD processId) {
  for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
    char name[32] = "";
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == processId && GetClassNameA(window, name, sizeof name) && lstrcmpA(name, "HH Parent") == 0)
      return window;
  }
  return nullptr;
}

// The control that has the keyboard focus in another program's window.
HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

// The dialog font of the configurator's templates, as this process makes
// it: the captions are measured in it.
HFONT DialogFont() {
  static HFONT font = [] {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Shell Dlg 2");
  }();
  return font;
}

std::string Describe(HWND control) {
  char name[32] = "";
  GetClassNameA(control, name, sizeof name);
  return std::string(name) + " \"" + kit::VisibleText(control) + "\" (id " + std::to_string(GetDlgCtrlID(control)) +
         ")";
}

// Whether the control's caption, in the dialog font, fits the room the
// control gives it: one line beside the box of a check box or option
// button, the lines of a label within its height.
bool CaptionFits(HWND control) {
  char name[32] = "";
  GetClassNameA(control, name, sizeof name);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const std::string text = kit::VisibleText(control);
  const bool button = lstrcmpiA(name, "Button") == 0, label = lstrcmpiA(name, "Static") == 0;
  if (text.empty() || (!button && !label) || (label && (style & SS_TYPEMASK) == SS_ICON)) return true;
  const LONG kind = style & BS_TYPEMASK;
  // A frame's caption sits on its edge; a picture button shows its picture.
  if (button && (kind == BS_GROUPBOX || (style & BS_ICON) != 0)) return true;
  RECT room;
  GetClientRect(control, &room);
  HDC context = GetDC(control);
  HGDIOBJ old = SelectObject(context, DialogFont());
  bool fits;
  if (label) {
    RECT needed = {0, 0, room.right, 0};
    DrawTextA(context, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    fits = needed.bottom <= room.bottom && needed.right <= room.right;
  } else {
    SIZE size = {};
    GetTextExtentPoint32A(context, text.c_str(), int(text.size()), &size);
    const bool box =
        kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX || kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON;
    // The box and the gap after it; a push button's frame on both sides.
    const LONG beside = box ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 8;
    fits = size.cx + beside <= room.right;
  }
  SelectObject(context, old);
  ReleaseDC(control, context);
  return fits;
}

// Every control shown in the window: inside its client area, its caption
// whole, and clear of every other one (frames aside, which hold them).
void ExpectNothingCutOffOrOverlapping(HWND window, const char* view) {
  SCOPED_TRACE(view);
  RECT client;
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::vector<std::pair<HWND, RECT>> shown;
  for (HWND control : kit::Descendants(window)) {
    char name[32] = "";
    GetClassNameA(control, name, sizeof name);
    if (!IsWindowVisible(control) || lstrcmpiA(name, "#32770") == 0 || lstrcmpiA(name, WC_TABCONTROLA) == 0) continue;
    RECT at;
    GetWindowRect(control, &at);
    RECT inside;
    IntersectRect(&inside, &at, &client);
    EXPECT_TRUE(EqualRect(&inside, &at)) << Describe(control) << " is cut off by the window's edge";
    EXPECT_TRUE(CaptionFits(control)) << Describe(control) << " cuts its caption off";
    const bool frame =
        lstrcmpiA(name, "Button") == 0 && (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    if (!frame) shown.emplace_back(control, at);
  }
  for (size_t i = 0; i < shown.size(); ++i)
    for (size_t j = i + 1; j < shown.size(); ++j) {
      RECT common;
      EXPECT_FALSE(IntersectRect(&common, &shown[i].second, &shown[j].second))
          << Describe(shown[i].first) << " overlaps " << Describe(shown[j].first);
    }
  RECT whole;
  GetWindowRect(window, &whole);
  EXPECT_LE(whole.right - whole.left, 800);
  EXPECT_LE(whole.bottom - whole.top, 600);
}

class ConfiguratorWindowTest : public kit::ConfiguratorTest {
 protected:
  void SetUp() override {
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    log_ = kit::UseFreshStandInLog("configurator_window");
    // The stand-in is an existing mapping program, and every load of the
    // runtime hands it the first map: its log counts the runtime's loads.
    const std::string path = reg::SettingsPath();
    reg::WriteText(path, "Config0", "Race");
    reg::WriteText(path, "Config1", "Fly");
    reg::WriteText(path, "UltraMapPath", kit::StandInMapperPath());
    reg::WriteText(path, "UltraMapOptions", "/load %s");
    reg::WriteNumber(path, "ChangeTimeout", 1500);
    reg::WriteNumber(path, "UseHook", 1);
    reg::WriteNumber(path, "PollPerSecond", 25);
    reg::WriteNumber(path, "UseJoystick", 0);
    reg::WriteNumber(path, "UseKeyboard", 1);
    reg::WriteNumber(path, "ApplyOnStart", 1);
    // A controller entry of every button, every direction and the repeat
    // kind, shown with all its boxes and the interval field.
    reg::WriteNumber(reg::ButtonActionPath(1), "Buttons", 0xFFFFFFFF);
    reg::WriteNumber(reg::ButtonActionPath(1), "Directions", kDirectionsMask);
    reg::WriteNumber(reg::ButtonActionPath(1), "Action", RepeatKeys);
    reg::WriteNumber(reg::ButtonActionPath(1), "Repeat", 5);
    reg::WriteText(reg::ButtonActionPath(1), "KeySeq", "x");
    // The configurations are listed, and so applied, while their maps exist.
    for (const char* map : {"Race", "Fly"}) std::ofstream(kit::ConfiguratorDataFolder() + map + ".ugc") << map;
  }
  void TearDown() override {
    for (const char* map : {"Race", "Fly"}) DeleteFileA((kit::ConfiguratorDataFolder() + map + ".ugc").c_str());
    CloseConfigurator();
    kit::StopAnyRuntime();
    if (runtime_.process) kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
    reg::DeleteSettingsTree();
    RegDeleteKeyA(HKEY_CURRENT_USER, kit::kConfiguratorOverrides);
  }

  // Shows a page and leaves a picture of the window in the artifacts.
  void ShowPageAndPicture(const char* caption, const char* pictureName) {
    ASSERT_TRUE(kit::SelectTab(Tab(), caption)) << caption;
    Picture(pictureName);
    ExpectNothingCutOffOrOverlapping(window_, caption);
  }

  std::string log_;
  kit::Child runtime_;
};

TEST_F(ConfiguratorWindowTest, ShowsTheStoredSettingsOnEveryPage) {
  ASSERT_NE(StartConfigurator(), nullptr);
  EXPECT_EQ(kit::TabCaptions(Tab()),
            (std::vector<std::string>{"Configurations", "Actions", "Other settings", "About"}));

  ShowPageAndPicture("Configurations", "configurator_configurations.bmp");
  EXPECT_EQ(TextLabelled("Config switch timeout (ms):"), "1500");
  EXPECT_TRUE(Checked("Load first configuration upon start/apply"));

  ShowPageAndPicture("Actions", "configurator_actions.bmp");
  Click("Joystick");
  HWND list = nullptr;
  for (HWND candidate : kit::ControlsOfClass(window_, "ListBox"))
    if (IsWindowVisible(candidate)) list = candidate;
  ASSERT_NE(list, nullptr);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), LPARAM(list));
  kit::PumpMessagesFor(200);
  for (int k = 1; k <= 32; ++k) EXPECT_TRUE(Checked(("Button " + std::to_string(k)).c_str())) << k;
  for (const char* direction : kDirectionLabels) EXPECT_TRUE(Checked(direction)) << direction;
  EXPECT_EQ(TextLabelled("Action:"), "Repeat keys while pressed");
  EXPECT_EQ(TextLabelled("Repeat every (ms):"), "5") << "shown as stored";
  EXPECT_NE(kit::ControlCaptioned(window_, "outside 20 to 5000 ms: repeats every 100 ms"), nullptr);
  Picture("configurator_actions_controller_repeat.bmp");
  ExpectNothingCutOffOrOverlapping(window_, "a controller entry of the repeat kind");

  ShowPageAndPicture("Other settings", "configurator_other_settings.bmp");
  EXPECT_TRUE(Checked("Use keyboard hook"));
  EXPECT_FALSE(Checked("Use hotkeys"));
  EXPECT_FALSE(Checked("Poll joystick"));
  EXPECT_FALSE(Checked("Use every controller with this name")) << "off in a tree older than it";
  EXPECT_TRUE(Checked("Watch keyboard"));
  EXPECT_EQ(TextLabelled("Polls per second:"), "25");
  EXPECT_EQ(TextLabelled("Ultramap exe:"), kit::StandInMapperPath());
  EXPECT_EQ(TextLabelled("Parameters:"), "/load %s");
  for (const char* label : {"Ultramap exe:", "Parameters:"})
    EXPECT_EQ(SendMessageA(Labelled(label), EM_GETLIMITTEXT, 0, 0), 250) << label;
  EXPECT_NE(kit::ControlCaptioned(window_, " Misc Settings"), nullptr);
  EXPECT_NE(kit::ControlCaptioned(window_, " Keyboard settings"), nullptr);
  EXPECT_NE(kit::ControlCaptioned(window_, "Joystick settings"), nullptr);
  EXPECT_NE(kit::ControlCaptioned(window_, "Browse"), nullptr);
  EXPECT_NE(kit::ControlCaptioned(window_, "Refresh"), nullptr);
  EXPECT_NE(Labelled("Device name:"), nullptr);
  // Settings from before the notice switches leave both boxes clear.
  EXPECT_FALSE(Checked("Show an icon in the notification area"));
  EXPECT_FALSE(Checked("Show the map's name on screen when it changes"));
  // Every control of the table above, the two notice boxes and Apply carry
  // their tool tips.
  HWND tips = kit::FindTopLevelWindow(TOOLTIPS_CLASSA, "", configurator_.id);
  ASSERT_NE(tips, nullptr);
  // ... the 20 of the "Actions" page and the 8 of the configuration lists
  // with the 4 of the selected map's fields and the switch beside them.
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 14 + 2 + 20 + 8 + 4);

  ShowPageAndPicture("About", "configurator_about.bmp");
  EXPECT_NE(kit::ControlCaptioned(window_, "Version 1.0"), nullptr);
  EXPECT_NE(kit::ControlCaptioned(window_, "All rights reserved"), nullptr);
  EXPECT_NE(kit::ControlCaptioned(window_, "Quillon Configurator for Ultrastick 360"), nullptr);

  EXPECT_NE(GetMenu(window_), nullptr);
  std::vector<kit::Menu> bar = kit::MenuBarOf(ConfiguratorPath());
  ASSERT_EQ(bar.size(), 3u);
  auto captions = [](const kit::Menu& menu) {
    std::vector<std::string> texts{menu.caption};
    for (const auto& entry : menu.entries) texts.push_back(entry.caption);
    return texts;
  };
  EXPECT_EQ(captions(bar[0]),
            (std::vector<std::string>{"&File", "&Reload current configuration", "&Load configuration from file",
                                      "&Save configuration to file", "-", "&Unload resident Quillon", "&Exit"}));
  EXPECT_EQ(captions(bar[1]),
            (std::vector<std::string>{"Links", "Add to &Desktop", "Add to &Programs", "Add to &Startup"}));
  EXPECT_EQ(captions(bar[2]), (std::vector<std::string>{"?", "Help"}));

  // A changed field that is not applied is lost when the window goes.
  ASSERT_TRUE(kit::SelectTab(Tab(), "Configurations"));
  SendMessageA(Labelled("Config switch timeout (ms):"), WM_SETTEXT, 0, LPARAM("4000"));
  PostMessageA(window_, WM_COMMAND, kit::MenuCommand(ConfiguratorPath(), "Exit"), 0);
  DWORD exitCode = 99;
  ASSERT_TRUE(kit::WaitForExit(configurator_, kit::kGenerousTimeoutMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(StoredNumber("ChangeTimeout"), 1500u);
}

TEST_F(ConfiguratorWindowTest, ApplyStoresTheTimeoutAndTheRuntimeReloadsOnce) {
  ASSERT_NE(kit::StartRuntime(&runtime_), nullptr);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1)) << "the runtime's first load handed nothing over";
  ASSERT_NE(StartConfigurator(), nullptr);
  // All by keyboard: the label's access key selects the field, the digits
  // replace its text, and Apply has its own access key.
  SetForegroundWindow(window_);
  kit::PumpMessagesFor(200);
  PressAlt('C');
  ASSERT_EQ(FocusOf(window_), Labelled("Config switch timeout (ms):"));
  TypeDigits("3000");
  EXPECT_EQ(TextLabelled("Config switch timeout (ms):"), "3000");
  // Tab goes on in reading order: the page, Apply, then the tabs again.
  for (HWND next : {Captioned("Load first configuration upon start/apply"), Captioned("Apply"), Tab()}) {
    Key(VK_TAB, true);
    Key(VK_TAB, false);
    kit::PumpMessagesFor(100);
    EXPECT_EQ(FocusOf(window_), next) << kit::VisibleText(next);
  }
  PressAlt('A');
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2)) << "the runtime did not reload";
  // Ctrl+Tab and Ctrl+Shift+Tab step through the pages.
  Key(VK_CONTROL, true);
  for (int i = 0; i < 2; ++i) {
    Key(VK_TAB, true);
    Key(VK_TAB, false);
  }
  Key(VK_CONTROL, false);
  kit::PumpMessagesFor(200);
  EXPECT_EQ(SendMessageA(Tab(), TCM_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(Labelled("Polls per second:")));
  Key(VK_CONTROL, true);
  Key(VK_SHIFT, true);
  Key(VK_TAB, true);
  Key(VK_TAB, false);
  Key(VK_SHIFT, false);
  Key(VK_CONTROL, false);
  kit::PumpMessagesFor(200);
  EXPECT_EQ(SendMessageA(Tab(), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(StoredNumber("ChangeTimeout"), 3000u);
  EXPECT_EQ(StoredNumber("UseHook"), 1u);
  EXPECT_EQ(StoredNumber("PollPerSecond"), 25u);
  kit::PumpMessagesFor(500);
  EXPECT_EQ(kit::LoggedCommandLines(log_).size(), 2u) << "one Apply, one reload";
}

TEST_F(ConfiguratorWindowTest, ApplyWithAMissingMappingProgramShowsTheErrorAndWritesNothing) {
  reg::WriteText(reg::SettingsPath(), "UltraMapPath", "C:\\Nowhere\\UltraMap.exe");
  ASSERT_NE(StartConfigurator(), nullptr);
  ASSERT_TRUE(kit::SelectTab(Tab(), "Other settings"));
  SendMessageA(Labelled("Ultramap exe:"), WM_SETTEXT, 0, LPARAM("  C:\\Nowhere\\UltraMap.exe  "));
  ASSERT_TRUE(kit::SelectTab(Tab(), "Configurations"));
  SendMessageA(Labelled("Config switch timeout (ms):"), WM_SETTEXT, 0, LPARAM("3000"));
  Click("Apply");
  HWND box = kit::WaitForTopLevelWindow("#32770", "Error", configurator_.id);
  ASSERT_NE(box, nullptr) << "no error box";
  EXPECT_NE(kit::ControlCaptioned(box, "Check UltraMap path: file not found."), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(kit::WaitForWindowGone(box));
  EXPECT_EQ(StoredNumber("ChangeTimeout"), 1500u);
  // The path lost its outer blanks; everything else is as it was.
  ASSERT_TRUE(kit::SelectTab(Tab(), "Other settings"));
  EXPECT_EQ(TextLabelled("Ultramap exe:"), "C:\\Nowhere\\UltraMap.exe");
}

TEST_F(ConfiguratorWindowTest, TheControllerListNamesThePadsAndKeepsTheStoredOneSelected) {
  ASSERT_TRUE(pads::InstallControllerDoubleInSystemFolder());
  for (const char* library : {"dinput", "dinput8"})
    RegSetKeyValueA(HKEY_CURRENT_USER, kit::kConfiguratorOverrides, library, REG_SZ, "native,builtin", 15);
  pads::SharedBlock& block = pads::ResetSharedBlock();
  pads::AddPad("Ultimarc UltraStik 360", 16);
  pads::AddPad("Generic USB Gamepad", 10);
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", "Generic USB Gamepad");
  ASSERT_NE(StartConfigurator(), nullptr);
  ASSERT_TRUE(kit::SelectTab(Tab(), "Other settings"));
  HWND devices = Labelled("Device name:");
  ASSERT_EQ(SendMessageA(devices, CB_GETCOUNT, 0, 0), 2) << "the virtual pads are not listed";
  EXPECT_EQ(kit::VisibleText(devices), "Generic USB Gamepad");

  // Unplugged: Refresh falls back to the first pad, and Apply stores it.
  block.padCount = 1;
  // The page's own Refresh: the configuration lists have one too.
  PostMessageA(kit::ControlCaptioned(GetParent(devices), "Refresh"), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(devices, CB_GETCOUNT, 0, 0) == 1; }));
  EXPECT_EQ(kit::VisibleText(devices), "Ultimarc UltraStik 360");
  Click("Apply");
  EXPECT_TRUE(WaitUntil([] {
    char name[64] = "";
    DWORD size = sizeof name;
    return RegGetValueA(HKEY_CURRENT_USER, reg::SettingsPath().c_str(), "SwitchDevice", RRF_RT_REG_SZ, nullptr, name,
                        &size) == ERROR_SUCCESS &&
           std::string(name) == "Ultimarc UltraStik 360";
  }));
}

TEST_F(ConfiguratorWindowTest, F1OpensTheHelpOverTheWindowWhateverControlHasTheFocus) {
  ASSERT_NE(StartConfigurator(), nullptr);
  SetForegroundWindow(window_);
  kit::PumpMessagesFor(200);
  PressAlt('C');  // the focus in a text field, which would take F1 as a key
  ASSERT_EQ(FocusOf(window_), Labelled("Config switch timeout (ms):"));
  Key(VK_F1, true);
  Key(VK_F1, false);
  HWND viewer = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (viewer = HelpViewerOf(configurator_.id)) != nullptr; }));
  ASSERT_NE(viewer, nullptr) << "no help viewer opened";
  EXPECT_EQ(GetWindow(viewer, GW_OWNER), window_);
  EXPECT_EQ(TextLabelled("Config switch timeout (ms):"), "1500") << "F1 reached the field";
}

TEST_F(ConfiguratorWindowTest, ASecondStartBringsBackTheFirstWindowAndEnds) {
  ASSERT_NE(StartConfigurator(), nullptr);
  ShowWindow(window_, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window_) != FALSE; }));
  kit::Child second = kit::StartChild(ConfiguratorPath(), "");
  DWORD exitCode = 99;
  ASSERT_TRUE(kit::WaitForExit(second, kit::kGenerousTimeoutMs, &exitCode)) << "the second copy kept running";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(window_) && GetForegroundWindow() == window_; }))
      << "the first window was not brought back";
  EXPECT_TRUE(kit::IsRunning(configurator_));
  EXPECT_EQ(FindWindowExA(nullptr, window_, "#32770", kit::kConfiguratorTitle), nullptr) << "a second window";
}

}  // namespace
}  // namespace quillon

// The real quillon.exe under Wine with its notices switched on: the map's
// name over a focused program at a hand-over, and the notification-area
// icon's menu.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "runtime/win32/main_window_handle.h"
#include "runtime/win32/map_name_window_win32.h"
#include "runtime/win32/notification_icon_win32.h"
#include "shared/runtime_messages.h"
#include "shared/settings_tree.h"
#include "tests/kit/key_recorder_window.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/screen_capture.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

namespace kit = test_kit;
namespace reg = test_registry;
namespace rec = key_recorder;

// The visible top-level window of `className` that belongs to `processId`.
HWND WindowOf(const char* className, DWORD processId) {
  HWND window = FindWindowA(className, nullptr);
  DWORD owner = 0;
  if (window) GetWindowThreadProcessId(window, &owner);
  return owner == processId && IsWindowVisible(window) ? window : nullptr;
}

// Asks the shell about the runtime's icon: a change of nothing succeeds only
// while the icon is there.
bool IconCall(DWORD call, HWND runtimeWindow) {
  NOTIFYICONDATAA data = {};
  data.cbSize = sizeof data;
  data.hWnd = runtimeWindow;
  data.uID = kNotificationIconId;
  return Shell_NotifyIconA(call, &data) != FALSE;
}

class UserNoticesSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    log_ = kit::UseFreshStandInLog("user_notices");
    reg::WriteText(reg::SettingsPath(), "UltraMapPath", kit::StandInMapperPath());
    reg::WriteText(reg::SettingsPath(), "UltraMapOptions", "%s");
    reg::WriteText(reg::SettingsPath(), "Config0", "Race");
    reg::WriteText(reg::SettingsPath(), "Config1", "Fly");
  }
  void TearDown() override {
    kit::StopAnyRuntime();
    if (runtime_.process) kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
    rec::Destroy();
    reg::DeleteSettingsTree();
  }

  HWND Start() {
    HWND window = kit::StartRuntime(&runtime_);
    EXPECT_NE(window, nullptr);
    DWORD_PTR ignored = 0;
    if (window) SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kit::kGenerousTimeoutMs, &ignored);
    return window;
  }

  HWND NameWindow() const { return WindowOf(kMapNameWindowClass, runtime_.id); }
  bool NameShowing() const { return IsWindowVisible(NameWindow()) != FALSE; }
  std::string NameText() const {
    char text[256] = {};
    GetWindowTextA(NameWindow(), text, sizeof text);
    return text;
  }

  std::string log_;
  kit::Child runtime_;
};

// Opens the icon's menu as the shell does for a right click or the menu key,
// and picks item `index` (from 0) with the arrow keys.
bool ChooseFromIconMenu(HWND runtimeWindow, DWORD processId, int index) {
  PostMessageA(runtimeWindow, WM_NOTIFICATION_ICON, kNotificationIconId, WM_CONTEXTMENU);
  if (!kit::WaitUntil([&] { return WindowOf("#32768", processId) != nullptr; })) return false;
  for (int step = 0; step <= index; ++step) rec::PressKey(VK_DOWN);
  rec::PressKey(VK_RETURN);
  return kit::WaitUntil([&] { return WindowOf("#32768", processId) == nullptr; });
}

TEST_F(UserNoticesSystemTest, TheNameShowsOverTheFocusedProgramWithoutTakingItsPlace) {
  // One press of F9 asks for the next map; the first request after a load
  // without ApplyOnStart keeps the default map and hands it over.
  reg::WriteNumber(reg::SettingsPath(), "ShowMapName", 1);
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteNumber(reg::SettingsPath(), "ChangeTimeout", 300);
  reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 1);
  reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", VK_F9);
  reg::WriteNumber(reg::KeyActionPath(1), "Action", NextMap);
  HWND runtimeWindow = Start();
  ASSERT_NE(runtimeWindow, nullptr);
  EXPECT_FALSE(NameShowing()) << "nothing was handed over at start";
  HWND focused = rec::Create("Focused program");
  ASSERT_NE(focused, nullptr);
  ASSERT_TRUE(rec::Focus());

  rec::PressKey(VK_F9);
  ASSERT_TRUE(kit::WaitUntil([&] { return NameShowing(); })) << "no name after the hand-over";
  const DWORD shownAt = GetTickCount();
  EXPECT_EQ(NameText(), "Race");
  EXPECT_EQ(GetForegroundWindow(), focused) << "the name took the foreground";
  EXPECT_EQ(GetFocus(), focused);
  HWND name = NameWindow();
  const LONG_PTR expected = WS_EX_NOACTIVATE | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  EXPECT_EQ(GetWindowLongPtrA(name, GWL_EXSTYLE) & expected, expected);
  EXPECT_EQ(GetWindow(name, GW_OWNER), nullptr);
  RECT placed;
  GetWindowRect(name, &placed);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  EXPECT_LE(std::abs((placed.left + placed.right) / 2 - screenWidth / 2), 1) << "not centred";
  EXPECT_LT(placed.bottom, GetSystemMetrics(SM_CYSCREEN) / 3) << "not at the top";

  kit::PumpMessagesFor(200);
  kit::ScreenImage screen;
  ASSERT_TRUE(kit::CaptureScreen(screen));
  kit::SaveBmp(screen, kit::ArtifactsFolder() + "map_name_over_program.bmp");
  EXPECT_GT(kit::CountPixelsOf(screen, placed.left, placed.top, placed.right, placed.bottom, RGB(24, 24, 24)), 0u);
  EXPECT_TRUE(kit::HasSeveralColours(screen, placed.left, placed.top, placed.right, placed.bottom));

  // A reload that applies the first map hands over again: the text changes
  // at once and its time starts again.
  reg::WriteText(reg::SettingsPath(), "Config0", "Fly");
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 1);
  SendMessageA(runtimeWindow, WM_RELOAD_SETTINGS, 0, 0);
  EXPECT_EQ(NameText(), "Fly");
  EXPECT_TRUE(NameShowing());
  const DWORD replacedAt = GetTickCount();
  ASSERT_TRUE(kit::WaitUntil([&] { return !NameShowing(); }, 5000)) << "the name never went";
  const DWORD shownFor = GetTickCount() - replacedAt;
  // Shown for 1.5 s; the upper bound leaves room for a busy test machine.
  EXPECT_GE(shownFor, 1400u);
  EXPECT_LE(shownFor, 4000u);
  EXPECT_GT(replacedAt - shownAt, 100u);
  EXPECT_EQ(GetForegroundWindow(), focused);
  EXPECT_TRUE(kit::WaitForLoggedLines(log_, 2)) << "each name stood for a hand-over";
}

TEST_F(UserNoticesSystemTest, TheIconsMenuReloadsAndExitsAndTheIconGoesWithTheRuntime) {
  // Every load hands the first map over, so the stand-in's log counts loads.
  reg::WriteNumber(reg::SettingsPath(), "ShowTrayIcon", 1);
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 1);
  HWND runtimeWindow = Start();
  ASSERT_NE(runtimeWindow, nullptr);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  EXPECT_TRUE(IconCall(NIM_MODIFY, runtimeWindow)) << "no icon in the notification area";
  // The shell loses its icons and says so when its task bar comes back.
  IconCall(NIM_DELETE, runtimeWindow);
  SendMessageA(runtimeWindow, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(IconCall(NIM_MODIFY, runtimeWindow)) << "the icon did not come back";

  ASSERT_TRUE(ChooseFromIconMenu(runtimeWindow, runtime_.id, 0)) << "Reload settings";
  EXPECT_TRUE(kit::WaitForLoggedLines(log_, 2)) << "the menu did not reload";
  EXPECT_TRUE(kit::IsRunning(runtime_));

  ASSERT_TRUE(ChooseFromIconMenu(runtimeWindow, runtime_.id, 1)) << "About";
  HWND about = kit::WaitForTopLevelWindow("#32770", "About Quillon", runtime_.id);
  ASSERT_NE(about, nullptr) << "no about box";
  PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(kit::WaitForWindowGone(about));

  ASSERT_TRUE(ChooseFromIconMenu(runtimeWindow, runtime_.id, 2)) << "Exit";
  DWORD exitCode = 99;
  ASSERT_TRUE(kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, &exitCode)) << "Exit did not end the runtime";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(IconCall(NIM_MODIFY, runtimeWindow)) << "the icon outlived the runtime";
}

}  // namespace
}  // namespace quillon

// The application switcher on the Wine desktop: the menu it opens over real
// windows, and what choosing from it (with injected keys) does.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/seams/app_switcher.h"
#include "runtime/win32/main_window_handle.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/screen_capture.h"

namespace quillon {
namespace {

namespace kit = test_kit;

constexpr UINT kShowAgainRequest = WM_APP + 7;

struct MenuItem {
  std::string text;
  UINT id = 0;
  HBITMAP picture = nullptr;
};

struct MenuSeen {
  HMENU menu = nullptr;
  RECT rect = {};
  std::vector<MenuItem> items;
};

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kShowAgainRequest) {
    ShowAppSwitcher();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND OpenMenuWindow() {
  HWND menuWindow = FindWindowA("#32768", nullptr);
  return (menuWindow && IsWindowVisible(menuWindow)) ? menuWindow : nullptr;
}

// Waits for an open menu other than `previous` and reads its items.
bool WaitForMenu(MenuSeen& seen, HMENU previous = nullptr) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < kit::kGenerousTimeoutMs) {
    HWND menuWindow = OpenMenuWindow();
    HMENU menu = menuWindow ? reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0)) : nullptr;
    if (menu != nullptr && menu != previous) {
      seen.menu = menu;
      GetWindowRect(menuWindow, &seen.rect);
      int count = GetMenuItemCount(menu);
      for (int i = 0; i < count; ++i) {
        char text[300] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_CHECKMARKS | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        seen.items.push_back({text, info.wID, info.hbmpUnchecked});
      }
      return true;
    }
    Sleep(20);
  }
  return false;
}

void PressKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
  Sleep(30);
}

// Picks the item with `text` by arrow keys and Enter; Esc when absent.
void ChooseItem(const MenuSeen& seen, const std::string& text) {
  for (size_t i = 0; i < seen.items.size(); ++i) {
    if (seen.items[i].text != text) continue;
    for (size_t step = 0; step <= i; ++step) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    return;
  }
  PressKey(VK_ESCAPE);
}

int IndexOf(const MenuSeen& seen, const std::string& text) {
  for (size_t i = 0; i < seen.items.size(); ++i)
    if (seen.items[i].text == text) return static_cast<int>(i);
  return -1;
}

bool SameArea(const kit::ScreenImage& a, const kit::ScreenImage& b, const RECT& area) {
  if (a.width != b.width || a.height != b.height) return false;
  for (int y = std::max(0, int(area.top)); y < std::min(a.height, int(area.bottom)); ++y)
    for (int x = std::max(0, int(area.left)); x < std::min(a.width, int(area.right)); ++x)
      if (a.PixelAt(x, y) != b.PixelAt(x, y)) return false;
  return true;
}

// Captures the screen once the open menu at `area` has been painted: its
// background colour covers much of it, something (text, pictures) is drawn
// on it, and two captures in a row agree, so painting has finished.
bool CaptureDrawnMenu(const RECT& area, kit::ScreenImage& image) {
  const uint32_t background = GetSysColor(COLOR_MENU);
  const size_t areaPixels = size_t(area.right - area.left) * size_t(area.bottom - area.top);
  kit::ScreenImage previous;
  DWORD start = GetTickCount();
  while (GetTickCount() - start < kit::kGenerousTimeoutMs) {
    if (kit::CaptureScreen(image) &&
        kit::CountPixelsOf(image, area.left, area.top, area.right, area.bottom, background) * 3 >= areaPixels &&
        kit::HasSeveralColours(image, area.left, area.top, area.right, area.bottom) && SameArea(image, previous, area))
      return true;
    previous = image;
    Sleep(50);
  }
  return false;
}

class AppSwitcherSystemTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillonSwitcherTestWindow";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&windowClass);
    WNDCLASSA trayClass = windowClass;
    trayClass.lpszClassName = "Tray";
    RegisterClassA(&trayClass);
  }
  void SetUp() override {
    owner_ = CreateWindowExA(0, "QuillonSwitcherTestWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
    SetMainWindowHandle(owner_);
  }
  void TearDown() override {
    if (driver_.joinable()) driver_.join();
    for (HWND window : windows_) DestroyWindow(window);
    DestroyWindow(owner_);
    SetMainWindowHandle(nullptr);
    kit::PumpMessagesFor(100);
  }

  HWND Shown(const std::string& title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
    HWND window = CreateWindowExA(0, "QuillonSwitcherTestWindow", title.c_str(), style, 120, 120, 260, 160, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    windows_.push_back(window);
    return window;
  }
  void BringToFront(HWND window) {
    kit::PumpMessagesFor(200);
    SetForegroundWindow(window);
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != window && GetTickCount() - start < kit::kGenerousTimeoutMs)
      kit::PumpMessagesFor(50);
    ASSERT_EQ(GetForegroundWindow(), window);
  }

  // Opens the switcher on this thread while a helper reads the menu, runs
  // `whileOpen` (if any) and picks `choice` (a menu text; anything else
  // presses Esc).
  MenuSeen ShowAndChoose(const std::string& choice, const std::function<void(const MenuSeen&)>& whileOpen = {}) {
    MenuSeen seen;
    std::atomic<bool> found{false};
    driver_ = std::thread([&] {
      found = WaitForMenu(seen);
      if (found && whileOpen) whileOpen(seen);
      ChooseItem(seen, choice);
    });
    ShowAppSwitcher();
    driver_.join();
    EXPECT_TRUE(found) << "the menu never opened";
    return seen;
  }

  HWND owner_ = nullptr;
  std::vector<HWND> windows_;
  std::thread driver_;
};

TEST_F(AppSwitcherSystemTest, ListsVisibleTitledWindowsThenDesktopAndDismiss) {
  HWND alpha = Shown("Quillon Switch Alpha");
  Shown("   Quillon Switch Padded   ");
  Shown("   Program Manager  ");
  Shown("program manager");
  Shown("Quillon Switch Hidden", WS_OVERLAPPEDWINDOW);
  Shown("");
  BringToFront(alpha);
  MenuSeen seen = ShowAndChoose("none: dismiss with Esc");
  ASSERT_GE(seen.items.size(), 5u);
  EXPECT_GE(IndexOf(seen, " Quillon Switch Alpha"), 0);
  EXPECT_GE(IndexOf(seen, " Quillon Switch Padded"), 0);
  EXPECT_GE(IndexOf(seen, " program manager"), 0);
  EXPECT_LT(IndexOf(seen, " Program Manager"), 0);
  EXPECT_LT(IndexOf(seen, " Quillon Switch Hidden"), 0);
  EXPECT_LT(IndexOf(seen, " "), 0);
  size_t count = seen.items.size();
  EXPECT_EQ(seen.items[count - 2].text, " Desktop");
  EXPECT_EQ(seen.items[count - 2].id, 32795u);
  EXPECT_EQ(seen.items[count - 1].text, " [ Dismiss ]");
  EXPECT_EQ(seen.items[count - 1].id, 32796u);
  for (size_t i = 0; i + 2 < count; ++i) EXPECT_EQ(seen.items[i].id, 32771u + i);
  // Our own windows carry the program's icon, as do the two fixed items,
  // each at the check-mark size.
  for (const char* text : {" Quillon Switch Alpha", " Desktop", " [ Dismiss ]"}) {
    int index = IndexOf(seen, text);
    ASSERT_GE(index, 0) << text;
    HBITMAP picture = seen.items[static_cast<size_t>(index)].picture;
    ASSERT_NE(picture, nullptr) << text;
    BITMAP info = {};
    ASSERT_NE(GetObjectA(picture, sizeof info, &info), 0) << text;
    EXPECT_EQ(info.bmWidth, GetSystemMetrics(SM_CXMENUCHECK)) << text;
    EXPECT_EQ(info.bmHeight, GetSystemMetrics(SM_CYMENUCHECK)) << text;
  }
  // Esc changed nothing.
  kit::PumpMessagesFor(200);
  EXPECT_EQ(GetForegroundWindow(), alpha);
}

// A picture of the open menu is left in "artifacts" beside the test program:
// the checks above read the menu's items, this shows whether they were
// really drawn, with their pictures, where a user would look.
TEST_F(AppSwitcherSystemTest, LeavesAPictureOfTheOpenMenu) {
  HWND alpha = Shown("Quillon Switch Alpha");
  Shown("Quillon Switch Beta");
  BringToFront(alpha);
  const std::string path = kit::ArtifactsFolder() + "app_switcher_menu.bmp";
  DeleteFileA(path.c_str());
  bool drawn = false;
  bool saved = false;
  RECT menuArea = {};
  ShowAndChoose("none: dismiss with Esc", [&](const MenuSeen& seen) {
    menuArea = seen.rect;
    kit::ScreenImage image;
    drawn = CaptureDrawnMenu(seen.rect, image);
    saved = kit::SaveBmp(image, path);
  });
  EXPECT_TRUE(drawn) << "the menu was never seen painted on the screen";
  ASSERT_TRUE(saved) << path;
  kit::ScreenImage written;
  ASSERT_TRUE(kit::LoadBmp(path, written)) << path;
  EXPECT_EQ(written.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(written.height, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(kit::HasSeveralColours(written, 0, 0, written.width, written.height));
  EXPECT_TRUE(kit::HasSeveralColours(written, menuArea.left, menuArea.top, menuArea.right, menuArea.bottom));
}

TEST_F(AppSwitcherSystemTest, ChoosingAWindowBringsItToTheFront) {
  HWND alpha = Shown("Quillon Switch Alpha");
  HWND beta = Shown("Quillon Switch Beta");
  BringToFront(alpha);
  ShowAndChoose(" Quillon Switch Beta");
  kit::PumpMessagesFor(200);
  EXPECT_EQ(GetForegroundWindow(), beta);
}

TEST_F(AppSwitcherSystemTest, ChoosingAMinimisedWindowRestoresIt) {
  HWND alpha = Shown("Quillon Switch Alpha");
  HWND small = Shown("Quillon Switch Minimised");
  ShowWindow(small, SW_MINIMIZE);
  BringToFront(alpha);
  ASSERT_TRUE(IsIconic(small));
  ShowAndChoose(" Quillon Switch Minimised");
  DWORD start = GetTickCount();
  while (IsIconic(small) && GetTickCount() - start < kit::kGenerousTimeoutMs) kit::PumpMessagesFor(50);
  EXPECT_FALSE(IsIconic(small));
  EXPECT_EQ(GetForegroundWindow(), small);
}

TEST_F(AppSwitcherSystemTest, DismissChangesNothing) {
  HWND alpha = Shown("Quillon Switch Alpha");
  Shown("Quillon Switch Beta");
  BringToFront(alpha);
  ShowAndChoose(" [ Dismiss ]");
  kit::PumpMessagesFor(200);
  EXPECT_EQ(GetForegroundWindow(), alpha);
}

// The 30 windows belong to a helper process, which the test ends instead of
// closing each of them (about 2 s a window under Wine).
TEST_F(AppSwitcherSystemTest, ListsOnlyTheFrontMost24Windows) {
  kit::Child crowd = kit::StartChild(kit::ProgramFolder() + "window_crowd.exe", "30 \"Quillon Switch Many\"");
  ASSERT_NE(crowd.process, nullptr);
  HWND front = kit::WaitForTopLevelWindow("QuillonWindowCrowd", "Quillon Switch Many 29", crowd.id);
  if (front != nullptr) BringToFront(front);
  MenuSeen seen = front != nullptr ? ShowAndChoose("none: dismiss with Esc") : MenuSeen{};
  TerminateProcess(crowd.process, 0);
  DWORD ended = 0;
  EXPECT_TRUE(kit::WaitForExit(crowd, kit::kGenerousTimeoutMs, &ended));
  EXPECT_TRUE(front == nullptr || kit::WaitForWindowGone(front)) << "the helper's windows stayed";
  ASSERT_NE(front, nullptr) << "the helper's windows never appeared";
  ASSERT_EQ(seen.items.size(), 26u);
  for (size_t i = 0; i < 24; ++i) EXPECT_EQ(seen.items[i].id, 32771u + i);
  EXPECT_EQ(seen.items[24].id, 32795u);
  EXPECT_EQ(seen.items[25].id, 32796u);
  // The window in front is among them.
  EXPECT_GE(IndexOf(seen, " Quillon Switch Many 29"), 0);
}

TEST_F(AppSwitcherSystemTest, OpensAtTheTopRightWithATaskbarOnTheLeft) {
  int height = GetSystemMetrics(SM_CYSCREEN);
  HWND tray =
      CreateWindowExA(0, "Tray", "", WS_POPUP, 0, 0, 60, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(tray, nullptr);
  windows_.push_back(tray);
  HWND alpha = Shown("Quillon Switch Alpha");
  BringToFront(alpha);
  MenuSeen seen = ShowAndChoose("none: dismiss with Esc");
  EXPECT_EQ(seen.rect.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(seen.rect.top, 0);
}

TEST_F(AppSwitcherSystemTest, OpensAtTheTopLeftWithoutATaskbar) {
  HWND alpha = Shown("Quillon Switch Alpha");
  BringToFront(alpha);
  MenuSeen seen = ShowAndChoose("none: dismiss with Esc");
  EXPECT_EQ(seen.rect.left, 0);
  EXPECT_EQ(seen.rect.top, 0);
}

TEST_F(AppSwitcherSystemTest, ASecondRequestWhileOpenReplacesTheMenu) {
  HWND alpha = Shown("Quillon Switch Alpha");
  BringToFront(alpha);
  MenuSeen first;
  MenuSeen second;
  std::atomic<bool> sawFirst{false};
  std::atomic<bool> sawSecond{false};
  driver_ = std::thread([&] {
    sawFirst = WaitForMenu(first);
    if (!sawFirst) return;
    PostMessageA(owner_, kShowAgainRequest, 0, 0);
    sawSecond = WaitForMenu(second, first.menu);
    PressKey(VK_ESCAPE);
  });
  ShowAppSwitcher();
  driver_.join();
  EXPECT_TRUE(sawFirst);
  EXPECT_TRUE(sawSecond) << "no fresh menu replaced the open one";
  EXPECT_FALSE(IsMenu(first.menu)) << "the replaced menu was not freed";
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_GE(IndexOf(second, " Quillon Switch Alpha"), 0);
}

}  // namespace
}  // namespace quillon

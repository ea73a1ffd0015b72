// The pop-up application switcher: a menu of the visible top-level windows,
// each with its program's icon, plus " Desktop" and " [ Dismiss ]".
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <string>

#include "runtime/app_switcher_menu.h"
#include "runtime/key_injection.h"
#include "runtime/seams/app_switcher.h"
#include "runtime/win32/main_window_handle.h"

namespace quillon {

namespace {

constexpr int kItemSlots = kSwitcherWindowSlots + 2;  // the windows, " Desktop", " [ Dismiss ]"

struct AppSwitcher {
  HMENU switcherMenu = nullptr;
  std::string windowTitles[kSwitcherWindowSlots];
  HICON windowIcons[kSwitcherWindowSlots] = {};
  HWND windowHandles[kSwitcherWindowSlots] = {};
  int windowCount = 0;
  HBITMAP itemBitmaps[kItemSlots] = {};
};

AppSwitcher g_switcher;
// Set while TrackPopupMenu runs. A request that arrives meanwhile (the menu
// loop still dispatches hot keys, poll ticks and posted requests) closes the
// open menu and asks the running call for a fresh one: a second menu cannot
// be tracked while the first is, and the first must not lose its items
// under its feet.
bool g_menuOpen = false;
bool g_showAgain = false;

// A copy of `source` at the given size.
HBITMAP ShrinkBitmap(HBITMAP source, int sourceWidth, int sourceHeight, int width, int height) {
  HDC display = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return nullptr;
  HBITMAP shrunk = CreateCompatibleBitmap(display, width, height);
  HDC from = CreateCompatibleDC(display);
  HDC to = CreateCompatibleDC(display);
  if (shrunk != nullptr && from != nullptr && to != nullptr) {
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, shrunk);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
  }
  if (from) DeleteDC(from);
  if (to) DeleteDC(to);
  DeleteDC(display);
  return shrunk;
}

// Draws `icon` on white at the large-icon size, shrinks it to the check-mark
// size and shows it in the check-mark column of the item at `position`.
void MakeItemBitmap(HMENU menu, int position, HICON icon) {
  int iconWidth = GetSystemMetrics(SM_CXICON);
  int iconHeight = GetSystemMetrics(SM_CYICON);
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return;
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP large = CreateCompatibleBitmap(screen, iconWidth, iconHeight);
  ReleaseDC(nullptr, screen);
  if (memory == nullptr || large == nullptr) {
    if (memory) DeleteDC(memory);
    if (large) DeleteObject(large);
    return;
  }
  HGDIOBJ old = SelectObject(memory, large);
  RECT whole = {0, 0, iconWidth, iconHeight};
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(memory, &whole, white);
  DeleteObject(white);
  DrawIconEx(memory, 0, 0, icon, iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
  SelectObject(memory, old);
  DeleteDC(memory);

  HBITMAP small =
      ShrinkBitmap(large, iconWidth, iconHeight, GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK));
  DeleteObject(large);
  if (small == nullptr) return;
  SetMenuItemBitmaps(menu, static_cast<UINT>(position), MF_BYPOSITION, small, small);
  g_switcher.itemBitmaps[position] = small;
}

// The small icon of the program that owns `window`, or nullptr.
HICON ProgramIconOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) return nullptr;
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameExA(process, nullptr, path, MAX_PATH);
  CloseHandle(process);
  if (length == 0) return nullptr;
  HICON small = nullptr;
  if (ExtractIconExA(path, 0, nullptr, &small, 1) == 0) return nullptr;
  return small;
}

std::string WholeTitleOf(HWND window) {
  int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string title(static_cast<size_t>(length) + 1, '\0');
  int read = GetWindowTextA(window, title.data(), length + 1);
  title.resize(read > 0 ? static_cast<size_t>(read) : 0);
  return title;
}

// Lists the window when it is visible and titled; windows behind the first
// kSwitcherWindowSlots listed ones are left out, and the enumeration ends
// there so that no process is opened for them.
BOOL CALLBACK ConsiderWindow(HWND window, LPARAM) {
  if (g_switcher.windowCount >= kSwitcherWindowSlots) return FALSE;
  if (!IsWindowVisible(window)) return TRUE;
  std::string text = SwitcherMenuText(WholeTitleOf(window));
  if (text.empty()) return TRUE;
  int slot = g_switcher.windowCount;
  g_switcher.windowTitles[slot] = text;
  g_switcher.windowHandles[slot] = window;
  g_switcher.windowIcons[slot] = ProgramIconOf(window);
  g_switcher.windowCount = slot + 1;
  return TRUE;
}

void FreeOldMenu() {
  if (g_switcher.switcherMenu == nullptr) return;
  int items = GetMenuItemCount(g_switcher.switcherMenu);
  for (int position = 0; position < items && position < kItemSlots; ++position) {
    if (g_switcher.itemBitmaps[position]) DeleteObject(g_switcher.itemBitmaps[position]);
    g_switcher.itemBitmaps[position] = nullptr;
  }
  DestroyMenu(g_switcher.switcherMenu);
  g_switcher.switcherMenu = nullptr;
}

bool BuildMenu() {
  g_switcher.switcherMenu = CreatePopupMenu();
  HMENU menu = g_switcher.switcherMenu;
  if (menu == nullptr) return false;
  g_switcher.windowCount = 0;
  EnumWindows(ConsiderWindow, 0);
  for (int i = 0; i < g_switcher.windowCount; ++i) {
    InsertMenuA(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING, IDM_SWITCH_WINDOW + static_cast<unsigned>(i),
                g_switcher.windowTitles[i].c_str());
    if (g_switcher.windowIcons[i]) {
      MakeItemBitmap(menu, i, g_switcher.windowIcons[i]);
      DestroyIcon(g_switcher.windowIcons[i]);
      g_switcher.windowIcons[i] = nullptr;
    } else {
      g_switcher.itemBitmaps[i] = nullptr;
    }
  }
  int count = g_switcher.windowCount;
  InsertMenuA(menu, static_cast<UINT>(count), MF_BYPOSITION | MF_STRING, IDM_SWITCH_DESKTOP, " Desktop");
  MakeItemBitmap(menu, count, LoadIcon(nullptr, IDI_WINLOGO));
  InsertMenuA(menu, static_cast<UINT>(count + 1), MF_BYPOSITION | MF_STRING, IDM_SWITCH_DISMISS, " [ Dismiss ]");
  MakeItemBitmap(menu, count + 1, LoadIcon(nullptr, IDI_HAND));
  return true;
}

TaskbarSide FindTaskbarSide() {
  // "Shell_TrayWnd" is the desktop taskbar's class; "Tray" and "HHTaskBar"
  // are the older and handheld shells' names for it. Some shells keep a
  // hidden "Shell_TrayWnd" for the notification area alone; a hidden bar
  // takes no screen space, so only a visible one counts.
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  if (taskbar != nullptr && !IsWindowVisible(taskbar)) taskbar = nullptr;
  if (taskbar == nullptr) taskbar = FindWindowA("Tray", nullptr);
  if (taskbar == nullptr || taskbar == reinterpret_cast<HWND>(-1) || !IsWindow(taskbar))
    taskbar = FindWindowA("HHTaskBar", nullptr);
  RECT rect;
  if (taskbar == nullptr || !GetWindowRect(taskbar, &rect)) return TaskbarSide::Other;
  return TaskbarEdge(rect.left, rect.top, rect.right, rect.bottom);
}

unsigned TrackMenu() {
  MenuPlacement placement =
      PlaceSwitcherMenu(FindTaskbarSide(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  UINT flags = TPM_RETURNCMD;
  if (placement.alignRight) flags |= TPM_RIGHTALIGN;
  if (placement.alignBottom) flags |= TPM_BOTTOMALIGN;
  HWND owner = MainWindowHandle();
  // A menu whose owner is not in front neither takes the keyboard nor closes
  // when the user clicks elsewhere; the posted message lets the menu loop
  // notice the close at once.
  SetForegroundWindow(owner);
  g_menuOpen = true;
  unsigned command = static_cast<unsigned>(
      TrackPopupMenu(g_switcher.switcherMenu, flags, placement.x, placement.y, 0, owner, nullptr));
  g_menuOpen = false;
  PostMessageA(owner, WM_NULL, 0, 0);
  return command;
}

}  // namespace

void ShowAppSwitcher() {
  if (g_menuOpen) {
    g_showAgain = true;
    SendMessageA(MainWindowHandle(), WM_CANCELMODE, 0, 0);
    EndMenu();
    return;
  }
  // Whatever had the keyboard gets it back when nothing is chosen.
  HWND previousForeground = GetForegroundWindow();
  unsigned command = 0;
  do {
    g_showAgain = false;
    FreeOldMenu();
    if (!BuildMenu()) return;
    command = TrackMenu();
  } while (g_showAgain);

  SwitcherChoice choice = InterpretSwitcherCommand(command, g_switcher.windowCount);
  if (choice.kind == SwitcherChoiceKind::ShowDesktop) {
    SendShowDesktopChord();
  } else if (choice.kind == SwitcherChoiceKind::ActivateWindow) {
    HWND window = g_switcher.windowHandles[choice.windowIndex];
    if (IsIconic(window)) PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(window);
  } else if (previousForeground != nullptr && IsWindow(previousForeground)) {
    SetForegroundWindow(previousForeground);
  }
}

}  // namespace quillon

#include "runtime/win32/notification_icon_win32.h"

#include <shellapi.h>

#include <cstring>

#include "runtime/seams/notification_icon.h"
#include "runtime/user_notices.h"
#include "runtime/win32/main_window_handle.h"
#include "runtime/win32/resource_ids.h"
#include "shared/runtime_messages.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {

struct IconState {
  bool wanted = false;  // the tree asks for an icon
  bool added = false;   // the shell holds it
  bool tried = false;   // an add was sent, whatever it answered
  bool speaksVersion3 = false;
  std::string tip;
  HICON icon = nullptr;
};
IconState g_icon;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

// Explorer broadcasts this when the task bar is (re)created: every icon it
// held went with the old one.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

NOTIFYICONDATAA IconData(UINT flags) {
  NOTIFYICONDATAA data;
  ZeroMemory(&data, sizeof data);
  data.cbSize = sizeof data;
  data.hWnd = MainWindowHandle();
  data.uID = kNotificationIconId;
  data.uFlags = flags;
  data.uCallbackMessage = WM_NOTIFICATION_ICON;
  data.hIcon = g_icon.icon;
  strncpy(data.szTip, g_icon.tip.c_str(), sizeof data.szTip - 1);
  return data;
}

// A process that dies on an exception leaves its icon behind until the mouse
// passes over it. The filter that was there first (letting go of held keys)
// runs first: that matters more than the icon.
LONG WINAPI RemoveIconOnCrash(EXCEPTION_POINTERS* exception) {
  LONG result = g_previousFilter != nullptr ? g_previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
  RemoveNotificationIcon();
  return result;
}

bool AddIcon() {
  if (g_icon.icon == nullptr) {
    g_icon.icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUILLON), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    // Explorer runs without administrator rights: an elevated runtime would
    // never hear from it unless both messages are let through.
    ChangeWindowMessageFilterEx(MainWindowHandle(), TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
    ChangeWindowMessageFilterEx(MainWindowHandle(), WM_NOTIFICATION_ICON, MSGFLT_ALLOW, nullptr);
    g_previousFilter = SetUnhandledExceptionFilter(RemoveIconOnCrash);
  }
  NOTIFYICONDATAA data = IconData(NIF_ICON | NIF_MESSAGE | NIF_TIP);
  g_icon.tried = true;
  g_icon.added = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
  // While Explorer starts, the shell can take the icon and still answer
  // FALSE: the call waits for the tray's window only so long and then fails
  // with ERROR_TIMEOUT. A later add of the same icon then fails for good,
  // but the icon that is there takes a modify.
  if (!g_icon.added) g_icon.added = Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
  if (!g_icon.added) return false;
  // Version 3 reports a right click and the keyboard's menu key alike as
  // WM_CONTEXTMENU; an older shell only reports the mouse button.
  data.uVersion = NOTIFYICON_VERSION;
  g_icon.speaksVersion3 = Shell_NotifyIconA(NIM_SETVERSION, &data) != FALSE;
  return true;
}

void RunIconCommand(HWND window, IconCommand command) {
  switch (command) {
    case IconCommand::ReloadSettings: PostMessageA(window, WM_RELOAD_SETTINGS, 0, 0); break;
    case IconCommand::About: PostMessageA(window, WM_COMMAND, IDM_ABOUT, 0); break;
    case IconCommand::Exit: PostMessageA(window, WM_COMMAND, IDM_EXIT, 0); break;
  }
}

void ShowIconMenu(HWND window) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  UINT id = 1;
  for (const IconMenuItem& item : kIconMenu) AppendMenuA(menu, MF_STRING, id++, item.label);
  POINT cursor;
  GetCursorPos(&cursor);
  // The menu only closes on a click elsewhere, and only takes the keyboard,
  // while its owner is the foreground window; the posted WM_NULL lets a
  // second opening work at once (the shell's documented pattern).
  SetForegroundWindow(window);
  UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr));
  PostMessageA(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
  // Run after the menu is gone: Exit destroys the window that owned it.
  if (chosen >= 1 && chosen <= sizeof kIconMenu / sizeof kIconMenu[0])
    RunIconCommand(window, kIconMenu[chosen - 1].command);
}

}  // namespace

bool ShowNotificationIcon(const std::string& tip) {
  g_icon.wanted = true;
  if (g_icon.added && tip == g_icon.tip) return true;
  g_icon.tip = tip;
  if (!g_icon.added) return AddIcon();
  NOTIFYICONDATAA data = IconData(NIF_TIP);
  if (Shell_NotifyIconA(NIM_MODIFY, &data)) return true;
  // The shell lost the icon without telling us (Explorer was restarting).
  return AddIcon();
}

// Also when no add was answered with TRUE: an add that timed out may have
// left the icon in the tray all the same, where it would stay until the
// mouse passed over it.
void RemoveNotificationIcon() {
  g_icon.wanted = false;
  if (!g_icon.added && !g_icon.tried) return;
  NOTIFYICONDATAA data = IconData(0);
  Shell_NotifyIconA(NIM_DELETE, &data);
  g_icon.added = false;
  g_icon.tried = false;
}

bool IsNotificationIconMessage(UINT message) {
  return message == WM_NOTIFICATION_ICON || message == TaskbarCreatedMessage();
}

LRESULT OnNotificationIconMessage(HWND window, UINT message, LPARAM lParam) {
  if (message != WM_NOTIFICATION_ICON) {
    g_icon.added = false;
    if (g_icon.wanted) AddIcon();
    return 0;
  }
  // Version 3: the event is the whole lParam; older shells send mouse
  // messages only.
  const UINT event = static_cast<UINT>(lParam);
  if (event == WM_CONTEXTMENU || event == NIN_KEYSELECT || (event == WM_RBUTTONUP && !g_icon.speaksVersion3))
    ShowIconMenu(window);
  return 0;
}

}  // namespace quillon

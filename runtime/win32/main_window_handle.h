// The runtime's hidden main window, which owns the timers and hot keys.
#pragma once

#include <windows.h>

namespace quillon {

// The runtime's own requests to its main window, posted to itself (the
// private messages that other programs send are in shared/settings_tree.h).
constexpr UINT WM_RUN_HOOK_ACTION = WM_APP + 3;
constexpr UINT WM_OWN_KEYS_MARKER = WM_APP + 4;
// What the shell reports about the notification-area icon (the icon's
// callback message).
constexpr UINT WM_NOTIFICATION_ICON = WM_APP + 5;

HWND MainWindowHandle();
void SetMainWindowHandle(HWND window);

}  // namespace quillon

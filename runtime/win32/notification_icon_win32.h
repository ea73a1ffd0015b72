// The notification-area icon's messages to the runtime's main window.
#pragma once

#include <windows.h>

namespace quillon {

// The icon's number among the runtime's icons (it has one).
inline constexpr UINT kNotificationIconId = 1;

// True for the icon's callback message and for the shell's "TaskbarCreated"
// broadcast; OnNotificationIconMessage handles both.
bool IsNotificationIconMessage(UINT message);
LRESULT OnNotificationIconMessage(HWND window, UINT message, LPARAM lParam);

}  // namespace quillon

// The handle of the runtime's hidden main window, which owns the timers and
// hot keys. The messages it understands are in shared/runtime_messages.h.
#pragma once

#include <windows.h>

namespace quillon {

HWND MainWindowHandle();
void SetMainWindowHandle(HWND window);

}  // namespace quillon

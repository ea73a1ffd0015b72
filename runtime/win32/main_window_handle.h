// The runtime's hidden main window, which owns the timers and hot keys.
#pragma once

#include <windows.h>

namespace quillon {

HWND MainWindowHandle();
void SetMainWindowHandle(HWND window);

}  // namespace quillon

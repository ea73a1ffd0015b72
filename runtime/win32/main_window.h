// The runtime's hidden main window and its about box.
#pragma once

#include <windows.h>

namespace quillon {

// Registers the window class (string 3) and creates the hidden window with
// the title of string 1; nullptr when creation fails.
HWND CreateMainWindow(HINSTANCE instance);

}  // namespace quillon

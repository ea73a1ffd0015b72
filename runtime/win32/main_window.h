// The runtime's hidden main window and its about box.
#pragma once

#include <windows.h>

namespace quillon {

struct Runtime;

// Registers the window class (string 3) and creates the hidden window with
// the title of string 1; nullptr when creation fails. The window's
// procedure runs every step on `runtime`, which must outlive the window.
HWND CreateMainWindow(HINSTANCE instance, Runtime& runtime);

}  // namespace quillon

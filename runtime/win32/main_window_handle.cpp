#include "runtime/win32/main_window_handle.h"

namespace quillon {

namespace {
HWND g_mainWindow = nullptr;
}  // namespace

HWND MainWindowHandle() { return g_mainWindow; }
void SetMainWindowHandle(HWND window) { g_mainWindow = window; }

}  // namespace quillon

// The "Configurations" page's dialog.
#include "configurator/win32/window_win32.h"

namespace quillon {

namespace {
INT_PTR OnInitDialog(HWND page) {
  PreparePage(page);
  return TRUE;
}
}  // namespace

INT_PTR CALLBACK ConfigurationsPageProc(HWND page, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) return OnInitDialog(page);
  return FALSE;
}

}  // namespace quillon

// The "Other settings" page's dialog: clicks go to the page's logic.
#include "configurator/other_settings_page.h"
#include "configurator/resource_ids.h"
#include "configurator/win32/window_win32.h"

namespace quillon {

namespace {
INT_PTR OnInitDialog(HWND page) {
  PreparePage(page);
  SendDlgItemMessageA(page, IDC_txtUltraMap, EM_LIMITTEXT, QUILLON_PATH_FIELD_LIMIT, 0);
  SendDlgItemMessageA(page, IDC_txtUltraParameters, EM_LIMITTEXT, QUILLON_PATH_FIELD_LIMIT, 0);
  return TRUE;
}
}  // namespace

INT_PTR CALLBACK OtherSettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  return PageMessage(page, message, wParam, lParam, OnInitDialog, OnOtherSettingsEvent);
}

}  // namespace quillon

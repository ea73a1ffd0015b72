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

INT_PTR OnCommand(HWND control, int id, int notification) {
  if (std::optional<ControlEvent> event = EventOf(control, notification)) {
    OnOtherSettingsEvent(id, *event);
    return TRUE;
  }
  return FALSE;
}
}  // namespace

INT_PTR CALLBACK OtherSettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(page);
    case WM_COMMAND: return OnCommand(HWND(lParam), LOWORD(wParam), HIWORD(wParam));
    default: return FALSE;
  }
}

}  // namespace quillon

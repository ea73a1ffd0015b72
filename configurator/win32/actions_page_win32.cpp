// The "Actions" page's dialog: clicks and selection changes go to the
// page's logic; the picture buttons get their pictures.
#include "configurator/actions_page.h"
#include "configurator/resource_ids.h"
#include "configurator/win32/window_win32.h"

namespace quillon {

namespace {
// A BS_ICON button keeps its text for screen readers and tool tips and shows
// the small icon instead; the icon is shared and never destroyed.
void SetPicture(HWND page, int buttonId, int iconId) {
  HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                           GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  SendDlgItemMessageA(page, buttonId, BM_SETIMAGE, IMAGE_ICON, LPARAM(icon));
}

INT_PTR OnInitDialog(HWND page) {
  PreparePage(page);
  for (int id : {IDC_txtFinestra, IDC_txtKeySequence, IDC_txtExecutable, IDC_txtParameters})
    SendDlgItemMessageA(page, id, EM_LIMITTEXT, kActionTextLimit, 0);
  SetPicture(page, IDC_cmdNewKey, IDI_PICTURE_NEW_ACTION);
  SetPicture(page, IDC_cmdDeleteKey, IDI_PICTURE_DELETE_ACTION);
  return TRUE;
}

INT_PTR OnCommand(HWND control, int id, int notification) {
  if (std::optional<ControlEvent> event = EventOf(control, notification)) {
    OnActionsPageEvent(id, *event);
    return TRUE;
  }
  return FALSE;
}
}  // namespace

INT_PTR CALLBACK ActionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(page);
    case WM_COMMAND: return OnCommand(HWND(lParam), LOWORD(wParam), HIWORD(wParam));
    default: return FALSE;
  }
}

}  // namespace quillon

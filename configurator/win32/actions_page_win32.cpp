// The "Actions" page's dialog: clicks and selection changes go to the
// page's logic; the picture buttons get their pictures; the live view's
// ticks, its lit boxes and whether the page can be seen.
#include "configurator/actions_page.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/page_ticks.h"
#include "configurator/win32/window_win32.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {
constexpr UINT_PTR kTickTimer = 1;
HWND g_page = nullptr;

// A BS_ICON button keeps its text for screen readers and tool tips and shows
// the small icon instead; the icon is shared and never destroyed.
void SetPicture(HWND page, int buttonId, int iconId) {
  HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                           GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  SendDlgItemMessageA(page, buttonId, BM_SETIMAGE, IMAGE_ICON, LPARAM(icon));
}

INT_PTR OnInitDialog(HWND page) {
  g_page = page;
  PreparePage(page);
  for (int id : {IDC_txtWindowName, IDC_txtKeySequence, IDC_txtExecutable, IDC_txtParameters})
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
// A child window stays "visible" while its top-level window is minimised, so
// both are asked. WM_SHOWWINDOW comes before the visibility changes.
INT_PTR OnShowWindow(bool shown) {
  SetActionsPageOnScreen(shown && !IsIconic(MainWindow()));
  return FALSE;
}

// Check boxes and labels ask for their colours here; a lit one gets the
// selection colours, the others the themed page's own.
INT_PTR OnControlColour(HDC context, HWND control) {
  if (!IsLitControl(control)) return FALSE;
  SetTextColor(context, GetSysColor(COLOR_HIGHLIGHTTEXT));
  SetBkColor(context, GetSysColor(COLOR_HIGHLIGHT));
  return INT_PTR(GetSysColorBrush(COLOR_HIGHLIGHT));
}
}  // namespace

void StartPageTicks(int intervalMs) { SetTimer(g_page, kTickTimer, UINT(intervalMs), nullptr); }
void StopPageTicks() { KillTimer(g_page, kTickTimer); }

// Alt and F10 come as WM_SYSKEYDOWN. Taken before the dialog manager sees
// them, a key-down never turns into an access key, a default button or a
// character; its key-up passes harmlessly. GetKeyState answers as of this
// message.
bool TakenByPressToSet(const MSG& message) {
  if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) || !ActionsPageWaitsForAPress()) return false;
  int modifiers = 0;
  if (GetKeyState(VK_MENU) < 0) modifiers |= ModifierAlt;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= ModifierCtrl;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= ModifierShift;
  if (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0) modifiers |= ModifierWin;
  return OnKeyWhileActionsPageWaits(int(message.wParam), modifiers);
}

void ActionsPageWindowSized() {
  if (g_page != nullptr) SetActionsPageOnScreen(IsWindowVisible(g_page) && !IsIconic(MainWindow()));
}

INT_PTR CALLBACK ActionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(page);
    case WM_COMMAND: return OnCommand(HWND(lParam), LOWORD(wParam), HIWORD(wParam));
    case WM_SHOWWINDOW: return OnShowWindow(wParam != FALSE);
    case WM_TIMER:
      if (wParam == kTickTimer) OnActionsPageTick();
      return TRUE;
    case WM_CTLCOLORSTATIC: return OnControlColour(HDC(wParam), HWND(lParam));
    default: return FALSE;
  }
}

}  // namespace quillon

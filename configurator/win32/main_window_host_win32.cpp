// The configurator's main window: a modeless dialog from its template, with
// the four pages as child dialogs over the tab control's display area and a
// message loop of its own, so F1 reaches the window before any control.
#include <windows.h>
#include <commctrl.h>

#include <array>

#include "configurator/main_window.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/main_window_host.h"
#include "configurator/win32/window_win32.h"

namespace quillon {

namespace {
struct PageTemplate {
  int templateId;
  DLGPROC procedure;
};
constexpr std::array<PageTemplate, kPageCount> kPages = {{
    {IDD_PAGE_CONFIGURATIONS, ConfigurationsPageProc},
    {IDD_PAGE_ACTIONS, ActionsPageProc},
    {IDD_PAGE_OTHER_SETTINGS, OtherSettingsPageProc},
    {IDD_PAGE_ABOUT, DisplayPageProc},
}};

// The window and its pages, each made when first shown.
struct MainWindowParts {
  HWND main = nullptr;
  std::array<HWND, kPageCount> pages = {};
};
MainWindowParts g_window;

// Set once the window shows: the rest of the start waits until the window has
// been seen and the user has had a moment. Whatever needs the entries earlier
// reads them first.
constexpr UINT_PTR kFinishStartTimer = 1;
constexpr UINT kFinishStartDelayMs = 300;

HWND Tab() { return GetDlgItem(g_window.main, IDC_SSTab1); }
int ShownPage() { return int(SendMessageA(Tab(), TCM_GETCURSEL, 0, 0)); }

// A page is made when first shown, after the pages before it in z-order, so
// Tab moves from the tabs into the page shown and on to Apply, in reading
// order. Made late, its tool tips are added and it is filled from the model.
void MakePage(int index) {
  if (g_window.pages[size_t(index)] != nullptr) return;
  HWND tab = Tab();
  RECT area;
  GetWindowRect(tab, &area);
  MapWindowPoints(nullptr, g_window.main, reinterpret_cast<POINT*>(&area), 2);
  SendMessageA(tab, TCM_ADJUSTRECT, FALSE, LPARAM(&area));
  HWND previous = tab;
  for (int i = 0; i < index; ++i)
    if (g_window.pages[size_t(i)] != nullptr) previous = g_window.pages[size_t(i)];
  const PageTemplate& page = kPages[size_t(index)];
  HWND made = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(page.templateId), g_window.main,
                                 page.procedure, 0);
  SetWindowPos(made, previous, area.left, area.top, area.right - area.left, area.bottom - area.top, SWP_NOACTIVATE);
  AddControlParent(made);
  g_window.pages[size_t(index)] = made;
  if (index == 0) return;  // the window's load fills the first page; its tips come after it shows
  AddToolTips(made);
  FillMadePage(index);
}

void MakeEveryPage() {
  // "Other settings" first: the live view of "Actions" follows its
  // controller.
  MakePage(kOtherSettingsPage);
  for (int i = 0; i < kPageCount; ++i) MakePage(i);
}

void ShowPage(int shown) {
  if (shown == kActionsPage) MakePage(kOtherSettingsPage);
  if (shown >= 0 && shown < kPageCount) MakePage(shown);
  for (int i = 0; i < kPageCount; ++i)
    if (g_window.pages[size_t(i)] != nullptr) ShowWindow(g_window.pages[size_t(i)], i == shown ? SW_SHOW : SW_HIDE);
}

// The tabs, and the first page only: the others are made when first shown.
void CreatePages(HWND window) {
  HWND tab = GetDlgItem(window, IDC_SSTab1);
  for (int i = 0; i < kPageCount; ++i) {
    TCITEMA item;
    ZeroMemory(&item, sizeof item);
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kPageCaptions[i]);
    SendMessageA(tab, TCM_INSERTITEMA, WPARAM(i), LPARAM(&item));
  }
  MakePage(0);
}

void SetIcons(HWND window) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto icon = [&](int metricX, int metricY) {
    return LPARAM(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLON_CONFIG), IMAGE_ICON, GetSystemMetrics(metricX),
                             GetSystemMetrics(metricY), LR_DEFAULTCOLOR));
  };
  SendMessageA(window, WM_SETICON, ICON_BIG, icon(SM_CXICON, SM_CYICON));
  SendMessageA(window, WM_SETICON, ICON_SMALL, icon(SM_CXSMICON, SM_CYSMICON));
}

INT_PTR OnInitDialog(HWND window) {
  g_window.main = window;
  AddControlParent(window);
  SetIcons(window);
  CreatePages(window);
  ShowPage(0);
  return TRUE;
}

// What the window did not need to show: tool tips, and the entries.
INT_PTR OnTimer(UINT_PTR timer) {
  if (timer != kFinishStartTimer) return FALSE;
  KillTimer(g_window.main, kFinishStartTimer);
  AddToolTips(g_window.main);  // and the pages made so far
  OnMainWindowShown();
  return TRUE;
}

INT_PTR OnCommand(int id, int notification) {
  // Enter and Escape reach a dialog as IDOK and IDCANCEL; this window has
  // neither, and leaves only by Exit or its close box.
  if (id == IDOK || id == IDCANCEL) return TRUE;
  if (notification == 0 || notification == BN_CLICKED) {
    // Apply, Save, Reload and the rest read or set every page.
    MakeEveryPage();
    if (OnMainWindowCommand(id)) DestroyWindow(g_window.main);
    return TRUE;
  }
  return FALSE;
}

INT_PTR OnNotify(const NMHDR* header) {
  if (header->idFrom == IDC_SSTab1 && header->code == TCN_SELCHANGE) ShowPage(ShownPage());
  return FALSE;
}

// A second start of the configurator sends this to the open window: bring
// it back to the user, restored if it was minimised.
INT_PTR OnSetFocus(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return FALSE;
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_SETFOCUS: return OnSetFocus(window);
    case WM_SIZE: ActionsPageWindowSized(); return FALSE;
    case WM_TIMER: return OnTimer(wParam);
    case WM_CLOSE: DestroyWindow(window); return TRUE;
    case WM_DESTROY: PostQuitMessage(0); return TRUE;
    default: return FALSE;
  }
}

// Ctrl+Tab and Ctrl+Page Down show the next page, with Shift or Page Up the
// previous one, as in every tabbed dialog of Windows; 0 for other keys.
int PageStep(const MSG& message) {
  if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 ||
      (message.hwnd != g_window.main && !IsChild(g_window.main, message.hwnd)))
    return 0;
  if (message.wParam == VK_TAB) return GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
  if (message.wParam == VK_NEXT) return 1;
  if (message.wParam == VK_PRIOR) return -1;
  return 0;
}

// Through the tab control, so that the page changes as by a click.
void StepPage(int step) {
  SendMessageA(Tab(), TCM_SETCURFOCUS, WPARAM((ShownPage() + step + kPageCount) % kPageCount), 0);
}

bool IsHelpKey(const MSG& message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_F1 &&
         (message.hwnd == g_window.main || IsChild(g_window.main, message.hwnd));
}
}  // namespace

HWND MainWindow() { return g_window.main; }
bool PageExists(int page) { return page >= 0 && page < kPageCount && g_window.pages[size_t(page)] != nullptr; }
void* MainWindowHandle() { return g_window.main; }

int RunMainWindow() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  if (CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0) == nullptr)
    return 1;
  LoadMainWindow();
  ShowWindow(g_window.main, SW_SHOW);
  SetTimer(g_window.main, kFinishStartTimer, kFinishStartDelayMs, nullptr);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (TakenByPressToSet(message)) continue;
    // F1 never reaches a control: the window opens the help of the page
    // shown (a dialog would otherwise turn it into WM_HELP).
    if (IsHelpKey(message)) {
      OnHelpKey(ShownPage());
      continue;
    }
    if (int step = PageStep(message)) {
      StepPage(step);
      continue;
    }
    if (IsDialogMessageA(g_window.main, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  ForgetControlParents();
  g_window = {};
  return 0;
}

}  // namespace quillon

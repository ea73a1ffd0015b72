// Helpers every page of the window uses: the themed page background, tool
// tips from the string table, and naming notifications.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include "configurator/win32/window_win32.h"
#include "shared/win32/system_libraries.h"

namespace quillon {

namespace {
HWND g_toolTips = nullptr;

BOOL CALLBACK AddToolTipOf(HWND control, LPARAM) {
  char text[512];
  const int id = GetDlgCtrlID(control);
  if (id <= 0 || LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text) <= 0) return TRUE;
  TOOLINFOA tool;
  ZeroMemory(&tool, sizeof tool);
  // The size of the structure that comctl32 5 knew, which version 6 accepts
  // too; the full size would be refused by an older library.
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  // TTF_SUBCLASS: the tool tip watches the control's mouse messages itself,
  // so no relaying is needed in the message loop.
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = UINT_PTR(control);
  // Once per control, whichever window's tips were added first.
  if (SendMessageA(g_toolTips, TTM_GETTOOLINFOA, 0, LPARAM(&tool))) return TRUE;
  tool.lpszText = text;  // copied by the tool tip
  SendMessageA(g_toolTips, TTM_ADDTOOLA, 0, LPARAM(&tool));
  return TRUE;
}
}  // namespace

void PreparePage(HWND page) {
  // The tab control's themed body shows through the page, as in property
  // sheets. uxtheme.dll is not a protected library, so it comes from the
  // system folder at run time; without it the page keeps the plain colour.
  using EnableTextureFunction = HRESULT(WINAPI*)(HWND, DWORD);
  static const auto enableTexture =
      LibraryFunction<EnableTextureFunction>(LoadSystemLibrary(L"uxtheme.dll"), "EnableThemeDialogTexture");
  if (enableTexture != nullptr) enableTexture(page, ETDT_ENABLETAB);
}

void AddToolTips(HWND window) {
  if (g_toolTips == nullptr) {
    g_toolTips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    // Long tips wrap instead of running across the screen.
    SendMessageA(g_toolTips, TTM_SETMAXTIPWIDTH, 0, 360);
  }
  EnumChildWindows(window, AddToolTipOf, 0);
}

INT_PTR CALLBACK DisplayPageProc(HWND page, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  PreparePage(page);
  return TRUE;
}

INT_PTR PageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR (*onInit)(HWND page),
                    void (*onEvent)(int id, ControlEvent event)) {
  if (message == WM_INITDIALOG) return onInit(page);
  if (message != WM_COMMAND) return FALSE;
  std::optional<ControlEvent> event = EventOf(HWND(lParam), HIWORD(wParam));
  if (event) onEvent(LOWORD(wParam), *event);
  return event ? TRUE : FALSE;
}

std::optional<ControlEvent> EventOf(HWND control, int notification) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  if (lstrcmpiA(name, "Button") == 0 && notification == BN_CLICKED) return ControlEvent::Click;
  if (lstrcmpiA(name, "ComboBox") == 0 && notification == CBN_SELCHANGE) return ControlEvent::SelectionChange;
  if (lstrcmpiA(name, "Edit") == 0 && notification == EN_CHANGE) return ControlEvent::TextChange;
  if (lstrcmpiA(name, "ListBox") == 0) {
    if (notification == LBN_SELCHANGE) return ControlEvent::SelectionChange;
    if (notification == LBN_DBLCLK) return ControlEvent::DoubleClick;
  }
  return std::nullopt;
}

}  // namespace quillon

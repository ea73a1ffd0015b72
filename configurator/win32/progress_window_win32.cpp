// The progress window: a modeless dialog that acts as a modal one. The
// reading runs on the window's own thread, and each step empties the
// thread's message queue, so the window paints and hears Cancel, and the
// main window repaints, between pieces of a few milliseconds each.
#include <windows.h>
#include <commctrl.h>

#include "configurator/resource_ids.h"
#include "configurator/seams/main_window_host.h"
#include "configurator/seams/progress_window.h"

namespace quillon {

namespace {
// The bar's range: a progress bar's position is a 16-bit number in older
// common controls, too small for a file's bytes.
constexpr int kBarSteps = 1000;

struct ProgressWindow {
  HWND dialog = nullptr;
  HWND owner = nullptr;
  bool cancelled = false;
  int shownStep = -1;
};
ProgressWindow g_progress;

// Cancel, Escape and the close box all come as IDCANCEL.
INT_PTR CALLBACK ProgressProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    g_progress.cancelled = true;
    return TRUE;
  }
  return FALSE;
}
}  // namespace

void OpenProgressWindow(const std::string& text) {
  g_progress = {};
  g_progress.owner = HWND(MainWindowHandle());
  g_progress.dialog =
      CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROGRESS), g_progress.owner, ProgressProc, 0);
  if (g_progress.dialog == nullptr) return;
  SetDlgItemTextA(g_progress.dialog, IDC_labProgress, text.c_str());
  SendDlgItemMessageA(g_progress.dialog, IDC_barProgress, PBM_SETRANGE32, 0, kBarSteps);
  // As a modal dialog does: the owner takes no clicks or keys meanwhile.
  if (g_progress.owner != nullptr) EnableWindow(g_progress.owner, FALSE);
  ShowWindow(g_progress.dialog, SW_SHOW);
  UpdateWindow(g_progress.dialog);
}

bool StepProgress(uint64_t done, uint64_t size) {
  if (g_progress.dialog == nullptr) return true;
  const int step = size == 0 ? 0 : int(done * kBarSteps / size);
  if (step != g_progress.shownStep) {
    g_progress.shownStep = step;
    SendDlgItemMessageA(g_progress.dialog, IDC_barProgress, PBM_SETPOS, WPARAM(step), 0);
  }
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    // A quit asked meanwhile belongs to the main loop: it is put back and
    // ends the reading.
    if (message.message == WM_QUIT) {
      PostQuitMessage(int(message.wParam));
      g_progress.cancelled = true;
      break;
    }
    if (IsDialogMessageA(g_progress.dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return !g_progress.cancelled;
}

void CloseProgressWindow() {
  if (g_progress.dialog == nullptr) return;
  // The owner is enabled before its owned window goes: destroyed first, the
  // system would give the activation to another program's window, since a
  // disabled window cannot take it.
  if (g_progress.owner != nullptr) EnableWindow(g_progress.owner, TRUE);
  DestroyWindow(g_progress.dialog);
  g_progress = {};
}

}  // namespace quillon

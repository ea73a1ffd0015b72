// The "Configurations" page's dialog: clicks and double-clicks go to the
// page's logic, and so do files dropped on the available list.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "configurator/configurations_page.h"
#include "configurator/main_window.h"
#include "configurator/resource_ids.h"
#include "configurator/win32/window_win32.h"
#include "shared/games_list.h"

namespace quillon {

namespace {
constexpr UINT_PTR kDropTargetSubclass = 1;

// The paths of a drop, as the shell hands them over. The configurator
// works in the ANSI code page throughout, so the paths are read in it too.
std::vector<std::string> DroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(size_t(length) + 1, '\0');
    path.resize(DragQueryFileA(drop, i, path.data(), length + 1));
    paths.push_back(path);
  }
  return paths;
}

// The drop's memory is released before the questions of the import: the
// source has long finished its part.
LRESULT OnDropFiles(HDROP drop) {
  const std::vector<std::string> paths = DroppedPaths(drop);
  DragFinish(drop);
  OnFilesDropped(paths);
  return 0;
}

// WM_DROPFILES goes to the window that accepted the files, here the list
// itself and not its dialog, so the list is subclassed to hear it.
LRESULT CALLBACK DropTargetProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_DROPFILES) return OnDropFiles(HDROP(wParam));
  if (message == WM_NCDESTROY) RemoveWindowSubclass(list, DropTargetProc, kDropTargetSubclass);
  return DefSubclassProc(list, message, wParam, lParam);
}

// A picture button shows its icon; its window text stays the tool tip's
// text, which screen readers read as its name.
void SetButtonPicture(HWND page, int buttonId, int iconId) {
  const int size = GetSystemMetrics(SM_CXSMICON);
  HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size,
                           LR_DEFAULTCOLOR | LR_SHARED);
  SendDlgItemMessageA(page, buttonId, BM_SETIMAGE, IMAGE_ICON, LPARAM(icon));
}

INT_PTR OnInitDialog(HWND page) {
  PreparePage(page);
  SetButtonPicture(page, IDC_cmdUp, IDI_PICTURE_UP);
  SetButtonPicture(page, IDC_cmdDown, IDI_PICTURE_DOWN);
  HWND available = GetDlgItem(page, IDC_lstAvailableConfigs);
  SetWindowSubclass(available, DropTargetProc, kDropTargetSubclass, 0);
  DragAcceptFiles(available, TRUE);
  // An edit field takes about 32,000 typed characters unless told more; the
  // lists that a MAME import fills run longer, and the runtime reads up to
  // kGamesListMaxBytes of a file.
  SendDlgItemMessageA(page, IDC_txtConfigGames, EM_SETLIMITTEXT, WPARAM(kGamesListMaxBytes), 0);
  return TRUE;
}
}  // namespace

INT_PTR CALLBACK ConfigurationsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  return PageMessage(page, message, wParam, lParam, OnInitDialog, OnConfigurationsPageEvent);
}

}  // namespace quillon

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "configurator/seams/file_dialog.h"
#include "shared/win32/system_libraries.h"

namespace quillon {

bool AskForFile(const FileDialogOptions& options, std::string* path) {
  // The filter is pairs of NUL-ended texts, ended by one more NUL.
  std::string filter;
  for (const auto& [description, pattern] : options.filters) filter += description + '\0' + pattern + '\0';
  filter += '\0';
  // The dialog writes the chosen path over the initial name and ends it with
  // a NUL; what lies behind that NUL is the rest of the initial name.
  std::vector<char> file(4096, '\0');
  options.initialFileName.copy(file.data(), file.size() - 1);

  OPENFILENAMEA dialog;
  ZeroMemory(&dialog, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(options.owner);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = DWORD(file.size());
  dialog.lpstrDefExt = options.defaultExtension.empty() ? nullptr : options.defaultExtension.c_str();
  dialog.lpstrTitle = options.title.c_str();
  dialog.lpstrInitialDir = options.initialFolder.empty() ? nullptr : options.initialFolder.c_str();
  dialog.Flags = OFN_LONGNAMES | OFN_EXPLORER |
                 (options.kind == FileDialogKind::Save ? OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT
                                                       : OFN_NODEREFERENCELINKS | OFN_CREATEPROMPT);
  // Loaded on the first Browse: imported, comdlg32 and the libraries it
  // brings along cost every start of the configurator some 8 ms under Wine,
  // for a dialog that most starts never open.
  using OpenFileName = BOOL(WINAPI*)(OPENFILENAMEA*);
  static const auto openFileName =
      LibraryFunction<OpenFileName>(LoadSystemLibrary(L"comdlg32.dll"), "GetOpenFileNameA");
  // The same dialog serves loading and saving, as it always has.
  if (openFileName == nullptr || !openFileName(&dialog)) return false;
  *path = file.data();
  return !path->empty();
}

}  // namespace quillon

#include "shared/win32/system_libraries.h"

#include <cwchar>

namespace quillon {

void LoadLibrariesFromSystemFolderOnly() {
  // SetDefaultDllDirectories came with Windows 8 and, for Windows 7, with
  // update KB2533623: looked up, so that the program still starts without it.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  auto restrict =
      LibraryFunction<SetDefaultDllDirectoriesFunction>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (restrict != nullptr&& restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Without it the program's folder stays in the search; an empty library
  // folder at least takes the current one out. Every library this program
  // loads itself goes by full path anyway.
  SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + 1 + std::wcslen(name) >= MAX_PATH) return nullptr;
  path[length] = L'\\';
  std::wcscpy(path + length + 1, name);
  // A full path is never looked for anywhere else; what the library imports
  // in turn follows the restricted search.
  return LoadLibraryExW(path, nullptr, 0);
}

}  // namespace quillon

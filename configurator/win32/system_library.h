// Libraries that the configurator loads only when it needs them (the help
// viewer, DirectInput) come from the system folder by full path: the
// program's own folder, the current directory and PATH may hold a file of the
// same name that anyone could have put there.
#pragma once

#include <windows.h>

#include <string>

namespace quillon {

// The library `name` (such as L"hhctrl.ocx") from the system folder, or null.
// Its own dependencies are searched in the system folder too where Windows
// knows LOAD_LIBRARY_SEARCH_SYSTEM32 (Windows 8, or 7 with KB2533623); older
// systems refuse that flag with ERROR_INVALID_PARAMETER and load by path alone.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  path += L'\\';
  path += name;
  HMODULE library = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
    library = LoadLibraryExW(path.c_str(), nullptr, 0);
  return library;
}

// An exported function of `library` as the given pointer type, or null. The
// detour through a parameterless function type keeps GCC's cast check quiet:
// FARPROC does not match the real signature.
template <typename Function>
Function LibraryFunction(HMODULE library, const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace quillon

// Libraries from the system folder only. The runtime lives in a folder where
// every user may create files, and Windows looks for a library first in the
// program's own folder unless it is one of the few it always protects (the
// KnownDLLs: kernel32, user32, gdi32, advapi32, shell32, ole32, comdlg32,
// psapi, msvcrt ...). So both programs import only those, restrict the search
// as the first thing they do, and load every other library at run time by
// its full path in the system folder.
#pragma once

#include <windows.h>

namespace quillon {

// Later searches for a library by name look in the system folder only (and
// never in the current folder, where Windows without the search-path update
// would still look).
void LoadLibrariesFromSystemFolderOnly();

// The library of that name in the system folder, or nullptr. Kept loaded for
// the process's life.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a loaded library as the type it has, or nullptr. The detour
// through void (*)() keeps -Wcast-function-type quiet: GetProcAddress's own
// FARPROC type matches no real function.
template <typename Function>
Function LibraryFunction(HMODULE library, const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace quillon

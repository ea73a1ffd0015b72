// The configurator's version from its own version resource.
#include <windows.h>

#include <vector>

#include "configurator/seams/program_version.h"

namespace quillon {

ProgramVersion OwnProgramVersion() {
  ProgramVersion version;
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return version;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return version;
  std::vector<char> block(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!GetFileVersionInfoA(path, 0, size, block.data()) ||
      !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      fixedSize < sizeof(VS_FIXEDFILEINFO))
    return version;
  version.major = int(HIWORD(fixed->dwFileVersionMS));
  version.minor = int(LOWORD(fixed->dwFileVersionMS));
  return version;
}

}  // namespace quillon

// The configurator's version from its own version resource.
#include <windows.h>

#include <cstring>

#include "configurator/seams/program_version.h"

namespace quillon {

ProgramVersion OwnProgramVersion() {
  ProgramVersion version;
  // The resource is read in place rather than through GetFileVersionInfo:
  // version.dll is not among the libraries Windows protects, and the program
  // imports none that could be planted beside it. The fixed part of the
  // block starts with its signature after the block's name and padding.
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
  if (found == nullptr) return version;
  const DWORD size = SizeofResource(nullptr, found);
  HGLOBAL loaded = LoadResource(nullptr, found);
  const auto* block = static_cast<const unsigned char*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (block == nullptr) return version;
  for (DWORD offset = 0; offset + sizeof(VS_FIXEDFILEINFO) <= size; offset += 4) {
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, block + offset, sizeof fixed);
    if (fixed.dwSignature != 0xFEEF04BD) continue;
    version.major = int(HIWORD(fixed.dwFileVersionMS));
    version.minor = int(LOWORD(fixed.dwFileVersionMS));
    break;
  }
  return version;
}

}  // namespace quillon

// Special folders and the Windows version, with the numbered errors that the
// configurator shows in a message box when a folder cannot be had.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillon {

struct AppError : std::runtime_error {
  AppError(uint32_t number, std::string source, const std::string& text)
      : std::runtime_error(text), number(number), source(std::move(source)) {}
  uint32_t number;
  std::string source;
};

inline constexpr uint32_t kErrOsVersion = 0x8004B106;
inline constexpr uint32_t kErrPathMissing = 0x8004B112;
inline constexpr uint32_t kErrPathInvalidId = 0x8004B114;
inline constexpr uint32_t kErrPathSystem = 0x8004B116;
inline constexpr uint32_t kErrSubDirNeedsXp = 0x8004B120;
inline constexpr uint32_t kErrSubDirMissing = 0x8004B122;
inline constexpr uint32_t kErrSubDirInvalidId = 0x8004B124;
inline constexpr uint32_t kErrSubDirSystem = 0x8004B126;

namespace AppEx {

// The folder of a special-folder id; `create` asks the system to create it.
// Throws AppError.
std::string Path(int pathId, bool create, uint32_t flags);
// The path of `subFolder` below a special folder. Throws AppError.
std::string PathAndSubDir(int pathId, const std::string& subFolder, bool create, uint32_t flags);
// major.minor of Windows (5.1 for XP). Throws AppError when the version
// could not be read at start.
float OSVersion();
// Forgets the version read, so the next use reads it again.
void ResetForTests();

}  // namespace AppEx

bool PathExists(const std::string& path);

}  // namespace quillon

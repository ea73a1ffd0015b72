// Special folders, with the numbered errors that the configurator shows in a
// message box when a folder cannot be had.
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

inline constexpr uint32_t kErrPathMissing = 0x8004B112;
inline constexpr uint32_t kErrPathInvalidId = 0x8004B114;
inline constexpr uint32_t kErrPathSystem = 0x8004B116;
inline constexpr uint32_t kErrDataFolderNotMade = 0x8004B118;

namespace AppEx {

// The folder of a special-folder id; `create` asks the system to create it.
// Throws AppError.
std::string Path(int pathId, bool create, uint32_t flags);

}  // namespace AppEx

bool PathExists(const std::string& path);

}  // namespace quillon

// The Windows special folders and the system folder.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// Special-folder ids the configurator uses (CSIDL_*).
inline constexpr int kFolderPrograms = 2;
inline constexpr int kFolderStartup = 7;
inline constexpr int kFolderDesktopDirectory = 16;
inline constexpr int kFolderCommonAppData = 35;
inline constexpr int kFolderProgramFiles = 38;
inline constexpr int kFolderProgramFilesX86 = 42;
inline constexpr int kFolderFlagCreate = 0x8000;

// The folder of an id (the flag kFolderFlagCreate creates it): the shell's
// result code (0 success, 1 "valid id but no folder", 0x80070057 "invalid
// id", anything else) and, on success, the path.
long FolderPath(int folderId, uint32_t flags, std::string* path);
// The folder of an id asked on behalf of `owner`; false when it cannot be had.
bool SpecialFolderLocation(void* owner, int folderId, std::string* path);
// The Windows system folder; false when it cannot be read.
bool SystemFolder(std::string* path);

}  // namespace quillon

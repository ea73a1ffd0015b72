// Shell services of the configurator: special folders, the Windows version,
// the system folder, shell links and the open-file dialog.
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

// SHGetFolderPathA: the result code (0 success, 1 "valid id but no folder",
// 0x80070057 "invalid id", anything else) and, on success, the path.
long FolderPath(int folderId, uint32_t flags, std::string* path);
// SHGetFolderPathAndSubDirA, likewise.
long FolderPathAndSubDir(int folderId, uint32_t flags, const std::string& subFolder, std::string* path);
// SHGetSpecialFolderLocation + SHGetPathFromIDListA on behalf of `owner`.
bool SpecialFolderLocation(void* owner, int folderId, std::string* path);

struct OsVersionInfo {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platform = 0;
  std::string servicePack;
};
// False with the system's error code when the version cannot be read.
bool ReadOsVersion(OsVersionInfo* version, uint32_t* errorCode);

// GetSystemDirectoryA; false when it fails.
bool SystemFolder(std::string* path);

struct ShellLinkSpec {
  std::string linkPath;
  std::string target;
  std::string workingFolder;
  std::string arguments;
  std::string iconFile;
  int iconIndex = 0;
  int showCommand = 0;
};
// Writes the link file; false on any failure.
bool SaveShellLink(const ShellLinkSpec& link);

// The parameter block of the system's open-file dialog. `fileBuffer` is both
// the initial name and, on return, the dialog's answer.
struct OpenFileDialogBlock {
  std::string filter;  // description NUL pattern NUL ..., then one more NUL
  int filterIndex = 1;
  std::string fileBuffer;
  std::string fileTitleBuffer;
  std::string defaultExtension;
  std::string title;
  std::string initialFolder;
  uint32_t flags = 0;
  void* owner = nullptr;
};
// GetOpenFileNameA: false on cancel or failure.
bool RunOpenFileDialog(OpenFileDialogBlock* block);

}  // namespace quillon

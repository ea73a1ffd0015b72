// Small services over the operating system: file tests, the system and
// special folders, the open-file dialog and shell links. None of them shows a
// message; failures come back as results.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// True when a directory search finds the path (wildcards match; hidden and
// system files are not found). Any error gives false.
bool FileExists(const std::string& path);
// The Windows system folder, or "" when it cannot be read.
std::string GetSystemFolder();
// True with the folder's path (blanks trimmed) when it can be had; an empty
// answer leaves `path` as it was.
bool GetSpecialFolder(void* owner, int folderId, std::string* path);
// Deletes a file, ignoring every error.
void RemoveFile(const std::string& path);

struct FileDialogOptions {
  std::string filter;  // description NUL pattern NUL pairs
  int filterIndex = 1;
  std::string initialFileName;
  std::string defaultExtension;
  std::string title;
  std::string initialFolder;
  uint32_t flags = 0;
  void* owner = nullptr;
};
struct FileDialogChoice {
  std::string folder;  // ends with "\" for a single choice
  std::vector<std::string> fileNames;
};
// The system's open-file dialog. False on cancel, with no names.
bool ShowFileDialog(const FileDialogOptions& options, FileDialogChoice* choice);

// Open-file dialog options.
inline constexpr uint32_t kOfnOverwritePrompt = 0x2;
inline constexpr uint32_t kOfnHideReadOnly = 0x4;
inline constexpr uint32_t kOfnCreatePrompt = 0x2000;
inline constexpr uint32_t kOfnExplorer = 0x80000;
inline constexpr uint32_t kOfnNoDereferenceLinks = 0x100000;
inline constexpr uint32_t kOfnLongNames = 0x200000;

// Writes a shell link; false when the link path or target is empty or the
// link could not be saved.
bool CreateShortcut(const std::string& linkPath, const std::string& target, const std::string& workingFolder,
                    const std::string& arguments, const std::string& iconFile, int iconIndex, int showCommand);

}  // namespace quillon

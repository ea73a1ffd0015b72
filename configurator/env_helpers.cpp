#include "configurator/env_helpers.h"

#include "configurator/path_helpers.h"
#include "configurator/seams/file_system.h"
#include "configurator/seams/shell_services.h"

namespace quillon {

bool FileExists(const std::string& path) { return !path.empty() && FindFirstEntry(path); }

std::string GetSystemFolder() {
  std::string folder;
  if (!SystemFolder(&folder)) return std::string();
  return folder.substr(0, folder.find('\0'));
}

bool GetSpecialFolder(void* owner, int folderId, std::string* path) {
  std::string found;
  if (!SpecialFolderLocation(owner, folderId, &found)) return false;
  found = TrimBlanks(found.substr(0, found.find('\0')));
  if (!found.empty()) *path = found;
  return true;
}

void RemoveFile(const std::string& path) {
  if (!path.empty()) DeleteFileAt(path);
}

bool ShowFileDialog(const FileDialogOptions& options, FileDialogChoice* choice) {
  *choice = FileDialogChoice{};
  OpenFileDialogBlock block;
  block.filter = options.filter + std::string(2, '\0');
  block.filterIndex = options.filterIndex;
  block.fileBuffer = options.initialFileName + std::string(4096, ' ') + std::string(2, '\0');
  block.fileTitleBuffer = std::string(512, ' ');
  block.defaultExtension = options.defaultExtension + std::string(2, '\0');
  block.title = options.title;
  block.initialFolder = options.initialFolder + std::string(2, '\0');
  block.flags = options.flags;
  block.owner = options.owner;
  if (!RunOpenFileDialog(&block)) return false;

  std::string answer = block.fileBuffer;
  answer = TrimBlanks(answer.size() >= 2 ? answer.substr(0, answer.size() - 2) : std::string());
  // The answer is a NUL-separated list: the folder, then one name per file
  // (or a single full path). Leftovers of under four characters are the
  // list's terminators, not names.
  std::vector<std::string> parts;
  while (answer.size() >= 4) {
    size_t end = answer.find('\0');
    std::string part = answer.substr(0, end);
    answer = end == std::string::npos ? std::string() : answer.substr(end + 1);
    if (!part.empty()) parts.push_back(part);
  }
  if (parts.empty()) return false;
  if (parts.size() == 1) {
    choice->folder = FolderOf(parts[0]);
    choice->fileNames.push_back(FileNameOf(parts[0]));
  } else {
    choice->folder = parts[0];
    choice->fileNames.assign(parts.begin() + 1, parts.end());
  }
  return true;
}

bool CreateShortcut(const std::string& linkPath, const std::string& target, const std::string& workingFolder,
                    const std::string& arguments, const std::string& iconFile, int iconIndex, int showCommand) {
  if (linkPath.empty() || target.empty()) return false;
  ShellLinkSpec link;
  link.linkPath = linkPath;
  link.target = target;
  link.workingFolder = workingFolder;
  link.arguments = arguments;
  link.iconFile = iconFile;
  link.iconIndex = iconIndex;
  link.showCommand = showCommand;
  return SaveShellLink(link);
}

}  // namespace quillon

#include "configurator/system_services.h"

#include "configurator/path_helpers.h"
#include "configurator/seams/file_system.h"
#include "configurator/seams/main_window_host.h"
#include "configurator/seams/shortcuts.h"

namespace quillon {

bool FileExists(const std::string& path) { return !path.empty() && FindFirstEntry(path); }

bool HasWildcards(const std::string& path) { return path.find_first_of("*?") != std::string::npos; }

std::string GetSystemFolder() {
  std::string folder;
  if (!SystemFolder(&folder)) return std::string();
  return UpToFirstZero(folder);
}

bool GetSpecialFolder(void* owner, int folderId, std::string* path) {
  std::string found;
  if (!SpecialFolderLocation(owner, folderId, &found)) return false;
  found = TrimBlanks(UpToFirstZero(found));
  if (!found.empty()) *path = found;
  return true;
}

void RemoveFile(const std::string& path) {
  if (!path.empty()) DeleteFileAt(path);
}

bool ShowFileDialog(const FileDialogOptions& options, std::string* path) {
  // The dialog appends the default extension itself and wants it without
  // its period; a wildcard extension would be appended literally.
  FileDialogOptions asked = options;
  std::string& extension = asked.defaultExtension;
  if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
  if (HasWildcards(extension)) extension.clear();
  path->clear();
  return AskForFile(asked, path) && !path->empty();
}

FileDialogOptions ProgramDialogOptions(const std::string& currentPath) {
  const std::string current = TrimBlanks(currentPath);
  FileDialogOptions options;
  options.kind = FileDialogKind::Open;
  options.filters = {{"EXE files", "*.exe"}};
  if (!current.empty()) {
    options.initialFileName = FileNameOf(current);
    options.initialFolder = FolderOf(current);
  }
  options.defaultExtension = ".exe";
  options.title = "Select executable";
  options.owner = MainWindowHandle();
  return options;
}

bool CreateShortcut(const std::string& linkPath, const std::string& target, const std::string& workingFolder,
                    const std::string& arguments, const std::string& iconFile, int iconIndex, int showCommand) {
  if (linkPath.empty() || target.empty()) return false;
  return SaveShellLink({linkPath, target, workingFolder, arguments, iconFile, iconIndex, showCommand});
}

}  // namespace quillon

// Small services over the operating system: file tests, the system and
// special folders, the file dialog and shell links. None of them shows a
// message; failures come back as results.
#pragma once

#include <string>

#include "configurator/seams/file_dialog.h"
#include "configurator/seams/shell_folders.h"

namespace quillon {

// True when a directory search finds the path (wildcards match; hidden and
// system files are not found). Any error gives false.
bool FileExists(const std::string& path);
// True when the path holds "*" or "?", which name no one file.
bool HasWildcards(const std::string& path);
// The Windows system folder, or "" when it cannot be read.
std::string GetSystemFolder();
// True with the folder's path (blanks trimmed) when it can be had; an empty
// answer leaves `path` as it was.
bool GetSpecialFolder(void* owner, int folderId, std::string* path);
// Deletes a file, ignoring every error.
void RemoveFile(const std::string& path);

// The file dialog; true with the chosen path, false on cancel. The default
// extension may be given with its period (".qlf"); ".*" means none.
bool ShowFileDialog(const FileDialogOptions& options, std::string* path);
// The open dialog's options for choosing a program (".exe"), owned by the
// main window and starting at the program that `currentPath` names, if any.
FileDialogOptions ProgramDialogOptions(const std::string& currentPath);

// Writes a shell link; false when the link path or target is empty or the
// link could not be saved.
bool CreateShortcut(const std::string& linkPath, const std::string& target, const std::string& workingFolder,
                    const std::string& arguments, const std::string& iconFile, int iconIndex, int showCommand);

}  // namespace quillon

// Scriptable fakes of the configurator's shell services (special folders,
// system folder, shell links, file dialog) and of its process and window
// calls. Calls are recorded in order as lines of text.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "configurator/seams/file_dialog.h"
#include "configurator/seams/shortcuts.h"
#include "configurator/seams/shell_folders.h"

namespace quillon::fake_configurator_shell {

// Forgets everything: no folders known (every id answers 0x80070057), system
// folder "C:\Windows\system32", no windows, processes start.
void Reset();

// Lines such as "StartProcess \"C:\D\quillon.exe\" R|_quillon|0",
// "SendMessage Quillon 32769", "SaveShellLink C:\Desk\Quillon.lnk|...".
const std::vector<std::string>& Calls();
void ClearCalls();

// What FolderPath answers for an id (flags stripped):
// a result code and a path. SetFolderPath(id, path) is the usual case.
void SetFolderResult(int folderId, long result, const std::string& path);
void SetFolderPath(int folderId, const std::string& path);
// The id FolderPath was last asked for, with its flags.
int LastFolderIdAsked();
// What SpecialFolderLocation answers.
void SetSpecialFolder(int folderId, bool found, const std::string& path);
void SetSystemFolder(bool readable, const std::string& path);
void SetShellLinkSaves(bool saves);
const std::vector<ShellLinkSpec>& SavedLinks();
// The next file dialogs: cancelled, or choosing a path.
void SetDialogCancelled();
void SetDialogAnswer(const std::string& path);
const std::vector<FileDialogOptions>& DialogsShown();

// Top-level windows that exist, by class and by title.
void SetWindowWithClass(const std::string& className, bool exists);
void SetWindowWithTitle(const std::string& title, bool exists);
// A window (by class) whose program hangs: messages sent to it time out.
void SetWindowHung(const std::string& className, bool hung);
void SetProcessStarts(bool starts);
// Folders (ending with "\\") in which other users may create files, and
// files whose owner is neither the user nor an administrator. A data folder
// made with its own permissions records "CreateSharedDataFolder <path>" and
// is made on the file store under test, unless made to fail.
void SetFoldersOthersMayWrite(std::set<std::string> folders);
void SetFilesOwnedByOthers(std::set<std::string> paths);
void SetSharedFolderCreationFails(bool fails);
void SetExecutablePath(const std::string& path);

}  // namespace quillon::fake_configurator_shell

#include "tests/fakes/fake_configurator_shell.h"

#include <set>
#include <utility>

#include "configurator/seams/file_system.h"
#include "configurator/seams/process_control.h"
#include "configurator/seams/shared_folder.h"
#include "configurator/seams/shell_folders.h"
#include "shared/seams/file_trust.h"

namespace quillon::fake_configurator_shell {

namespace {
struct FolderAnswer {
  long result = 0;
  std::string path;
};
struct SpecialAnswer {
  bool found = false;
  std::string path;
};
std::vector<std::string> g_calls;
std::map<int, FolderAnswer> g_folders;
std::map<int, SpecialAnswer> g_special;
int g_lastFolderId = -1;
bool g_systemFolderReadable = true;
std::string g_systemFolder;
bool g_linkSaves = true;
std::vector<ShellLinkSpec> g_links;
bool g_dialogCancelled = true;
std::string g_dialogAnswer;
std::vector<FileDialogOptions> g_dialogs;
std::set<std::string> g_classes;
std::set<std::string> g_titles;
std::set<std::string> g_hung;
bool g_processStarts = true;
std::string g_executablePath;
std::set<std::string> g_sharedFolders;
std::set<std::string> g_foreignFiles;
bool g_sharedFolderCreationFails = false;

// Window handles are the addresses of the names in the sets above.
void* HandleOf(const std::set<std::string>& names, const std::string& name) {
  auto found = names.find(name);
  return found == names.end() ? nullptr : const_cast<std::string*>(&*found);
}

constexpr long kInvalidArgument = long(int32_t(0x80070057));
}  // namespace

void Reset() {
  g_calls.clear();
  g_folders.clear();
  g_special.clear();
  g_lastFolderId = -1;
  g_systemFolderReadable = true;
  g_systemFolder = "C:\\Windows\\system32";
  g_linkSaves = true;
  g_links.clear();
  g_dialogCancelled = true;
  g_dialogAnswer.clear();
  g_dialogs.clear();
  g_classes.clear();
  g_titles.clear();
  g_hung.clear();
  g_processStarts = true;
  g_executablePath = "C:\\Program Files\\KWP\\QuillonConfig.exe";
  g_sharedFolders.clear();
  g_foreignFiles.clear();
  g_sharedFolderCreationFails = false;
}

void SetFoldersOthersMayWrite(std::set<std::string> folders) { g_sharedFolders = std::move(folders); }
void SetFilesOwnedByOthers(std::set<std::string> paths) { g_foreignFiles = std::move(paths); }
void SetSharedFolderCreationFails(bool fails) { g_sharedFolderCreationFails = fails; }

const std::vector<std::string>& Calls() { return g_calls; }
void ClearCalls() { g_calls.clear(); }
void SetFolderResult(int folderId, long result, const std::string& path) { g_folders[folderId] = {result, path}; }
void SetFolderPath(int folderId, const std::string& path) { SetFolderResult(folderId, 0, path); }
int LastFolderIdAsked() { return g_lastFolderId; }
void SetSpecialFolder(int folderId, bool found, const std::string& path) { g_special[folderId] = {found, path}; }
void SetSystemFolder(bool readable, const std::string& path) {
  g_systemFolderReadable = readable;
  g_systemFolder = path;
}
void SetShellLinkSaves(bool saves) { g_linkSaves = saves; }
const std::vector<ShellLinkSpec>& SavedLinks() { return g_links; }
void SetDialogCancelled() { g_dialogCancelled = true; }
void SetDialogAnswer(const std::string& path) {
  g_dialogCancelled = false;
  g_dialogAnswer = path;
}
const std::vector<FileDialogOptions>& DialogsShown() { return g_dialogs; }
void SetWindowWithClass(const std::string& className, bool exists) {
  if (exists) g_classes.insert(className);
  else g_classes.erase(className);
}
void SetWindowWithTitle(const std::string& title, bool exists) {
  if (exists) g_titles.insert(title);
  else g_titles.erase(title);
}
void SetWindowHung(const std::string& className, bool hung) {
  if (hung) g_hung.insert(className);
  else g_hung.erase(className);
}
void SetProcessStarts(bool starts) { g_processStarts = starts; }
void SetExecutablePath(const std::string& path) { g_executablePath = path; }

}  // namespace quillon::fake_configurator_shell

namespace quillon {

using namespace fake_configurator_shell;

long FolderPath(int folderId, uint32_t flags, std::string* path) {
  g_lastFolderId = folderId;
  g_calls.push_back("FolderPath " + std::to_string(folderId) + " " + std::to_string(flags));
  auto answer = g_folders.find(folderId & ~kFolderFlagCreate);
  if (answer == g_folders.end()) return kInvalidArgument;
  if (answer->second.result == 0) *path = answer->second.path;
  return answer->second.result;
}

bool SpecialFolderLocation(void* owner, int folderId, std::string* path) {
  g_calls.push_back("SpecialFolderLocation " + std::to_string(folderId) + (owner != nullptr ? " owned" : ""));
  auto answer = g_special.find(folderId);
  if (answer == g_special.end() || !answer->second.found) return false;
  *path = answer->second.path;
  return true;
}

bool SystemFolder(std::string* path) {
  if (!g_systemFolderReadable) return false;
  *path = g_systemFolder;
  return true;
}

bool SaveShellLink(const ShellLinkSpec& link) {
  g_calls.push_back("SaveShellLink " + link.linkPath + "|" + link.target + "|" + link.workingFolder + "|" +
                    link.arguments + "|" + link.iconFile + "|" + std::to_string(link.iconIndex) + "|" +
                    std::to_string(link.showCommand));
  if (!g_linkSaves) return false;
  g_links.push_back(link);
  return true;
}

bool AskForFile(const FileDialogOptions& options, std::string* path) {
  g_dialogs.push_back(options);
  if (g_dialogCancelled) return false;
  *path = g_dialogAnswer;
  return true;
}

TopWindowHandle FindTopWindowByClass(const std::string& className) { return HandleOf(g_classes, className); }
TopWindowHandle FindTopWindowByTitle(const std::string& title) { return HandleOf(g_titles, title); }

bool SendWindowMessage(TopWindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  const std::string& name = *static_cast<std::string*>(window);
  g_calls.push_back("SendMessage " + name + " " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                    std::to_string(lParam) + (g_hung.count(name) != 0 ? " (timed out)" : ""));
  return g_hung.count(name) == 0;
}

bool StartProcess(const std::string& commandLine, const std::string& windowTitle, int showState) {
  g_calls.push_back("StartProcess " + commandLine + "|" + windowTitle + "|" + std::to_string(showState));
  return g_processStarts;
}

std::string OwnExecutablePath() { return g_executablePath; }

// The folder is made on the file store under test; its permissions are what
// the fake keeps, as the calls show.
bool CreateSharedDataFolder(const std::string& folder) {
  g_calls.push_back("CreateSharedDataFolder " + folder);
  return !g_sharedFolderCreationFails && CreateFolder(folder);
}

bool OthersMayWriteIn(const std::string& folder) { return g_sharedFolders.count(folder) != 0; }
bool OwnedByUserOrAdministrators(const std::string& path) { return g_foreignFiles.count(path) == 0; }

}  // namespace quillon

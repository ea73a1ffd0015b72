#include "tests/fakes/fake_configurator_shell.h"

#include <set>

#include "configurator/seams/process_control.h"

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
bool g_versionReadable = true;
OsVersionInfo g_version;
uint32_t g_versionError = 0;
bool g_systemFolderReadable = true;
std::string g_systemFolder;
bool g_linkSaves = true;
std::vector<ShellLinkSpec> g_links;
bool g_dialogCancelled = true;
std::string g_dialogAnswer;
std::vector<OpenFileDialogBlock> g_dialogs;
std::set<std::string> g_classes;
std::set<std::string> g_titles;
bool g_processStarts = true;
std::string g_executablePath;

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
  g_versionReadable = true;
  g_version = OsVersionInfo{};
  g_version.major = 6;
  g_version.minor = 1;
  g_versionError = 0;
  g_systemFolderReadable = true;
  g_systemFolder = "C:\\Windows\\system32";
  g_linkSaves = true;
  g_links.clear();
  g_dialogCancelled = true;
  g_dialogAnswer.clear();
  g_dialogs.clear();
  g_classes.clear();
  g_titles.clear();
  g_processStarts = true;
  g_executablePath = "C:\\Program Files\\KWP\\QuillonConfig.exe";
}

const std::vector<std::string>& Calls() { return g_calls; }
void ClearCalls() { g_calls.clear(); }
void SetFolderResult(int folderId, long result, const std::string& path) { g_folders[folderId] = {result, path}; }
void SetFolderPath(int folderId, const std::string& path) { SetFolderResult(folderId, 0, path); }
int LastFolderIdAsked() { return g_lastFolderId; }
void SetSpecialFolder(int folderId, bool found, const std::string& path) { g_special[folderId] = {found, path}; }
void SetOsVersion(bool readable, uint32_t major, uint32_t minor, uint32_t errorCode) {
  g_versionReadable = readable;
  g_version.major = major;
  g_version.minor = minor;
  g_versionError = errorCode;
}
void SetSystemFolder(bool readable, const std::string& path) {
  g_systemFolderReadable = readable;
  g_systemFolder = path;
}
void SetShellLinkSaves(bool saves) { g_linkSaves = saves; }
const std::vector<ShellLinkSpec>& SavedLinks() { return g_links; }
void SetDialogCancelled() { g_dialogCancelled = true; }
void SetDialogAnswer(const std::string& fileBufferStart) {
  g_dialogCancelled = false;
  g_dialogAnswer = fileBufferStart;
}
const std::vector<OpenFileDialogBlock>& DialogsShown() { return g_dialogs; }
void SetWindowWithClass(const std::string& className, bool exists) {
  if (exists) g_classes.insert(className);
  else g_classes.erase(className);
}
void SetWindowWithTitle(const std::string& title, bool exists) {
  if (exists) g_titles.insert(title);
  else g_titles.erase(title);
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

long FolderPathAndSubDir(int folderId, uint32_t flags, const std::string& subFolder, std::string* path) {
  g_calls.push_back("FolderPathAndSubDir " + std::to_string(folderId) + " " + std::to_string(flags) + " " + subFolder);
  auto answer = g_folders.find(folderId & ~kFolderFlagCreate);
  if (answer == g_folders.end()) return kInvalidArgument;
  if (answer->second.result == 0) *path = answer->second.path + "\\" + subFolder;
  return answer->second.result;
}

bool SpecialFolderLocation(void* owner, int folderId, std::string* path) {
  g_calls.push_back("SpecialFolderLocation " + std::to_string(folderId) + (owner != nullptr ? " owned" : ""));
  auto answer = g_special.find(folderId);
  if (answer == g_special.end() || !answer->second.found) return false;
  *path = answer->second.path;
  return true;
}

bool ReadOsVersion(OsVersionInfo* version, uint32_t* errorCode) {
  g_calls.push_back("ReadOsVersion");
  if (!g_versionReadable) {
    *errorCode = g_versionError;
    return false;
  }
  *version = g_version;
  *errorCode = 0;
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

bool RunOpenFileDialog(OpenFileDialogBlock* block) {
  g_dialogs.push_back(*block);
  if (g_dialogCancelled) return false;
  size_t length = g_dialogAnswer.size() < block->fileBuffer.size() ? g_dialogAnswer.size() : block->fileBuffer.size();
  block->fileBuffer.replace(0, length, g_dialogAnswer, 0, length);
  return true;
}

TopWindowHandle FindTopWindowByClass(const std::string& className) { return HandleOf(g_classes, className); }
TopWindowHandle FindTopWindowByTitle(const std::string& title) { return HandleOf(g_titles, title); }

void SendWindowMessage(TopWindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  g_calls.push_back("SendMessage " + *static_cast<std::string*>(window) + " " + std::to_string(message) + " " +
                    std::to_string(wParam) + " " + std::to_string(lParam));
}

bool StartProcess(const std::string& commandLine, const std::string& windowTitle, int showState) {
  g_calls.push_back("StartProcess " + commandLine + "|" + windowTitle + "|" + std::to_string(showState));
  return g_processStarts;
}

std::string OwnExecutablePath() { return g_executablePath; }

}  // namespace quillon

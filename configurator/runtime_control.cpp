#include "configurator/runtime_control.h"

#include "configurator/command_guard.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/message_boxes.h"
#include "configurator/seams/process_control.h"
#include "configurator/system_services.h"
#include "shared/program_folders.h"
#include "shared/runtime_messages.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {
void ShowError(const std::string& text) { ShowMessageBox(text, "Error", MessageIcon::Critical, MessageButtons::Ok); }
std::string RuntimePath(const std::string& folder) { return JoinPath(folder, kRuntimeProgramFile); }

// An installed runtime lies in the program folder, which only administrators
// may change. A copy unpacked where every user may add files (a folder made
// at the root of a drive) is started, or linked to, only when the user or an
// administrator put it there: another user's program would run in this
// user's session. A missing file is left to the start, which reports it.
bool Refused(const std::string& folder, const std::string& whatFailed) {
  const std::string path = RuntimePath(folder);
  if (!PathExists(path) || TrustedToStart(path)) return false;
  ShowError(whatFailed + ": \"" + path +
            "\" lies in a folder where other users may create files, and neither you nor an administrator put it "
            "there.");
  return true;
}
}  // namespace

std::string RuntimeCommandLine(const std::string& folder, char letter) {
  return "\"" + RuntimePath(folder) + "\" " + std::string(1, letter);
}

bool RunProgram(const std::string& commandLine, const std::string& windowTitle, int showState) {
  return StartProcess(commandLine, windowTitle, showState);
}

bool SignalRuntime(const std::string& folder) {
  if (TopWindowHandle runtime = FindTopWindowByClass(kRuntimeWindowClass)) {
    // A runtime that does not answer in time is left alone: the settings are
    // written already and take effect at its next start.
    SendWindowMessage(runtime, WM_RELOAD_SETTINGS, 0, 0);
    return true;
  }
  if (Refused(folder, "Quillon was not started")) return false;
  if (RunProgram(RuntimeCommandLine(folder, 'R'), kRuntimeStartTitle, kShowHidden)) return true;
  ShowError("Quillon could not be started from \"" + RuntimePath(folder) + "\".");
  return false;
}

void UnloadRuntime(const std::string& folder) {
  if (FindTopWindowByClass(kRuntimeWindowClass) == nullptr) {
    ShowMessageBox("Quillon is not resident.", "Information", MessageIcon::Information, MessageButtons::Ok);
    return;
  }
  // The copy started here asks the resident one to close; without it the
  // resident one stays.
  if (Refused(folder, "Quillon was not unloaded")) return;
  if (!RunProgram(RuntimeCommandLine(folder, 'Q'), kRuntimeStartTitle, kShowHidden))
    ShowError("Quillon could not be unloaded: \"" + RuntimePath(folder) + "\" could not be started.");
}

void AddShortcut(const std::string& folder, int folderId) {
  RunShowingErrors([&folder, folderId] {
    const std::string link = JoinPath(AppEx::Path(folderId, false, 0), kShortcutFileName);
    const std::string target = JoinPath(folder, kShortcutTargetFile);
    // A link is started without asking anyone: it may point only at a
    // runtime that could be started from here.
    if (Refused(folder, "The shortcut \"" + link + "\" was not written")) return;
    if (!CreateShortcut(link, target, folder, "", target, 0, kShowMinimisedNoActive))
      ShowError("The shortcut \"" + link + "\" could not be written.");
  });
}

}  // namespace quillon

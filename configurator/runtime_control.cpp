#include "configurator/runtime_control.h"

#include "configurator/command_guard.h"
#include "configurator/env_helpers.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/message_boxes.h"
#include "configurator/seams/process_control.h"
#include "configurator/settings_model.h"
#include "shared/settings_tree.h"

namespace quillon {

std::string RuntimeCommandLine(char letter) {
  return "\"" + JoinPath(g_session.dataFolder, kRuntimeProgramFile) + "\" " + std::string(1, letter);
}

bool RunProgram(const std::string& commandLine, const std::string& windowTitle, int showState) {
  return StartProcess(commandLine, windowTitle, showState);
}

void SignalRuntime() {
  if (TopWindowHandle runtime = FindTopWindowByClass(kRuntimeWindowClass)) {
    // A runtime that does not answer in time is left alone: the settings are
    // written already and take effect at its next start.
    SendWindowMessage(runtime, WM_RELOAD_SETTINGS, 0, 0);
    return;
  }
  RunProgram(RuntimeCommandLine('R'), kRuntimeStartTitle, kShowHidden);
}

void UnloadRuntime() {
  if (FindTopWindowByClass(kRuntimeWindowClass) == nullptr) {
    ShowMessageBox("Quillon is not resident.", "Information", MessageIcon::Information, MessageButtons::Ok);
    return;
  }
  RunProgram(RuntimeCommandLine('Q'), kRuntimeStartTitle, kShowHidden);
}

void AddShortcut(int folderId) {
  RunShowingErrors([folderId] {
    std::string folder = AppEx::Path(folderId, false, 0);
    std::string target = JoinPath(g_session.dataFolder, kShortcutTargetFile);
    CreateShortcut(JoinPath(folder, kShortcutFileName), target, g_session.dataFolder, "", target, 0,
                   kShowMinimisedNoActive);
  });
}

}  // namespace quillon

// How the configurator talks to the resident runtime and places shortcuts
// to it. `folder` is the one the runtime is started from: the configurator's
// own. A runtime there that another user may have put (a copy in a folder
// every user may add files to, not owned by the user or an administrator)
// is neither started nor linked to; one error box says so.
#pragma once

#include <string>

#include "shared/program_folders.h"

namespace quillon {

inline constexpr const char* kShortcutTargetFile = "Quillon.exe";
inline constexpr const char* kRuntimeStartTitle = "_quillon";
inline constexpr const char* kShortcutFileName = "Quillon.lnk";
inline constexpr int kShowHidden = 0;             // SW_HIDE
inline constexpr int kShowMinimisedNoActive = 7;  // SW_SHOWMINNOACTIVE

// Asks the running runtime to reload its settings, or starts it. False, with
// an error box, when it could not be started.
bool SignalRuntime(const std::string& folder);
// The "Unload resident Quillon" command; a quit request that could not be
// sent is reported in an error box.
void UnloadRuntime(const std::string& folder);
// A shortcut to the runtime in a special folder (desktop, programs menu,
// start-up). An AppEx error stops the command with its text shown; a link
// that could not be written is reported likewise.
void AddShortcut(const std::string& folder, int folderId);
// Starts a process from its command line; true when it was created.
bool RunProgram(const std::string& commandLine, const std::string& windowTitle, int showState);
// The runtime's command line for a one-letter request; the path is quoted so
// that a data folder with blanks still names the runtime.
std::string RuntimeCommandLine(const std::string& folder, char letter);

}  // namespace quillon

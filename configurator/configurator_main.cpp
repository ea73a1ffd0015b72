#include "configurator/configurator_main.h"

#include "configurator/apply_command.h"
#include "configurator/command_guard.h"
#include "configurator/export_file.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/process_control.h"
#include "configurator/seams/shared_folder.h"
#include "configurator/seams/shell_folders.h"
#include "configurator/settings_model.h"
#include "shared/program_folders.h"

namespace quillon {

namespace {

// The installer makes both levels of the data folder. A copy that was not
// installed makes a missing level the same way, never with the permissions
// the common data folder hands down: under those the first user to run a
// configurator would own the folder and could delete or replace every other
// user's files in it.
void SettleSharedFolder(const std::string& folder) {
  if (!PathExists(folder) && !CreateSharedDataFolder(folder))
    throw AppError(kErrDataFolderNotMade, "SettleDataFolder",
                   "The data folder \"" + folder + "\" could not be created.");
}

std::string SettleDataFolder(const std::string& programName) {
  std::string folder = JoinPath(AppEx::Path(kFolderCommonAppData, true, 0), kDataFolderPublisher);
  SettleSharedFolder(folder);
  folder = JoinPath(folder, programName);
  SettleSharedFolder(folder);
  return folder;
}
}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& programName, const std::string& commandTail) {
  std::vector<std::string> arguments{programName};
  std::string rest = TrimBlanks(commandTail);
  while (!rest.empty()) {
    size_t closing = rest[0] == '"' ? rest.find('"', 1) : std::string::npos;
    if (closing != std::string::npos) {
      arguments.push_back(rest.substr(1, closing - 1));
      rest = closing + 2 <= rest.size() ? TrimLeadingBlanks(rest.substr(closing + 2)) : std::string();
    } else if (size_t blank = rest.find(' '); blank != std::string::npos) {
      arguments.push_back(rest.substr(0, blank));
      rest = TrimLeadingBlanks(rest.substr(blank + 1));
    } else {
      arguments.push_back(rest);
      rest.clear();
    }
  }
  return arguments;
}

std::string ArgumentAt(const std::vector<std::string>& arguments, int index) {
  if (index < 0 || size_t(index) >= arguments.size()) return std::string();
  return arguments[size_t(index)];
}

ConfiguratorStart StartConfigurator(const std::string& programName, const std::string& commandTail) {
  const std::string name = programName.empty() ? std::string("QuillonConfig") : programName;
  ConfiguratorSession session;
  session.arguments = SplitCommandLine(name, commandTail);

  // Without its data folder the configurator has nowhere to work: the
  // error's text is shown and nothing is written.
  if (!RunShowingErrors([&] { session.dataFolder = SettleDataFolder(name); })) return {1, std::nullopt};
  // The runtime lies beside the configurator, installed or not.
  session.programFolder = FolderOf(OwnExecutablePath());
  FillDefaultConfigNames(session);

  if (session.arguments.size() > 1) {
    ConfiguratorSettings model;
    if (ImportFromFile(ArgumentAt(session.arguments, 1), model, session) && !WriteSettingsAndSignal(model, session))
      return {1, std::nullopt};
    return {0, std::nullopt};
  }

  if (TopWindowHandle running = FindTopWindowByTitle(kConfiguratorTitle)) {
    SendWindowMessage(running, kWmSetFocus, 0, 0);
    return {0, std::nullopt};
  }

  session.helpFilePath = JoinPath(session.programFolder, "quillon.chm");
  return {0, std::move(session)};
}

}  // namespace quillon

#include "configurator/configurator_main.h"

#include "configurator/apply_command.h"
#include "configurator/command_guard.h"
#include "configurator/export_file.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/file_system.h"
#include "configurator/seams/process_control.h"
#include "configurator/seams/shell_folders.h"
#include "configurator/settings_model.h"

namespace quillon {

namespace {

// Both levels of the data folder are created when missing.
std::string SettleDataFolder(const std::string& programName) {
  std::string folder = JoinPath(AppEx::Path(kFolderCommonAppData, true, 0), "KWP");
  if (!PathExists(folder)) CreateFolder(folder);
  folder = JoinPath(folder, programName);
  if (!PathExists(folder)) CreateFolder(folder);
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

  session.helpFilePath = JoinPath(FolderOf(OwnExecutablePath()), "quillon.chm");
  return {0, std::move(session)};
}

}  // namespace quillon

// The configurator's entry: command line, data folder, the command-line
// import, a second start, and the main window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "configurator/settings_model.h"

namespace quillon {

inline constexpr const char* kConfiguratorTitle = " Quillon Configurator";
inline constexpr unsigned kWmSetFocus = 7;

// Argument 0 is the program name; the tokens of `commandTail` follow.
std::vector<std::string> SplitCommandLine(const std::string& programName, const std::string& commandTail);
// The argument at `index`, or "" beyond the last.
std::string ArgumentAt(const std::vector<std::string>& arguments, int index);

// What the start decided: the program ends with `exitStatus`, or, with a
// `window` session, the main window opens on it (OpenMainWindow).
struct ConfiguratorStart {
  int exitStatus = 0;
  std::optional<ConfiguratorSession> window;
};
// `programName` is the executable's file name without folder and extension;
// `commandTail` the text after the program name.
ConfiguratorStart StartConfigurator(const std::string& programName, const std::string& commandTail);

}  // namespace quillon

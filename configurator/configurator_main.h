// The configurator's entry: command line, data folder, the command-line
// import, a second start, and the main window.
#pragma once

#include <string>
#include <vector>

namespace quillon {

inline constexpr const char* kConfiguratorTitle = " Quillon Configurator";
inline constexpr unsigned kWmSetFocus = 7;

// Argument 0 is the program name; the tokens of `commandTail` follow.
std::vector<std::string> SplitCommandLine(const std::string& programName, const std::string& commandTail);
// The argument at `index`, or "" beyond the last.
std::string CommandArg(int index);

// `programName` is the executable's file name without folder and extension;
// `commandTail` the text after the program name. Returns the exit status.
int ConfiguratorMain(const std::string& programName, const std::string& commandTail);

}  // namespace quillon

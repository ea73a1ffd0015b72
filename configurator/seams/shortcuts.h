// Shell links (".lnk" files).
#pragma once

#include <string>

namespace quillon {

struct ShellLinkSpec {
  std::string linkPath;
  std::string target;
  std::string workingFolder;
  std::string arguments;
  std::string iconFile;
  int iconIndex = 0;
  int showCommand = 0;
};
// Writes the link file, replacing one of that name; false on any failure.
bool SaveShellLink(const ShellLinkSpec& link);

}  // namespace quillon

// The help viewer for tests: remembers which file was opened at which context.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "configurator/seams/help_viewer.h"

namespace quillon {

// Every OpenHelpAtContext call so far, oldest first: the file and the context.
// Tests clear it themselves.
std::vector<std::pair<std::string, int>>& HelpViewerCalls();

}  // namespace quillon

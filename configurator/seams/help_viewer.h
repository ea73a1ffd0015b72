// The help viewer: opens the configurator's help file at one of its topics.
#pragma once

#include <string>

namespace quillon {

// Opens the help file at the topic with this context number, owned by the
// configurator's main window. A missing file or an unknown context shows
// nothing; the caller is not told.
void OpenHelpAtContext(const std::string& helpFilePath, int context);

}  // namespace quillon

// Opens the configurator's help file in the HTML Help viewer at a context
// number. (Placeholder until the help viewer lands; same declaration.)
#pragma once

#include <string>

namespace quillon {

void OpenHelpAtContext(const std::string& helpFilePath, int context);

}  // namespace quillon

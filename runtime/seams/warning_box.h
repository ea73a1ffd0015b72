// A warning that the runtime gives the user about something it did not do.
#pragma once

#include <string>

namespace quillon {

// A modal box with the program's caption, a warning icon and no owner.
void ShowWarningBox(const std::string& text);

}  // namespace quillon

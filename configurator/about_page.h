// The "About" page: only the version label is set at run time; the title
// line, "All rights reserved" and the trademark notice are fixed texts.
#pragma once

#include <string>

namespace quillon {

// "Version 1.2" for version 1.2.
std::string VersionLabelText(int major, int minor);
// Sets the version label from the program's own version resource.
void ShowAboutPage();

}  // namespace quillon

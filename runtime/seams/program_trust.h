// Who may have put a program file where the runtime would start it from
// (the checks are shared with the configurator), and the box that says a
// start was refused.
#pragma once

#include <string>

#include "shared/seams/file_trust.h"

namespace quillon {

// A modal box with the program's caption, a warning icon and no owner.
void ShowRefusedProgramBox(const std::string& text);

}  // namespace quillon

// Who may have put a program file where the runtime would start it from.
// The runtime's own folder is the common data folder, in which every user of
// the PC may create files: a program planted there by one user would run in
// every other user's session, administrators' included.
#pragma once

#include <string>

namespace quillon {

// True when users other than the current one, the administrators and the
// system may create or change files in `folder` (also when that cannot be
// read: the safe answer).
bool OthersMayWriteIn(const std::string& folder);
// True when the file's owner is the current user, the Administrators group,
// SYSTEM or TrustedInstaller; false otherwise or when it cannot be read.
bool OwnedByUserOrAdministrators(const std::string& path);
// A modal box with the program's caption, a warning icon and no owner.
void ShowRefusedProgramBox(const std::string& text);

}  // namespace quillon

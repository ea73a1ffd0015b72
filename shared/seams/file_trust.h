// Who may have put a program file where a program of this system would
// start it from. A folder in which every user may create files (the common
// data folder, a folder made at the root of a drive) lets one user plant a
// program that then runs in another user's session, administrators'
// included.
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

}  // namespace quillon

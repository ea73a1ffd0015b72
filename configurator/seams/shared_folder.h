// The configurator's data folder, which every user of the PC shares. Who may
// have put a program file somewhere is asked through shared/seams/file_trust.h.
#pragma once

#include <string>

namespace quillon {

// Creates `folder` (its parent exists) with permissions of its own rather
// than those its parent hands down: every user may add files and folders
// and change their own, only administrators and the system may delete or
// replace another's file, and whoever creates it may not change these
// permissions or remove the folder. False when it could not be created.
bool CreateSharedDataFolder(const std::string& folder);

}  // namespace quillon

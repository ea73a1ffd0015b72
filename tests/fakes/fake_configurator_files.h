// Files held in memory for the configurator's file and profile seams, with
// the profile format of the portable store: an export file can be read
// without touching the disk.
#pragma once

#include <string>

namespace quillon::fake_configurator_files {

// Forgets every file.
void Reset();
void SetFile(const std::string& path, const std::string& content);

}  // namespace quillon::fake_configurator_files

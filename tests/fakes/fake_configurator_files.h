// Files held in memory for the configurator's file and profile seams, with
// the profile format of the portable store: an export file can be read
// without touching the disk. Paths name files exactly, case included, as on
// a folder that tells case apart; a directory search matches its pattern
// without case and, as the system does through short names, finds "x.ugcx"
// for "*.ugc".
#pragma once

#include <string>

namespace quillon::fake_configurator_files {

// Forgets every file.
void Reset();
void SetFile(const std::string& path, const std::string& content);
void Remove(const std::string& path);
bool Exists(const std::string& path);
std::string Content(const std::string& path);
// The file can be neither deleted nor replaced, as one that is read-only or
// in use.
void SetLocked(const std::string& path);

}  // namespace quillon::fake_configurator_files

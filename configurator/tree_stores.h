// The configurator's one way to touch stored settings: the groups of the
// settings tree, for the codec, in the current user's registry and in an
// export file. Nothing here shows or throws anything: every write answers 0
// or the system's error code.
#pragma once

#include <cstdint>
#include <string>

#include "shared/settings_codec.h"

namespace quillon::treeStores {

// The first buffer a section or the list of section names is read into; a
// longer one is asked for again in a buffer twice as large, until it fits.
inline constexpr uint32_t kIniSectionBuffer = 8192;

// In the registry a group is a key, read in one pass over its values and
// written in one opening; trimming a list deletes its numbered subkeys
// above the count and no other.
TreeStore RegistryTree();
// In an export file (the path of an existing file) a group is a section,
// read whole. Only the first "=" of a line ends its name, names compare
// with case, and a section without lines does not exist. Writing sets keys
// in place and never deletes; a text with a line break is refused.
TreeStore ExportFileTree(const std::string& file);

// Splits an INI line at its first "=" into name and value; false when it
// has none.
bool SplitIniLine(const std::string& line, std::string* name, std::string* value);

}  // namespace quillon::treeStores

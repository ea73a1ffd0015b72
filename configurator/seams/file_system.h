// Files and folders, as the configurator needs them.
#pragma once

#include <string>

namespace quillon {

// True when a directory search for `path` finds a file (wildcards match;
// folders, hidden and system files are not found). Never fails loudly.
bool FindFirstEntry(const std::string& path);
// True when the attributes of the file or folder can be read.
bool PathAttributesReadable(const std::string& path);
bool CreateFolder(const std::string& path);
// Deletes a file; false when it could not be deleted.
bool DeleteFileAt(const std::string& path);
// Creates an empty file, replacing any file of that name.
bool CreateEmptyFile(const std::string& path);
// Moves `source` over `target`, replacing it in one step.
bool ReplaceFileWith(const std::string& source, const std::string& target);

}  // namespace quillon

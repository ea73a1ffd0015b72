// Files and folders, as the configurator needs them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// True when a directory search for `path` finds a file (wildcards match;
// folders, hidden and system files are not found). Never fails loudly.
bool FindFirstEntry(const std::string& path);
// The names (without folder) of the files that a directory search for
// `pattern` finds, as FindFirstEntry counts them, in the order the system
// gives them; none when the folder cannot be read.
std::vector<std::string> ListFiles(const std::string& pattern);
// True when the attributes of the file or folder can be read.
bool PathAttributesReadable(const std::string& path);
bool CreateFolder(const std::string& path);
// Deletes a file; false when it could not be deleted.
bool DeleteFileAt(const std::string& path);
// Creates an empty file, replacing any file of that name.
bool CreateEmptyFile(const std::string& path);
// The first `maxBytes` bytes of the file at `path` (all of a shorter
// file); none when it cannot be opened or read.
std::optional<std::string> ReadFileStart(const std::string& path, size_t maxBytes);
// Writes `content` as the whole of the file at `path`, creating it or
// replacing what it held; false when it could not be opened or written.
bool WriteWholeFile(const std::string& path, const std::string& content);
// Copies `source` to `target`, replacing a file of that name.
bool CopyFileReplacing(const std::string& source, const std::string& target);
// True when both paths name one existing file, however each is spelt.
bool IsSameFile(const std::string& first, const std::string& second);
// Moves `source` over `target`, replacing it in one step.
bool ReplaceFileWith(const std::string& source, const std::string& target);

}  // namespace quillon

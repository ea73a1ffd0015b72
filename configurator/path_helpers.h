// Text helpers for Windows paths: "\" is the only separator they know.
// FolderOf and TrimBlanks, which the runtime needs too, are in
// shared/text_helpers.h.
#pragma once

#include <string>

#include "shared/text_helpers.h"

namespace quillon {

// folder + name, with exactly one "\" between them unless the folder already
// ends with one; the result trimmed of blanks at both ends.
std::string JoinPath(const std::string& folder, const std::string& name);
// After the last "\"; the whole text when there is none.
std::string FileNameOf(const std::string& path);
// From the last "." to the end, dot included; "" when there is none.
std::string ExtensionOf(const std::string& path);
// True when the path ends with `extension` (".ugc"), whatever the case of
// its letters, as Windows compares names.
bool HasExtension(const std::string& path, const std::string& extension);
// Every occurrence of `search` replaced, left to right without overlaps. An
// empty search text finds nothing, so the text comes back unchanged.
std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement);

}  // namespace quillon

// The profile (INI) file format as the Windows profile functions treat it,
// for systems that lack them: sections in brackets, "name=value" lines,
// blanks around names and values dropped, names compared without case.
#pragma once

#include <string>

namespace quillon::profile_text {

// The lines of the first section named `section`, each followed by a NUL
// (no final extra NUL). Empty lines are left out; a line without "=" comes
// back as it stands.
std::string SectionLines(const std::string& content, const std::string& section);

// The names of the sections, in file order, each followed by a NUL.
std::string SectionNames(const std::string& content);

// `content` with `key` in `section` set to `value`: an existing key is
// replaced in place, a new one goes after the section's last line, a new
// section to the end. Lines end with CR LF.
std::string WithKeySet(const std::string& content, const std::string& section, const std::string& key,
                       const std::string& value);

}  // namespace quillon::profile_text

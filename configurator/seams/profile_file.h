// The Windows profile (INI) file functions the store layer uses: one section
// read whole, one key written. Windows has them built in; elsewhere a
// portable store with the same file behaviour stands in.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// Fills `buffer` (capacity `size`, at least 2) with the section's lines, each
// followed by a NUL, the whole followed by one more NUL. Section names compare
// without case; blanks around names and values are dropped. A section that
// does not fit is cut and the result is size - 2. Returns the number of
// characters written without the final NUL; 0 for a missing or empty section
// or an unreadable file.
uint32_t ReadProfileSection(const std::string& file, const std::string& section, char* buffer, uint32_t size);

// The names of the file's sections in the same form; a list that does not
// fit is cut and the result is size - 2.
uint32_t ReadProfileSectionNames(const std::string& file, char* buffer, uint32_t size);

// Sets `key` in `section` to `value`: an existing key of that name (compared
// without case) is replaced in place, a new one goes to the end of its
// section, a new section to the end of the file. Returns 0 or the system's
// error code.
long WriteProfileKey(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value);

// Makes sure everything written so far is on disk. 0 or the error code.
long FlushProfileFile(const std::string& file);

}  // namespace quillon

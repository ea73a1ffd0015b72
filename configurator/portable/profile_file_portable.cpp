// The profile functions over plain files, for builds without Windows.
#include <cstring>
#include <fstream>
#include <sstream>

#include "configurator/portable/profile_text.h"
#include "configurator/seams/profile_file.h"

namespace quillon {

namespace {
bool ReadWhole(const std::string& file, std::string* content) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  *content = text.str();
  return true;
}
}  // namespace

namespace {
// Hands a NUL-separated list out as the system's profile functions do.
uint32_t HandOut(const std::string& list, char* buffer, uint32_t size) {
  if (size < 2) return 0;
  uint32_t length = list.size() > size - 2 ? size - 2 : uint32_t(list.size());  // cut, as the system does
  if (length > 0) std::memcpy(buffer, list.data(), length);
  buffer[length] = '\0';
  buffer[length + 1] = '\0';
  return length;
}
}  // namespace

uint32_t ReadProfileSection(const std::string& file, const std::string& section, char* buffer, uint32_t size) {
  std::string content;
  return HandOut(ReadWhole(file, &content) ? profile_text::SectionLines(content, section) : "", buffer, size);
}

uint32_t ReadProfileSectionNames(const std::string& file, char* buffer, uint32_t size) {
  std::string content;
  return HandOut(ReadWhole(file, &content) ? profile_text::SectionNames(content) : "", buffer, size);
}

long WriteProfileKey(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  std::string content;
  if (!ReadWhole(file, &content)) content.clear();
  std::string updated = profile_text::WithKeySet(content, section, key, value);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return 5;  // access denied
  out << updated;
  out.flush();
  return out ? 0 : 29;  // write fault
}

long FlushProfileFile(const std::string&) { return 0; }

}  // namespace quillon

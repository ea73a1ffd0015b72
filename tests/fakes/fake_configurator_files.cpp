#include "tests/fakes/fake_configurator_files.h"

#include <cctype>
#include <cstring>
#include <map>
#include <set>

#include "configurator/portable/profile_text.h"
#include "configurator/seams/file_system.h"
#include "configurator/seams/profile_file.h"

namespace quillon::fake_configurator_files {

namespace {
std::map<std::string, std::string> g_files;
// The sections of each file, cut out once per content and found by their
// name in lower case: a load reads hundreds of sections of one unchanged
// file, most of them missing.
std::map<std::string, std::map<std::string, std::string>> g_sections;
std::set<std::string> g_locked;

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}
std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Every section named in a header line, as the profile format reads it.
std::map<std::string, std::string> CutSections(const std::string& content) {
  std::map<std::string, std::string> sections;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    std::string line = Trimmed(content.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (!line.empty() && line.back() == '\r') line = Trimmed(line.substr(0, line.size() - 1));
    if (!line.empty() && line[0] == '[') {
      std::string name =
          Trimmed(line.substr(1, line.find(']') == std::string::npos ? std::string::npos : line.find(']') - 1));
      if (sections.count(Lower(name)) == 0) sections[Lower(name)] = profile_text::SectionLines(content, name);
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return sections;
}
}  // namespace

void Reset() {
  g_files.clear();
  g_sections.clear();
  g_locked.clear();
}
void SetFile(const std::string& path, const std::string& content) {
  g_files[path] = content;
  g_sections[path] = CutSections(content);
}
void Remove(const std::string& path) {
  g_files.erase(path);
  g_sections.erase(path);
}
bool Exists(const std::string& path) { return g_files.count(path) != 0; }
std::string Content(const std::string& path) { return Exists(path) ? g_files[path] : std::string(); }
void SetLocked(const std::string& path) { g_locked.insert(path); }

namespace {
// "*" and "?" as a directory search matches them, without case.
bool Matches(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') return Matches(pattern + 1, name) || (*name != '\0' && Matches(pattern, name + 1));
  if (*name == '\0') return false;
  return (*pattern == '?' ||
          std::tolower(static_cast<unsigned char>(*pattern)) == std::tolower(static_cast<unsigned char>(*name))) &&
         Matches(pattern + 1, name + 1);
}
// The short name's extension: at most three characters.
std::string ShortForm(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot == std::string::npos || name.size() - dot <= 4 ? name : name.substr(0, dot + 4);
}
}  // namespace

}  // namespace quillon::fake_configurator_files

namespace quillon {

using fake_configurator_files::g_files;
using fake_configurator_files::g_locked;
using fake_configurator_files::g_sections;
using fake_configurator_files::Matches;
using fake_configurator_files::ShortForm;

// Wildcards are not matched here: paths name files exactly.
bool FindFirstEntry(const std::string& path) { return g_files.count(path) != 0; }
bool PathAttributesReadable(const std::string& path) { return g_files.count(path) != 0; }
bool CreateFolder(const std::string&) { return true; }
std::vector<std::string> ListFiles(const std::string& pattern) {
  std::vector<std::string> names;
  const size_t cut = pattern.rfind('\\') + 1;
  const std::string folder = pattern.substr(0, cut);
  const std::string leaf = pattern.substr(cut);
  for (const auto& [path, content] : g_files) {
    if (path.compare(0, folder.size(), folder) != 0 || path.find('\\', folder.size()) != std::string::npos) continue;
    const std::string name = path.substr(folder.size());
    if (Matches(leaf.c_str(), name.c_str()) || Matches(leaf.c_str(), ShortForm(name).c_str())) names.push_back(name);
  }
  return names;
}
bool DeleteFileAt(const std::string& path) {
  if (g_locked.count(path) != 0) return false;
  g_sections.erase(path);
  return g_files.erase(path) != 0;
}
// Copying a file onto itself fails as the system's copy does: the source
// is open while the target is replaced.
bool CopyFileReplacing(const std::string& source, const std::string& target) {
  if (g_files.count(source) == 0 || source == target || g_locked.count(target) != 0) return false;
  fake_configurator_files::SetFile(target, g_files[source]);
  return true;
}
bool IsSameFile(const std::string& first, const std::string& second) {
  return first == second && g_files.count(first) != 0;
}
bool CreateEmptyFile(const std::string& path) {
  fake_configurator_files::SetFile(path, "");
  return true;
}
std::optional<std::string> ReadFileStart(const std::string& path, size_t maxBytes) {
  auto found = g_files.find(path);
  if (found == g_files.end()) return std::nullopt;
  return found->second.substr(0, maxBytes);
}
bool WriteWholeFile(const std::string& path, const std::string& content) {
  if (g_locked.count(path) != 0) return false;
  fake_configurator_files::SetFile(path, content);
  return true;
}
bool ReplaceFileWith(const std::string& source, const std::string& target) {
  auto found = g_files.find(source);
  if (found == g_files.end()) return false;
  fake_configurator_files::SetFile(target, found->second);
  return DeleteFileAt(source);
}

uint32_t ReadProfileSection(const std::string& file, const std::string& section, char* buffer, uint32_t size) {
  if (size < 2) return 0;
  static const std::string kNone;
  auto sections = g_sections.find(file);
  auto found = sections == g_sections.end() ? decltype(sections->second.end()){}
                                            : sections->second.find(fake_configurator_files::Lower(section));
  const std::string& lines = sections == g_sections.end() || found == sections->second.end() ? kNone : found->second;
  uint32_t length = lines.size() > size - 2 ? size - 2 : uint32_t(lines.size());
  std::memcpy(buffer, lines.data(), length);
  buffer[length] = buffer[length + 1] = '\0';
  return length;
}

uint32_t ReadProfileSectionNames(const std::string& file, char* buffer, uint32_t size) {
  if (size < 2) return 0;
  std::string names;
  if (auto sections = g_sections.find(file); sections != g_sections.end())
    for (const auto& section : sections->second) names += section.first + '\0';
  uint32_t length = names.size() > size - 2 ? size - 2 : uint32_t(names.size());
  std::memcpy(buffer, names.data(), length);
  buffer[length] = buffer[length + 1] = '\0';
  return length;
}

long WriteProfileKey(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  fake_configurator_files::SetFile(file, profile_text::WithKeySet(g_files[file], section, key, value));
  return 0;
}

long FlushProfileFile(const std::string&) { return 0; }

}  // namespace quillon

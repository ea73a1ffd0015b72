#include "configurator/tree_stores.h"

#include <cctype>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "configurator/seams/profile_file.h"
#include "configurator/seams/registry_access.h"
#include "shared/text_helpers.h"

namespace quillon::treeStores {

namespace {

inline constexpr long kStatusOk = 0;

// Closes the key on every way out of the scope that opened it.
struct OpenKey {
  StoreKeyHandle handle = nullptr;
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (handle != nullptr) CloseStoreKey(handle);
  }
};

// A NUL-separated list from a profile function, whole. A list that does not
// fit is cut and answered with size - 2 (as GetPrivateProfileSection's
// documentation says); a list of exactly that length looks the same, so the
// buffer grows and the question is asked again until the answer is shorter.
// A cut list would hand the lines after the cut their defaults unseen.
template <typename Read>
std::string WholeProfileList(Read read) {
  std::vector<char> buffer(kIniSectionBuffer);
  for (;;) {
    const uint32_t length = read(buffer.data(), uint32_t(buffer.size()));
    if (length < buffer.size() - 2 || buffer.size() > UINT32_MAX / 2) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

// The NUL-separated parts of a list, without empty ones.
std::vector<std::string> ListParts(const std::string& list) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = list.find('\0', start)) != std::string::npos; start = end + 1)
    if (end > start) parts.push_back(list.substr(start, end - start));
  if (start < list.size()) parts.push_back(list.substr(start));
  return parts;
}

// The lines of an INI section, every one of them.
std::vector<std::string> SectionLines(const std::string& file, const std::string& section) {
  return ListParts(
      WholeProfileList([&](char* buffer, uint32_t size) { return ReadProfileSection(file, section, buffer, size); }));
}

// Profile lines cannot hold line breaks; a text with one would write lines of
// its own into the file.
bool FitsOnOneLine(const std::string& text) { return text.find_first_of("\r\n") == std::string::npos; }

// The profile functions drop the blanks at both ends of a value, and reading
// a single value also drops one pair of outer double quotes. A value that
// would lose either is written in one extra pair of quotes, which the reader
// takes off again. Other quoted values are kept as they stand, so files
// written before load as they always did.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool NeedsWrapping(const std::string& text) {
  if (text.empty()) return false;
  return IsBlank(text.front()) || IsBlank(text.back()) ||
         (text.size() >= 2 && text.front() == '"' && text.back() == '"');
}
std::string WrappedIniValue(const std::string& text) { return NeedsWrapping(text) ? '"' + text + '"' : text; }
std::string UnwrappedIniValue(const std::string& text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return text;
  std::string inner = text.substr(1, text.size() - 2);
  return NeedsWrapping(inner) ? inner : text;
}

bool ReadRegistryGroup(GroupAddress at, StoredGroup* values) {
  OpenKey key;
  if (OpenStoreKey(RegistryPath(at), KeyAccess::QueryValues, &key.handle) != kStatusOk) return false;
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  for (uint32_t index = 0;; ++index) {
    long status = EnumStoreValue(key.handle, index, &name, &type, &data);
    if (status == kErrorMoreData) continue;  // a value too large to read is missing
    if (status != kStatusOk) break;
    values->push_back({name, StoredTypeOfRegistryType(type), std::string(data.begin(), data.end())});
  }
  return true;
}

long WriteRegistryGroup(GroupAddress at, const StoredGroup& values, const std::vector<std::string>& removed) {
  OpenKey key;
  long status = CreateStoreKey(RegistryPath(at), &key.handle);
  for (const RawValue& value : values) {
    if (status != kStatusOk) return status;
    status = SetStoreValue(key.handle, value.name, value.type == StoredType::Number ? kRegDword : kRegString,
                           std::vector<uint8_t>(value.bytes.begin(), value.bytes.end()));
  }
  for (const std::string& name : removed) {
    if (status != kStatusOk) return status;
    status = DeleteStoreValue(key.handle, name);
    if (status == kErrorFileNotFound) status = kStatusOk;
  }
  return status;
}

// Deletes the list's subkeys numbered above `count`, and no other subkey: a
// subkey of another name is not the configurator's.
long TrimRegistryList(Group list, int count) {
  OpenKey key;
  if (OpenStoreKey(kSettingsKeyPath, KeyAccess::DeleteSubkeys, &key.handle) != kStatusOk) return kStatusOk;
  const std::string prefix = list == Group::Controller ? "J" : "";
  std::vector<std::string> surplus;
  std::string name;
  for (uint32_t index = 0; EnumStoreSubkey(key.handle, index, &name) == kStatusOk; ++index) {
    const bool numbered = name.size() == prefix.size() + 2 &&
                          SameTextIgnoringCase(name.substr(0, prefix.size()), prefix) &&
                          std::isdigit(static_cast<unsigned char>(name[prefix.size()])) &&
                          std::isdigit(static_cast<unsigned char>(name[prefix.size() + 1]));
    if (numbered && std::stoi(name.substr(prefix.size())) > count) surplus.push_back(name);
  }
  for (const std::string& entry : surplus)
    if (long status = DeleteStoreSubkey(key.handle, entry)) return status;
  return kStatusOk;
}

std::set<std::string> SectionNamesInLowerCase(const std::string& file) {
  std::set<std::string> names;
  for (const std::string& name : ListParts(
           WholeProfileList([&](char*buffer, uint32_t size) { return ReadProfileSectionNames(file, buffer, size); })))
    names.insert(InLowerCase(name));
  return names;
}

// Sections of an export file: each read whole, as the profile functions
// hand it out; a section without lines does not exist.
bool ReadFileSection(const std::string& file, GroupAddress at, StoredGroup* values) {
  std::string name, value;
  for (const std::string& line : SectionLines(file, ExportSection(at)))
    if (SplitIniLine(line, &name, &value)) values->push_back({name, StoredType::Text, UnwrappedIniValue(value) + '\0'});
  return !values->empty();
}

long WriteFileSection(const std::string& file, GroupAddress at, const StoredGroup& values) {
  const std::string section = ExportSection(at);
  for (const RawValue& value : values) {
    const std::string text = UpToFirstZero(value.bytes);
    if (!FitsOnOneLine(text) || !FitsOnOneLine(value.name)) return kErrorInvalidParameter;
    if (long status = WriteProfileKey(file, section, value.name, WrappedIniValue(text))) return status;
  }
  return kStatusOk;
}

}  // namespace

bool SplitIniLine(const std::string& line, std::string* name, std::string* value) {
  size_t at = line.find('=');
  if (at == std::string::npos) return false;
  *name = line.substr(0, at);
  *value = line.substr(at + 1);
  return true;
}

TreeStore RegistryTree() { return {ReadRegistryGroup, WriteRegistryGroup, TrimRegistryList, false}; }

TreeStore ExportFileTree(const std::string& file) {
  // The file's section names are asked for once: most of the 198 numbered
  // sections are usually missing, and each question costs the profile
  // functions a look at the file. A file without sections filters nothing.
  auto names = std::make_shared<std::optional<std::set<std::string>>>();
  TreeStore store;
  store.read = [file, names](GroupAddress at, StoredGroup* values) {
    if (!names->has_value()) *names = SectionNamesInLowerCase(file);
    if (names->value().count(InLowerCase(ExportSection(at))) == 0 && !names->value().empty()) return false;
    return ReadFileSection(file, at, values);
  };
  store.write = [file](GroupAddress at, const StoredGroup& values, const std::vector<std::string>&) {
    return WriteFileSection(file, at, values);
  };
  store.textOnly = true;
  return store;
}

}  // namespace quillon::treeStores

#include "configurator/mod_registry.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "configurator/env_helpers.h"
#include "configurator/seams/profile_file.h"

namespace quillon::modRegistry {

namespace {

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

enum class TypeLetter { Text, Number, Flag, Other };
TypeLetter LetterOf(const std::string& type) {
  if (SameTextIgnoringCase(type, "S")) return TypeLetter::Text;
  if (SameTextIgnoringCase(type, "D")) return TypeLetter::Number;
  if (SameTextIgnoringCase(type, "B")) return TypeLetter::Flag;
  return TypeLetter::Other;
}

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

// Reads a value of any size: first the size, then the data. A value that
// grows between the two reads is read again.
long QueryWhole(StoreKeyHandle key, const std::string& name, uint32_t* type, std::vector<uint8_t>* data) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    uint32_t size = 0;
    long status = QueryStoreValue(key, name, type, nullptr, &size);
    if (status != kStatusOk && status != kErrorMoreData) return status;
    data->assign(size, 0);
    if (size == 0) return kStatusOk;
    status = QueryStoreValue(key, name, type, data->data(), &size);
    if (status == kStatusOk) {
      data->resize(size);
      return kStatusOk;
    }
    if (status != kErrorMoreData) return status;
  }
  return kErrorMoreData;
}

// Reads exactly a small fixed-size value; longer data is a failed read.
long QuerySmall(StoreKeyHandle key, const std::string& name, uint32_t capacity, uint8_t* bytes) {
  uint32_t size = capacity;
  return QueryStoreValue(key, name, nullptr, bytes, &size);
}

std::string DecimalText(long long number) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld", number);
  return text;
}

// The lines of an INI section, as the profile function hands them out. When
// the section was cut at the buffer's end, its last line may be cut too and
// is not trusted.
std::vector<std::string> SectionLines(const std::string& file, const std::string& section) {
  char buffer[kIniSectionBuffer];  // only the part the call fills is looked at
  uint32_t length = ReadProfileSection(file, section, buffer, kIniSectionBuffer);
  if (length > kIniSectionBuffer - 2) length = kIniSectionBuffer - 2;
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < length; ++i) {
    if (buffer[i] != '\0') continue;
    if (i > start) lines.emplace_back(buffer + start, i - start);
    start = i + 1;
  }
  if (start < length) lines.emplace_back(buffer + start, length - start);
  if (length == kIniSectionBuffer - 2 && !lines.empty()) lines.pop_back();
  return lines;
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
  return IsBlank(text.front()) || IsBlank(text.back()) || (text.size() >= 2 && text.front() == '"' && text.back() == '"');
}
std::string WrappedIniValue(const std::string& text) { return NeedsWrapping(text) ? '"' + text + '"' : text; }
std::string UnwrappedIniValue(const std::string& text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return text;
  std::string inner = text.substr(1, text.size() - 2);
  return NeedsWrapping(inner) ? inner : text;
}

int64_t LittleEndian(const uint8_t* bytes, size_t count) {
  uint64_t number = 0;
  for (size_t i = count; i-- > 0;) number = (number << 8) | bytes[i];
  return int64_t(number);
}

}  // namespace

Root ResolveRoot(const std::string& root) {
  static const struct {
    const char* name;
    RegistryHive hive;
  } kHives[] = {
      {"HKCU", RegistryHive::CurrentUser},   {"HKLM", RegistryHive::LocalMachine},
      {"HKU", RegistryHive::Users},          {"HKDD", RegistryHive::DynData},
      {"HKCC", RegistryHive::CurrentConfig}, {"HKCR", RegistryHive::ClassesRoot},
  };
  for (const auto& entry : kHives)
    if (SameTextIgnoringCase(root, entry.name)) return Root{RootKind::Hive, entry.hive};
  // The existence test matches wildcards, which the profile functions take
  // literally: such a root names no file that could be read or written.
  if (!HasWildcards(root) && FileExists(root)) return Root{RootKind::Ini, RegistryHive::CurrentUser};
  return Root{};
}

bool SplitIniLine(const std::string& line, std::string* name, std::string* value) {
  size_t at = line.find('=');
  if (at == std::string::npos) return false;
  *name = line.substr(0, at);
  *value = line.substr(at + 1);
  return true;
}

long ReadValue(const std::string& root, const std::string& path, const std::string& name, const std::string& type,
               StoredValue* value) {
  Root where = ResolveRoot(root);
  TypeLetter letter = LetterOf(type);
  if (where.kind == RootKind::Invalid) return kStatusInvalidRoot;

  if (where.kind == RootKind::Ini) {
    if (letter == TypeLetter::Other) return kStatusOk;
    if (letter != TypeLetter::Text) return kStatusInvalidRoot;  // the file holds text only
    // A value may itself hold "=" (parameters, key sequences, patterns), so
    // only the first "=" of a line ends its name.
    for (const std::string& line : SectionLines(root, path)) {
      std::string lineName, lineValue;
      if (SplitIniLine(line, &lineName, &lineValue) && lineName == name) {
        value->text = UnwrappedIniValue(lineValue);
        break;
      }
    }
    return kStatusOk;
  }

  OpenKey key;
  long status = OpenStoreKey(where.hive, path, KeyAccess::QueryValues, &key.handle);
  if (status != kStatusOk) return status;
  switch (letter) {
    case TypeLetter::Text: {
      std::vector<uint8_t> data;
      status = QueryWhole(key.handle, name, nullptr, &data);
      if (status != kStatusOk) return status;
      if (!data.empty() && data.back() == 0) data.pop_back();
      value->text.assign(data.begin(), data.end());
      return kStatusOk;
    }
    case TypeLetter::Number: {
      uint8_t bytes[4] = {0, 0, 0, 0};
      status = QuerySmall(key.handle, name, 4, bytes);
      if (status != kStatusOk) return status;
      value->number = int32_t(uint32_t(LittleEndian(bytes, 4)));
      return kStatusOk;
    }
    case TypeLetter::Flag: {
      uint8_t bytes[2] = {0, 0};
      status = QuerySmall(key.handle, name, 2, bytes);
      if (status != kStatusOk) return status;
      value->flag = bytes[0] != 0 || bytes[1] != 0;
      return kStatusOk;
    }
    case TypeLetter::Other:
      break;
  }
  return kStatusOk;
}

long WriteValue(const std::string& root, const std::string& path, const std::string& name, const std::string& type,
                const StoredValue& value) {
  Root where = ResolveRoot(root);
  TypeLetter letter = LetterOf(type);
  if (where.kind == RootKind::Invalid) return kStatusInvalidRoot;

  if (where.kind == RootKind::Ini) {
    if (letter == TypeLetter::Other) return kStatusOk;
    if (letter != TypeLetter::Text) return kStatusInvalidRoot;
    if (!FitsOnOneLine(value.text) || !FitsOnOneLine(name) || !FitsOnOneLine(path)) return kErrorInvalidParameter;
    return WriteProfileKey(root, path, name, WrappedIniValue(value.text));
  }

  OpenKey key;
  long status = CreateStoreKey(where.hive, path, &key.handle);
  if (status != kStatusOk) return status;
  switch (letter) {
    case TypeLetter::Text: {
      std::vector<uint8_t> data(value.text.begin(), value.text.end());
      data.push_back(0);
      return SetStoreValue(key.handle, name, kRegString, data);
    }
    case TypeLetter::Number: {
      // Stored numbers are 16-bit; one that does not fit leaves the old value.
      if (value.number < -32768 || value.number > 32767) return kStatusOk;
      uint32_t widened = uint32_t(int32_t(int16_t(value.number)));
      return SetStoreValue(key.handle, name, kRegDword,
                           {uint8_t(widened), uint8_t(widened >> 8), uint8_t(widened >> 16), uint8_t(widened >> 24)});
    }
    case TypeLetter::Flag: {
      uint8_t byte = value.flag ? 0xFF : 0;
      return SetStoreValue(key.handle, name, kRegBinary, {byte, byte});
    }
    case TypeLetter::Other:
      break;
  }
  return kStatusOk;
}

long DeleteValue(const std::string& root, const std::string& path, const std::string& name) {
  Root where = ResolveRoot(root);
  if (where.kind == RootKind::Invalid) return kStatusInvalidRoot;
  if (where.kind == RootKind::Ini) {
    if (!FitsOnOneLine(name) || !FitsOnOneLine(path)) return kErrorInvalidParameter;
    return WriteProfileKey(root, path, name, "");
  }
  OpenKey key;
  long status = OpenStoreKey(where.hive, path, KeyAccess::SetValues, &key.handle);
  if (status == kErrorFileNotFound) return kStatusOk;
  if (status != kStatusOk) return status;
  status = DeleteStoreValue(key.handle, name);
  return status == kErrorFileNotFound ? kStatusOk : status;
}

long DeleteKey(const std::string& root, const std::string& path, const std::string& subkey) {
  Root where = ResolveRoot(root);
  if (where.kind == RootKind::Invalid) return kStatusInvalidRoot;
  if (where.kind == RootKind::Ini) return kStatusInvalidRoot;
  // An empty name would make the system delete the key at `path` itself.
  if (subkey.empty()) return kErrorInvalidParameter;
  OpenKey key;
  long status = OpenStoreKey(where.hive, path, KeyAccess::DeleteSubkeys, &key.handle);
  if (status == kErrorFileNotFound) return kStatusOk;
  if (status != kStatusOk) return status;
  status = DeleteStoreSubkey(key.handle, subkey);
  return status == kErrorFileNotFound ? kStatusOk : status;
}

long ListSubkeys(const std::string& root, const std::string& path, std::string* names) {
  names->assign(2, '\0');
  Root where = ResolveRoot(root);
  if (where.kind == RootKind::Invalid) return kStatusInvalidRoot;
  if (where.kind == RootKind::Ini) return kStatusInvalidRoot;
  OpenKey key;
  long status = OpenStoreKey(where.hive, path, KeyAccess::EnumerateSubkeys, &key.handle);
  if (status != kStatusOk) return status;
  std::string list;
  std::string name;
  for (uint32_t index = 0;; ++index) {
    status = EnumStoreSubkey(key.handle, index, &name);
    if (status == kErrorNoMoreItems) break;
    if (status != kStatusOk) return status;
    list += name;
    list += '\0';
  }
  list += '\0';
  if (list.size() == 1) list += '\0';
  *names = list;
  return kStatusOk;
}

long ListValues(const std::string& root, const std::string& path, std::string* entries) {
  entries->assign(2, '\0');
  Root where = ResolveRoot(root);
  if (where.kind == RootKind::Invalid) return kStatusInvalidRoot;

  std::string list;
  if (where.kind == RootKind::Ini) {
    for (const std::string& line : SectionLines(root, path)) {
      list += line;
      list += '\0';
    }
    if (list.empty()) return kStatusEmptySection;
    *entries = list + '\0';
    return kStatusOk;
  }

  OpenKey key;
  long status = OpenStoreKey(where.hive, path, KeyAccess::QueryValues, &key.handle);
  if (status != kStatusOk) return status;
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  for (uint32_t index = 0;; ++index) {
    status = EnumStoreValue(key.handle, index, &name, &type, &data);
    if (status == kErrorNoMoreItems) break;
    if (status != kStatusOk) return status;
    if (type == kRegString) {
      // An embedded NUL would end the entry early and start a stray one.
      std::string text(data.begin(), data.end());
      list += name + "=" + text.substr(0, text.find('\0'));
      list += '\0';
    } else if (type == kRegDword) {
      uint8_t bytes[4] = {0, 0, 0, 0};
      for (size_t i = 0; i < data.size() && i < 4; ++i) bytes[i] = data[i];
      list += name + "=" + DecimalText(int32_t(uint32_t(LittleEndian(bytes, 4))));
      list += '\0';
    } else if (type == kRegBinary && data.size() <= 2) {
      list += name + "=" + DecimalText(LittleEndian(data.data(), data.size()));
      list += '\0';
    }
  }
  list += '\0';
  if (list.size() == 1) list += '\0';
  *entries = list;
  return kStatusOk;
}

std::string ReadText(const std::string& root, const std::string& path, const std::string& name,
                     const std::string& fallback, long* status) {
  StoredValue value;
  value.text = fallback;
  long result = ReadValue(root, path, name, "S", &value);
  if (status != nullptr) *status = result;
  return value.text;
}

int64_t ReadNumber(const std::string& root, const std::string& path, const std::string& name, int64_t fallback,
                   long* status) {
  StoredValue value;
  value.number = fallback;
  long result = ReadValue(root, path, name, "D", &value);
  if (status != nullptr) *status = result;
  return value.number;
}

long WriteText(const std::string& root, const std::string& path, const std::string& name, const std::string& text) {
  StoredValue value;
  value.text = text;
  return WriteValue(root, path, name, "S", value);
}

long WriteNumber(const std::string& root, const std::string& path, const std::string& name, int64_t number) {
  StoredValue value;
  value.number = number;
  return WriteValue(root, path, name, "D", value);
}

namespace {

std::string UpToZero(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

bool ReadRegistryGroup(GroupAddress at, StoredGroup* values) {
  OpenKey key;
  if (OpenStoreKey(RegistryHive::CurrentUser, RegistryPath(at), KeyAccess::QueryValues, &key.handle) != kStatusOk)
    return false;
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
  long status = CreateStoreKey(RegistryHive::CurrentUser, RegistryPath(at), &key.handle);
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

// Deletes the list's subkeys numbered above `count`, and no other subkey.
long TrimRegistryList(Group list, int count) {
  std::string names;
  if (ListSubkeys("HKCU", kSettingsKeyPath, &names) != kStatusOk) return kStatusOk;
  long failure = kStatusOk;
  for (size_t at = 0; at < names.size() && names[at] != '\0'; at = names.find('\0', at) + 1) {
    const std::string name = names.substr(at, names.find('\0', at) - at);
    for (int n = count + 1; n <= kMaxActions; ++n) {
      if (!SameTextIgnoringCase(name, list == Group::Keyboard ? KeyActionSubkey(n) : ButtonActionSubkey(n))) continue;
      long status = DeleteKey("HKCU", kSettingsKeyPath, name);
      if (failure == kStatusOk) failure = status;
    }
  }
  return failure;
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
    const std::string text = UpToZero(value.bytes);
    if (!FitsOnOneLine(text) || !FitsOnOneLine(value.name)) return kErrorInvalidParameter;
    if (long status = WriteProfileKey(file, section, value.name, WrappedIniValue(text))) return status;
  }
  return kStatusOk;
}

}  // namespace

TreeStore RegistryTree() { return {ReadRegistryGroup, WriteRegistryGroup, TrimRegistryList, false}; }

TreeStore ExportFileTree(const std::string& file) {
  TreeStore store;
  store.read = [file](GroupAddress at, StoredGroup* values) { return ReadFileSection(file, at, values); };
  store.write = [file](GroupAddress at, const StoredGroup& values, const std::vector<std::string>&) {
    return WriteFileSection(file, at, values);
  };
  store.textOnly = true;
  return store;
}

}  // namespace quillon::modRegistry

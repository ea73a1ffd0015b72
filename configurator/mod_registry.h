// The configurator's one way to touch stored values: typed values addressed
// by a root, a path and a name. The root names a registry hive ("HKCU" ...),
// and the path is a key below it; or it is the path of an existing INI file,
// and the path is a section of it. No operation shows or throws anything:
// each returns a status, and reads deliver the caller's default on failure.
#pragma once

#include <cstdint>
#include <string>

#include "configurator/seams/registry_access.h"
#include "shared/settings_codec.h"

namespace quillon::modRegistry {

inline constexpr long kStatusOk = 0;
inline constexpr long kStatusInvalidRoot = 99;   // also "D"/"B" in an INI file
inline constexpr long kStatusEmptySection = -1;  // ListValues of an empty INI section
inline constexpr uint32_t kIniSectionBuffer = 8192;

enum class RootKind { Hive, Ini, Invalid };
struct Root {
  RootKind kind = RootKind::Invalid;
  RegistryHive hive = RegistryHive::CurrentUser;
};
Root ResolveRoot(const std::string& root);

// A value of any of the three types: "S" uses text, "D" number, "B" flag.
struct StoredValue {
  std::string text;
  int64_t number = 0;
  bool flag = false;
};

// `value` holds the default on entry and keeps it unless the read succeeds.
long ReadValue(const std::string& root, const std::string& path, const std::string& name, const std::string& type,
               StoredValue* value);
long WriteValue(const std::string& root, const std::string& path, const std::string& name, const std::string& type,
                const StoredValue& value);
long DeleteValue(const std::string& root, const std::string& path, const std::string& name);
long DeleteKey(const std::string& root, const std::string& path, const std::string& subkey);
// Name lists: each entry followed by a NUL, the whole by one more NUL.
long ListSubkeys(const std::string& root, const std::string& path, std::string* names);
long ListValues(const std::string& root, const std::string& path, std::string* entries);

// Splits an INI line at its first "=" into name and value; false when it
// has none.
bool SplitIniLine(const std::string& line, std::string* name, std::string* value);

// The settings tree's groups for the codec: in the current user's registry,
// and in an export file (the path of an existing file; its sections stand
// for the keys). A file's values are written in place, and nothing of it is
// deleted.
TreeStore RegistryTree();
TreeStore ExportFileTree(const std::string& file);

// Shorthands for the common cases.
std::string ReadText(const std::string& root, const std::string& path, const std::string& name,
                     const std::string& fallback, long* status = nullptr);
int64_t ReadNumber(const std::string& root, const std::string& path, const std::string& name, int64_t fallback,
                   long* status = nullptr);
long WriteText(const std::string& root, const std::string& path, const std::string& name, const std::string& text);
long WriteNumber(const std::string& root, const std::string& path, const std::string& name, int64_t number);

}  // namespace quillon::modRegistry

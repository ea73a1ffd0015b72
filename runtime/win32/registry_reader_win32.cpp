#include <windows.h>

#include "runtime/seams/registry_reader.h"

namespace quillon {

bool ReadUserKey(const std::string& path, const std::vector<std::string>& names, StoredGroup* values) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  // Asking by name costs one server call per value; enumerating would cost
  // one more per key, to learn that the values have ended.
  BYTE data[kRegistryValueBuffer];
  for (const std::string& name : names) {
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) continue;
    values->push_back({name, StoredTypeOfRegistryType(type), std::string(reinterpret_cast<const char*>(data), size)});
  }
  RegCloseKey(key);
  return true;
}

}  // namespace quillon

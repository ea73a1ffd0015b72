#include <windows.h>

#include "runtime/seams/registry_reader.h"

namespace quillon {

bool ReadUserKey(const std::string& path, StoredGroup* values) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  // One call per value brings its name, type and data together. A value
  // name may have up to 16,383 characters; data beyond the buffer answers
  // ERROR_MORE_DATA and the value is passed over.
  static char name[16384];
  static BYTE data[kRegistryValueBuffer];
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof name;
    DWORD size = sizeof data;
    DWORD type = 0;
    LONG status = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    values->push_back({std::string(name, nameLength), StoredTypeOfRegistryType(type),
                       std::string(reinterpret_cast<const char*>(data), size)});
  }
  RegCloseKey(key);
  return true;
}

}  // namespace quillon

#include <windows.h>

#include "runtime/seams/registry_reader.h"

namespace quillon {

RegistryKeyHandle OpenUserKeyForReading(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

bool QueryRegistryValue(RegistryKeyHandle key, const char* name, void* buffer, uint32_t* size) {
  DWORD length = *size;
  LONG status = RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, nullptr, static_cast<BYTE*>(buffer), &length);
  if (status != ERROR_SUCCESS) return false;
  *size = length;
  return true;
}

void CloseRegistryKey(RegistryKeyHandle key) { RegCloseKey(static_cast<HKEY>(key)); }

}  // namespace quillon

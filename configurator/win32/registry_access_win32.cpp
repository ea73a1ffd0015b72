#include <windows.h>

#include "configurator/seams/registry_access.h"

namespace quillon {

namespace {
REGSAM AccessMask(KeyAccess access) {
  switch (access) {
    case KeyAccess::QueryValues: return KEY_QUERY_VALUE;
    case KeyAccess::DeleteSubkeys: return KEY_READ | KEY_WRITE;
  }
  return KEY_READ;
}
}  // namespace

long OpenStoreKey(const std::string& path, KeyAccess access, StoreKeyHandle* key) {
  HKEY opened = nullptr;
  LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, AccessMask(access), &opened);
  *key = status == ERROR_SUCCESS ? opened : nullptr;
  return status;
}

long CreateStoreKey(const std::string& path, StoreKeyHandle* key) {
  HKEY created = nullptr;
  LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, &created, nullptr);
  *key = status == ERROR_SUCCESS ? created : nullptr;
  return status;
}

void CloseStoreKey(StoreKeyHandle key) { RegCloseKey(static_cast<HKEY>(key)); }

long SetStoreValue(StoreKeyHandle key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) {
  return RegSetValueExA(static_cast<HKEY>(key), name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                        DWORD(data.size()));
}

long DeleteStoreValue(StoreKeyHandle key, const std::string& name) {
  return RegDeleteValueA(static_cast<HKEY>(key), name.c_str());
}

long DeleteStoreSubkey(StoreKeyHandle key, const std::string& name) {
  return RegDeleteKeyA(static_cast<HKEY>(key), name.c_str());
}

long EnumStoreSubkey(StoreKeyHandle key, uint32_t index, std::string* name) {
  char buffer[2048];
  DWORD length = sizeof buffer;
  LONG status = RegEnumKeyExA(static_cast<HKEY>(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name->assign(buffer, length);
  return status;
}

long EnumStoreValue(StoreKeyHandle key, uint32_t index, std::string* name, uint32_t* type, std::vector<uint8_t>* data) {
  // One call brings name, type and data together. Most values fit a first
  // guess; a larger one is read again with the largest size the key holds.
  char buffer[2048];
  data->resize(4096);
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD length = sizeof buffer;
    DWORD size = DWORD(data->size());
    DWORD valueType = 0;
    LONG status =
        RegEnumValueA(static_cast<HKEY>(key), index, buffer, &length, nullptr, &valueType, data->data(), &size);
    if (status == ERROR_MORE_DATA && attempt == 0) {
      DWORD largest = 0;
      RegQueryInfoKeyA(static_cast<HKEY>(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       &largest, nullptr, nullptr);
      data->resize(largest > size ? largest : size);
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    name->assign(buffer, length);
    *type = valueType;
    data->resize(size);
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

}  // namespace quillon

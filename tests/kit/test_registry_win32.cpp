#include <windows.h>

#include "tests/kit/test_registry.h"

namespace quillon::test_registry {

void DeleteSettingsTree() { RegDeleteTreeA(HKEY_CURRENT_USER, SettingsPath().c_str()); }

void CreateKey(const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS)
    RegCloseKey(key);
}

void WriteBytes(const std::string& path, const std::string& name, uint32_t type, const std::vector<uint8_t>& bytes) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name.c_str(), 0, type, bytes.empty() ? nullptr : bytes.data(), DWORD(bytes.size()));
  RegCloseKey(key);
}

bool ReadBytes(const std::string& path, const std::string& name, uint32_t* type, std::vector<uint8_t>* bytes) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD valueType = 0;
  DWORD size = 0;
  bool read = RegQueryValueExA(key, name.c_str(), nullptr, &valueType, nullptr, &size) == ERROR_SUCCESS;
  bytes->assign(size, 0);
  if (read && size > 0)
    read = RegQueryValueExA(key, name.c_str(), nullptr, &valueType, bytes->data(), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  *type = valueType;
  return read;
}

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace quillon::test_registry

#include <cstdio>

#include "shared/settings_tree.h"
#include "tests/kit/test_registry.h"

namespace quillon::test_registry {

namespace {
std::string Below(const std::string& subkey) { return SettingsPath() + "\\" + subkey; }
}  // namespace

std::string SettingsPath() { return kSettingsKeyPath; }
std::string KeyActionPath(int number) { return Below(KeyActionSubkey(number)); }
std::string ButtonActionPath(int number) { return Below(ButtonActionSubkey(number)); }

void WriteText(const std::string& path, const std::string& name, const std::string& text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  WriteBytes(path, name, kString, bytes);
}

void WriteNumber(const std::string& path, const std::string& name, uint32_t number) {
  WriteBytes(path, name, kDword, {uint8_t(number), uint8_t(number >> 8), uint8_t(number >> 16), uint8_t(number >> 24)});
}

int64_t ReadNumber(const std::string& path, const std::string& name, int64_t fallback) {
  uint32_t type = 0;
  std::vector<uint8_t> bytes;
  if (!ReadBytes(path, name, &type, &bytes) || type != kDword || bytes.size() != 4) return fallback;
  return int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
}

std::string ReadText(const std::string& path, const std::string& name, const std::string& fallback) {
  uint32_t type = 0;
  std::vector<uint8_t> bytes;
  if (!ReadBytes(path, name, &type, &bytes) || type != kString) return fallback;
  std::string text(bytes.begin(), bytes.end());
  return text.substr(0, text.find('\0'));
}

}  // namespace quillon::test_registry

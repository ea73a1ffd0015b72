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
  WriteBytes(path, name, kDword,
             {uint8_t(number), uint8_t(number >> 8), uint8_t(number >> 16), uint8_t(number >> 24)});
}

}  // namespace quillon::test_registry

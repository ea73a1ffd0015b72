// Writes settings trees for tests: into the in-memory registry natively, into
// the real registry of the Wine prefix in the windows build. Paths are below
// HKEY_CURRENT_USER.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test_registry {

inline constexpr uint32_t kString = 1;  // REG_SZ
inline constexpr uint32_t kBinary = 3;  // REG_BINARY
inline constexpr uint32_t kDword = 4;   // REG_DWORD

// Removes "Software\KWP\Quillon" with everything below it.
void DeleteSettingsTree();
void CreateKey(const std::string& path);
// A string stored as the configurator stores it: with its terminating zero.
void WriteText(const std::string& path, const std::string& name, const std::string& text);
void WriteNumber(const std::string& path, const std::string& name, uint32_t number);
// Raw bytes of any type and length, including none.
void WriteBytes(const std::string& path, const std::string& name, uint32_t type, const std::vector<uint8_t>& bytes);

// "Software\KWP\Quillon" and its action subkeys.
std::string SettingsPath();
std::string KeyActionPath(int number);     // "...\01"
std::string ButtonActionPath(int number);  // "...\J01"

}  // namespace quillon::test_registry

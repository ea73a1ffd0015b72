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

// Reading back: the bytes and type of a value (false when it or its key is
// missing); a REG_DWORD as a signed number and a REG_SZ up to its zero, or
// the fallback for a missing value or one of another type.
bool ReadBytes(const std::string& path, const std::string& name, uint32_t* type, std::vector<uint8_t>* bytes);
int64_t ReadNumber(const std::string& path, const std::string& name, int64_t fallback);
std::string ReadText(const std::string& path, const std::string& name, const std::string& fallback);
bool KeyExists(const std::string& path);

// "Software\KWP\Quillon" and its action subkeys.
std::string SettingsPath();
std::string KeyActionPath(int number);     // "...\01"
std::string ButtonActionPath(int number);  // "...\J01"

}  // namespace quillon::test_registry

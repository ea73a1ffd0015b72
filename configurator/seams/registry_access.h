// The configurator's reach into the Windows registry: open, create, read,
// write, delete and enumerate. Every function answers with the Windows error
// code of the call it stands for (0 on success), so the store layer can pass
// the codes on unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

using StoreKeyHandle = void*;

enum class KeyAccess { QueryValues, DeleteSubkeys };

inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;

inline constexpr uint32_t kRegString = 1;  // REG_SZ
inline constexpr uint32_t kRegDword = 4;   // REG_DWORD

// Opens an existing key.
long OpenStoreKey(const std::string& path, KeyAccess access, StoreKeyHandle* key);
// Opens a key for setting values and creating subkeys, creating it and every
// missing key on its path.
long CreateStoreKey(const std::string& path, StoreKeyHandle* key);
void CloseStoreKey(StoreKeyHandle key);

long SetStoreValue(StoreKeyHandle key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data);
long DeleteStoreValue(StoreKeyHandle key, const std::string& name);
// Deletes the direct subkey `name` of `key`; a subkey that has subkeys of its
// own is refused with kErrorAccessDenied, as the system's call does.
long DeleteStoreSubkey(StoreKeyHandle key, const std::string& name);
// A subkey's name, or a value's name, type and data, by index in
// enumeration order; kErrorNoMoreItems past the last.
long EnumStoreSubkey(StoreKeyHandle key, uint32_t index, std::string* name);
long EnumStoreValue(StoreKeyHandle key, uint32_t index, std::string* name, uint32_t* type, std::vector<uint8_t>* data);

}  // namespace quillon

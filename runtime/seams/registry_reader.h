// Read-only access to the current user's registry, all the runtime needs.
#pragma once

#include <cstdint>

namespace quillon {

using RegistryKeyHandle = void*;

// Opens HKEY_CURRENT_USER\<path> for reading; nullptr when it cannot be opened.
RegistryKeyHandle OpenUserKeyForReading(const char* path);

// Copies the bytes of value `name` into `buffer`. On entry *size is the
// buffer's size, on success the number of bytes copied. Returns false when the
// value is missing, unreadable or larger than the buffer. The value's type is
// not reported: the runtime ignores it.
bool QueryRegistryValue(RegistryKeyHandle key, const char* name, void* buffer, uint32_t* size);

void CloseRegistryKey(RegistryKeyHandle key);

}  // namespace quillon

// Read-only access to the current user's registry, all the runtime needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shared/settings_codec.h"

namespace quillon {

// The runtime reads each value through a buffer of this size: a longer one
// is left out, as if it were missing.
inline constexpr uint32_t kRegistryValueBuffer = 1024;

// The values of HKEY_CURRENT_USER\<path> named in `names`, read in one
// opening of the key; missing ones are left out. False when the key cannot
// be opened for reading.
bool ReadUserKey(const std::string& path, const std::vector<std::string>& names, StoredGroup* values);

}  // namespace quillon

// The one attached game controller whose buttons the configurator shows while
// the user edits controller actions, read as the runtime reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

// Opens the first attached controller with this product name (the name the
// controller list shows); false when none is attached or it cannot be read.
// Replaces a controller opened before.
bool OpenWatchedController(const std::string& productName);
// Bit i set while button i + 1 is held, buttons 1 to 10; none when no
// controller is open or it can no longer be read (unplugged).
std::optional<uint32_t> ReadWatchedButtons();
void CloseWatchedController();

}  // namespace quillon

// The one attached game controller whose buttons and directions the
// configurator shows while the user edits controller actions, read as the
// runtime reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "shared/entry_rules.h"

namespace quillon {

// Opens the first attached controller with this product name (the name the
// controller list shows); false when none is attached or it cannot be read.
// Replaces a controller opened before.
bool OpenWatchedController(const std::string& productName);
// What is held: buttons 1 to 32 (the device's count, at most 32) and the
// directions of the stick and the first hat (HeldDirections); none when no
// controller is open or it can no longer be read (unplugged).
std::optional<ControllerInput> ReadWatchedInput();
void CloseWatchedController();

}  // namespace quillon

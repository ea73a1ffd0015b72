// Which map a front end asks for. A front end runs a command before and
// after each game ("quillon.exe G pacman", "quillon.exe E"); a second copy
// hands it to the running one.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/command_tail.h"

namespace quillon {

struct RuntimeSettings;

// The list position a command asks for: for "G" the first map whose games
// list holds the game, else the default map; for "E" the default map; for
// "M" the map of that name (letters compare without case), else the map at
// that 1-based position. None for "M" with a name that is no map, and for
// every other request.
std::optional<uint32_t> MapForCommand(const RuntimeSettings& settings, const RemoteCommand& command);

}  // namespace quillon

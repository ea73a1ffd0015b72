// The game controllers attached to this computer, as the configurator offers
// them for the runtime to poll.
#pragma once

#include <string>
#include <vector>

namespace quillon {

// The product names of the attached game controllers (joysticks, gamepads and
// the like), in the order the system lists them, each exactly as the runtime
// compares it with SwitchDevice. Empty when there is none, or when the
// system's controller input cannot be reached at all.
std::vector<std::string> EnumerateAttachedControllers();

}  // namespace quillon

// The game controllers attached now, by product name in enumeration order;
// empty when DirectInput is unavailable. (Placeholder until the controller
// listing lands; same declaration.)
#pragma once

#include <string>
#include <vector>

namespace quillon {

std::vector<std::string> EnumerateAttachedControllers();

}  // namespace quillon

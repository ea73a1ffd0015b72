// The attached game controllers for tests: whatever the test plugs in.
#pragma once

#include <string>
#include <vector>

#include "configurator/seams/controller_list.h"

namespace quillon {

// From now on EnumerateAttachedControllers lists exactly these product names,
// in this order ({} as when nothing is attached or DirectInput is missing).
void SetAttachedControllers(std::vector<std::string> names);

}  // namespace quillon

// Requests that the runtime posts to its own main window.
#pragma once

namespace quillon {

// Asks the main window to open the application switcher once the current
// input callback has returned.
void PostShowSwitcherRequest();

}  // namespace quillon

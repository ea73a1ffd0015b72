// The pop-up application switcher: a menu of the visible top-level windows.
#pragma once

namespace quillon {

// Shows the menu in the screen corner away from the taskbar and acts on the
// choice. A second call while the menu is open cancels the open one first.
void ShowAppSwitcher();

}  // namespace quillon

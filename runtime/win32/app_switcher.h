// The pop-up application switcher.
#pragma once

namespace quillon {

void ShowAppSwitcher();

}  // namespace quillon

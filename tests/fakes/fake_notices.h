// The notification area and the screen as the runtime's notices see them: at
// most one icon with a tip, at most one name showing. The shell can be told
// to be missing, as it is before Explorer has started.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillon::fake_notices {

// No icon, no name, a shell that takes icons.
void Reset();
void SetShellMissing(bool missing);

// The tip of the icon in the notification area, or none.
std::optional<std::string> IconTip();
// The name on screen, or none.
std::optional<std::string> NameShowing();
// Every name shown so far, in order.
const std::vector<std::string>& NamesShown();

}  // namespace quillon::fake_notices

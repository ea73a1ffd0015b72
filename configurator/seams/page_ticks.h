// A steady tick to the "Actions" page while it shows something live; each
// tick runs OnActionsPageTick (configurator/actions_page.h).
#pragma once

namespace quillon {

// Restarts the ticks at this interval.
void StartPageTicks(int intervalMs);
void StopPageTicks();

}  // namespace quillon

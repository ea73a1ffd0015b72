// A steady tick to the "Actions" page while it shows something live; each
// tick runs OnActionsPageTick (configurator/controller_live.h).
#pragma once

namespace quillon {

// Restarts the ticks at this interval.
void StartPageTicks(int intervalMs);
void StopPageTicks();

}  // namespace quillon

// Requests that the runtime posts to its own main window.
#pragma once

namespace quillon {

// Asks the main window to run the action the keyboard hook matched, once the
// hook callback has returned (RunPostedHookAction).
void PostHookActionRequest();
// Posts the marker behind the hot keys that the runtime's own keys set off
// (OwnKeysMarkerArrived).
void PostOwnKeysMarker();

}  // namespace quillon

// Hearing, without polling, which window comes to the front and when the
// window whose game chose the map is closed. The Windows side hears it from
// window events and posts it to the main window, whose procedure hands it to
// game_window.h; nothing runs while no window changes.
#pragma once

#include "runtime/seams/window_system.h"

namespace quillon {

// Starts hearing of each window that comes to the front; false when the
// system took no hook (then nothing is heard, as with FollowGame off).
bool StartForegroundEvents();
// Stops hearing of the front and of the watched window's closing.
void StopForegroundEvents();
// From now on hears of `window` being destroyed or its program ending, and
// of no other window (nullptr: of none). The same closing may be heard
// twice, once each way.
void WatchWindowClosing(WindowHandle window);
// The window in front now; nullptr when none is.
WindowHandle WindowInFront();

}  // namespace quillon

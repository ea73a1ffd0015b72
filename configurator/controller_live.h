// The controller, live: while the "Actions" page shows the controller list
// and is on the screen, the "Button combo" boxes of the buttons held on the
// controller chosen on "Other settings" are lit, and a short note stands in
// when that controller cannot be read. Nothing is read, and no tick runs,
// while the page is hidden or the window minimised.
#pragma once

#include <cstdint>
#include <optional>

namespace quillon {

// 40 reads a second: a press as short as a tap is seen at least once.
inline constexpr int kLiveTickMs = 25;

// The Win32 side says whether the page can be seen (its tab shown and the
// window not minimised).
void SetActionsPageOnScreen(bool onScreen);
// Decides again what to watch: after the list shown changed, and whenever
// press-to-set starts.
void UpdateControllerWatch();
// Each page tick.
void OnActionsPageTick();
// True while the chosen controller is open and was read at the last tick.
bool ControllerReadable();

}  // namespace quillon

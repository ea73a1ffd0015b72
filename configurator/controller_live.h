// The controller, live: while the "Actions" page shows the controller list
// and is on the screen, the boxes of the buttons and directions held on the
// controller chosen on "Other settings" are lit, and a short note stands in
// when that controller cannot be read. Nothing is read, and no tick runs,
// while the page is hidden or the window minimised.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "configurator/press_to_set.h"
#include "shared/entry_rules.h"

namespace quillon {

// 40 reads a second: a press as short as a tap is seen at least once.
inline constexpr int kLiveTickMs = 25;

// What the action editor watches, which it owns. Its press-to-set wait is
// handed in beside it: the wait keeps the ticks running and reads what each
// tick brings.
struct LiveController {
  bool onScreen = false;
  bool ticking = false;
  bool open = false;
  std::string watchedName;
  int ticksSinceOpen = 0;
  std::optional<ControllerInput> held;
};

// Whether the page can be seen (its tab shown and the window not
// minimised); a wait ends when it cannot.
void SetLiveControllerOnScreen(LiveController& live, PressToSet& press, bool onScreen);
// Decides again what to watch: after the list shown changed, and whenever
// press-to-set starts.
void UpdateControllerWatch(LiveController& live, const PressToSet& press);
// Each page tick.
void OnLiveControllerTick(LiveController& live, PressToSet& press);
// True while the chosen controller is open and was read at the last tick.
bool ControllerReadable(const LiveController& live);

}  // namespace quillon

// The timers of the runtime's main window.
#pragma once

#include <cstdint>

namespace quillon {

enum RuntimeTimerId : unsigned {
  ChangeTimerId = 1,  // map hand-over after the last map request
  PollTimerId = 2,    // controller poll
  IconTimerId = 3,    // another try at the notification icon
  SettleTimerId = 4,  // a window has stayed in front long enough to choose the map
  // Repeating presses, one timer each: 16 up to 16 + kMaxRepeatingPresses - 1
  // (held_actions.h).
  FirstRepeatTimerId = 16,
};

// Starts (or restarts) timer `id` on the main window; returns the identifier
// the system gave it, 0 on failure.
uintptr_t StartWindowTimer(unsigned id, uint32_t intervalMs);
void StopWindowTimer(unsigned id);

}  // namespace quillon

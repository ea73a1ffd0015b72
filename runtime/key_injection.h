// Typing a key sequence into the focused window as one uninterrupted burst.
#pragma once

#include <cstdint>

namespace quillon {

// Parses `sequence` (nullptr or "" allowed) and injects its events, pausing
// `pauseMs` after each. Returns 0 when every event went out (or there were
// none), the parser's position (> 0) on a syntax error, -2 when the system
// refused an event, -3 on any other fault. Never leaves a key held down.
int32_t SendKeySequence(const char* sequence, uint32_t pauseMs);

}  // namespace quillon

// Injecting keyboard events into the system's input stream, and reading
// which modifier keys are down.
#pragma once

#include <cstdint>

#include "shared/key_event.h"

namespace quillon {

// The modifier keys one by one, each side apart: what HeldModifierKeys
// returns, as a set of bits.
enum ModifierKey : uint32_t {
  kLeftShiftKey = 1,
  kRightShiftKey = 2,
  kLeftCtrlKey = 4,
  kRightCtrlKey = 8,
  kLeftAltKey = 16,
  kRightAltKey = 32,
  kLeftWinKey = 64,
  kRightWinKey = 128,
  kEveryModifierKey = 255,
};

// Holds off (or lets through again) the user's own keyboard and mouse input.
// Whether the system agreed is not reported: a burst goes out either way.
void BlockUserInput(bool block);
// Submits `count` events in one call: the system inserts them one after the
// other, with no other input in between. Returns how many it inserted, from
// the first on; fewer than `count` when it refused one, and none after it.
uint32_t InjectKeyEvents(const KeyEvent* events, uint32_t count);
// The modifier keys (ModifierKey bits) among `among` that are down at this
// moment, as the system's key state says: whoever put them down. Only those
// are read; under Wine each reading costs some microseconds.
uint32_t HeldModifierKeys(uint32_t among = kEveryModifierKey);
void SleepMilliseconds(uint32_t milliseconds);

}  // namespace quillon

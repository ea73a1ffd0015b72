// Injecting keyboard events into the system's input stream.
#pragma once

#include <cstdint>

#include "shared/key_event.h"

namespace quillon {

// Holds off (or lets through again) the user's own keyboard and mouse input.
// Whether the system agreed is not reported: a burst goes out either way.
void BlockUserInput(bool block);
// Submits one event on its own; returns the number of events the system
// inserted (0 when it refused).
uint32_t InjectKeyEvent(const KeyEvent& event);
void SleepMilliseconds(uint32_t milliseconds);

}  // namespace quillon

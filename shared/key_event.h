// One keyboard event as the runtime injects it, and the list of events that
// types one key sequence.
#pragma once

#include <cstdint>

namespace quillon {

inline constexpr uint32_t kInputKeyboard = 1;
inline constexpr uint32_t kKeyEventExtended = 1;
inline constexpr uint32_t kKeyEventKeyUp = 2;

// Every event the runtime injects carries one of these in its extra info, so
// that key capture can tell the runtime's own keys from the user's and an
// action can never set itself off. A hold word ("{ALT DOWN}") has its own tag:
// it is meant to outlast the burst that sent it.
inline constexpr uintptr_t kInjectedEventTag = 0x51554C4E;      // "QULN"
inline constexpr uintptr_t kInjectedHoldEventTag = 0x51554C48;  // "QULH"

inline bool IsRuntimeInjected(uintptr_t extraInfo) {
  return extraInfo == kInjectedEventTag || extraInfo == kInjectedHoldEventTag;
}

// One keyboard event, field for field the platform's keyboard input record.
struct KeyEvent {
  uint32_t type = kInputKeyboard;
  uint16_t virtualKey = 0;
  uint16_t scanCode = 0;
  uint32_t flags = 0;  // kKeyEventExtended, kKeyEventKeyUp
  uint32_t time = 0;   // tick count when the event was added to the list
  uintptr_t extraInfo = kInjectedEventTag;
};

// The events of one sequence in sending order. The room starts at 40 events
// and doubles whenever it is full.
struct KeyEventList {
  KeyEvent* events = nullptr;
  uint32_t count = 0;
  uint32_t capacity = 0;
};

inline constexpr uint32_t kInitialKeyEventCapacity = 40;

}  // namespace quillon

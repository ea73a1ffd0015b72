// Who pressed an entry whose action lasts as long as the press
// (held_actions.h).
#pragma once

#include <cstdint>

namespace quillon {

// Who pressed, so that the press's end finds what it started: a controller
// entry held on one pad, or a keyboard entry's key. A press whose end is
// never reported (a hot key: the system tells of the key-down only) is
// `Once`: a hold entry then types its keys down and up, and a repeat entry
// types its sequence once.
struct PressSource {
  enum class Kind : uint8_t { Once, Pad, Key };
  Kind kind = Kind::Once;
  uint32_t id = 0;  // the pad's place among the pads polled, or the virtual key
  friend bool operator==(const PressSource&, const PressSource&) = default;
};

}  // namespace quillon

// The keyboard the key-sequence tests run against: the fake US layout
// natively, Wine's real US layout in the windows build.
#pragma once

#include <cstdint>

namespace quillon::keyboard_under_test {

// Back to Caps Lock off (and, natively, the fake's defaults).
void Reset();
// Sets the Caps Lock toggle as the parser will read it on this thread.
void SetCapsLock(bool on);
// The tick count as the parser's time stamps see it.
uint32_t Now();

}  // namespace quillon::keyboard_under_test

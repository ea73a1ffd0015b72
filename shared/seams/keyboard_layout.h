// What the key-sequence parser asks of the keyboard: the current layout's
// translations, the Caps Lock toggle and the clock for the events' stamps.
#pragma once

#include <cstdint>

namespace quillon {

// How the current layout types one character.
struct CharacterKeys {
  bool producible;     // false: no key of the layout gives this character
  uint8_t virtualKey;  // the key that types it
  uint8_t shiftState;  // bit 0 Shift, bit 1 Ctrl, bit 2 Alt; higher bits are the layout's own
};

// The layout's hardware scan code for `virtualKey`; 0 when it has none.
uint16_t LayoutScanCode(uint16_t virtualKey);
// How the layout types `character` (a byte of the ANSI code page).
CharacterKeys LayoutKeysOfCharacter(unsigned char character);
// Whether Caps Lock is toggled on, as the calling thread sees it.
bool CapsLockToggledOn();
// The system tick count in milliseconds.
uint32_t SystemTickCount();

}  // namespace quillon

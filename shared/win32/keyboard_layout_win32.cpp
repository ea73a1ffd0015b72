#include <windows.h>

#include "shared/seams/keyboard_layout.h"

namespace quillon {

uint16_t LayoutScanCode(uint16_t virtualKey) {
  return static_cast<uint16_t>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
}

CharacterKeys LayoutKeysOfCharacter(unsigned char character) {
  SHORT translation = VkKeyScanA(static_cast<CHAR>(character));
  if (translation == -1) return CharacterKeys{false, 0, 0};
  unsigned bits = static_cast<unsigned short>(translation);
  return CharacterKeys{true, static_cast<uint8_t>(bits & 0xFF), static_cast<uint8_t>(bits >> 8)};
}

// The thread's key state, read while no keyboard message is in hand (the
// action runs from a posted or hot-key message), is the desktop's state as
// it is now: Wine brings it up to date on every call, even for a thread that
// never has the focus, as the runtime's never does. Reading the focused
// program's state by sharing its input (AttachThreadInput) is no better:
// attaching resets the key state of the threads attached, so a key that the
// runtime holds down would stop counting in that program.
bool CapsLockToggledOn() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

uint32_t SystemTickCount() { return GetTickCount(); }

}  // namespace quillon

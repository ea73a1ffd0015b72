#include <windows.h>

#include "runtime/seams/keyboard_layout.h"

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

// The thread's own toggle. Under Wine a thread that is not handling a key
// reads the desktop's current state here. Sharing the focused program's
// input state (AttachThreadInput) to read its toggle was tried and dropped:
// attaching and detaching disturbed that program's own key state, so a key
// the runtime held down no longer counted there.
bool CapsLockToggledOn() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

uint32_t SystemTickCount() { return GetTickCount(); }

}  // namespace quillon

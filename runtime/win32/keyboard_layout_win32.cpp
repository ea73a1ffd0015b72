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

// A thread's key state changes only as the thread takes keyboard messages
// from its queue. The runtime's thread never has the keyboard focus, so its
// own copy of the Caps Lock toggle is whatever it was when it last saw a key.
// The toggle that decides what the user's program types is the one of the
// thread that has the keyboard: read it there, sharing that thread's input
// state for the moment of the read.
bool CapsLockToggledOn() {
  DWORD self = GetCurrentThreadId();
  HWND foreground = GetForegroundWindow();
  DWORD owner = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  bool attached = owner != 0 && owner != self && AttachThreadInput(self, owner, TRUE) != FALSE;
  bool on = (GetKeyState(VK_CAPITAL) & 1) != 0;
  if (attached) AttachThreadInput(self, owner, FALSE);
  return on;
}

uint32_t SystemTickCount() { return GetTickCount(); }

}  // namespace quillon

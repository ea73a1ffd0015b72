#include <windows.h>

#include "tests/key_sequences/keyboard_under_test.h"

namespace quillon::keyboard_under_test {

void Reset() { SetCapsLock(false); }

// The thread's own key state is what GetKeyState reads, so setting it is
// enough for the parser and touches nothing outside this test process.
void SetCapsLock(bool on) {
  BYTE state[256];
  GetKeyboardState(state);
  if (on) state[VK_CAPITAL] |= 1;
  else state[VK_CAPITAL] &= static_cast<BYTE>(~1);
  SetKeyboardState(state);
}

uint32_t Now() { return GetTickCount(); }

}  // namespace quillon::keyboard_under_test

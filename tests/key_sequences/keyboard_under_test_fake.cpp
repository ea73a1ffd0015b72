#include "tests/fakes/fake_keyboard.h"
#include "tests/key_sequences/keyboard_under_test.h"

namespace quillon::keyboard_under_test {

void Reset() { fake_keyboard::Reset(); }
void SetCapsLock(bool on) { fake_keyboard::SetCapsLock(on); }
uint32_t Now() { return 1000; }

}  // namespace quillon::keyboard_under_test

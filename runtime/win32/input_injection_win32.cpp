#include <windows.h>

#include <vector>

#include "runtime/seams/input_injection.h"

namespace quillon {

void BlockUserInput(bool block) { BlockInput(block ? TRUE : FALSE); }

uint32_t InjectKeyEvents(const KeyEvent* events, uint32_t count) {
  if (count == 0) return 0;
  std::vector<INPUT> inputs(count);
  for (uint32_t i = 0; i < count; ++i) {
    INPUT& input = inputs[i];
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = events[i].virtualKey;
    input.ki.wScan = events[i].scanCode;
    input.ki.dwFlags = events[i].flags;
    input.ki.time = events[i].time;
    input.ki.dwExtraInfo = events[i].extraInfo;
  }
  return SendInput(count, inputs.data(), sizeof(INPUT));
}

// The asynchronous state: the runtime's thread never has the keyboard focus,
// so its own (synchronous) key state lags behind what is held now. The sided
// codes are what a keyboard's keys set; a generic code down with neither
// side (another program injected the bare code, say) counts as the left key.
uint32_t HeldModifierKeys(uint32_t among) {
  const struct {
    int generic, left, right;
    uint32_t leftBit, rightBit;
  } kinds[] = {{VK_SHIFT, VK_LSHIFT, VK_RSHIFT, kLeftShiftKey, kRightShiftKey},
               {VK_CONTROL, VK_LCONTROL, VK_RCONTROL, kLeftCtrlKey, kRightCtrlKey},
               {VK_MENU, VK_LMENU, VK_RMENU, kLeftAltKey, kRightAltKey},
               {0, VK_LWIN, VK_RWIN, kLeftWinKey, kRightWinKey}};
  auto down = [](int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; };
  uint32_t held = 0;
  for (const auto& kind : kinds) {
    uint32_t sides = 0;
    if ((among & kind.leftBit) && down(kind.left)) sides |= kind.leftBit;
    if ((among & kind.rightBit) && down(kind.right)) sides |= kind.rightBit;
    // The generic code down with neither side counts as the left key; with
    // the right key not asked about, it may be the right key's.
    if (sides == 0 && (among & kind.leftBit) && kind.generic != 0 && down(kind.generic) &&
        ((among & kind.rightBit) || !down(kind.right)))
      sides = kind.leftBit;
    held |= sides;
  }
  return held;
}

void SleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace quillon

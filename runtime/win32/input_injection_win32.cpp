#include <windows.h>

#include "runtime/seams/input_injection.h"

namespace quillon {

void BlockUserInput(bool block) { BlockInput(block ? TRUE : FALSE); }

uint32_t InjectKeyEvent(const KeyEvent& event) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = event.virtualKey;
  input.ki.wScan = event.scanCode;
  input.ki.dwFlags = event.flags;
  input.ki.time = event.time;
  input.ki.dwExtraInfo = event.extraInfo;
  return SendInput(1, &input, sizeof(INPUT));
}

void SleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace quillon

#include <windows.h>

#include "shared/key_event.h"
#include "runtime/keyboard_capture.h"
#include "runtime/seams/hot_keys_and_hook.h"
#include "runtime/win32/main_window_handle.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {

HHOOK g_keyboardHook = nullptr;

bool IsDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// The modifiers held while the hooked key went down. The hook runs on the
// runtime's thread, which never has the keyboard focus, so its synchronous
// key state can lag behind; the asynchronous state is what the user holds.
// Alt also counts when the event says so, and either Windows key counts.
uint32_t HeldModifiers(const KBDLLHOOKSTRUCT& event) {
  uint32_t modifiers = 0;
  if ((event.flags & LLKHF_ALTDOWN) != 0 || IsDown(VK_MENU)) modifiers |= ModifierAlt;
  if (IsDown(VK_CONTROL)) modifiers |= ModifierCtrl;
  if (IsDown(VK_SHIFT)) modifiers |= ModifierShift;
  if (IsDown(VK_LWIN) || IsDown(VK_RWIN)) modifiers |= ModifierWin;
  return modifiers;
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM lParam) {
  // Keys pressed while Alt is held (and F10) arrive as system key-downs;
  // Alt combinations must be capturable too.
  if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
    const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (HookWatchesKey(event.vkCode) && HandleHookKeyDown(event.vkCode, HeldModifiers(event), event.dwExtraInfo))
      return 1;
  }
  return CallNextHookEx(g_keyboardHook, code, message, lParam);
}

}  // namespace

bool RegisterCaptureHotKey(int id, uint32_t modifiers, uint32_t virtualKey) {
  return RegisterHotKey(MainWindowHandle(), id, modifiers, virtualKey) != FALSE;
}

void UnregisterCaptureHotKey(int id) { UnregisterHotKey(MainWindowHandle(), id); }

bool InstallKeyboardHook() {
  if (g_keyboardHook == nullptr)
    g_keyboardHook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, GetModuleHandleA(nullptr), 0);
  return g_keyboardHook != nullptr;
}

// 0xE8 is a virtual key that no keyboard has and no program acts on.
void SendNeutralKeyPress() {
  constexpr WORD kNeutralKey = 0xE8;
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = kNeutralKey;
    input.ki.dwExtraInfo = kInjectedEventTag;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void RemoveKeyboardHook() {
  if (g_keyboardHook == nullptr) return;
  UnhookWindowsHookEx(g_keyboardHook);
  g_keyboardHook = nullptr;
}

}  // namespace quillon

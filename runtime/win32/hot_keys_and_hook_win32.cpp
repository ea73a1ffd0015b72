#include <windows.h>

#include "runtime/seams/hot_keys_and_hook.h"
#include "runtime/win32/main_window_handle.h"

namespace quillon {

namespace {
HHOOK g_keyboardHook = nullptr;

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM event) {
  return CallNextHookEx(g_keyboardHook, code, message, event);
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

void RemoveKeyboardHook() {
  if (g_keyboardHook == nullptr) return;
  UnhookWindowsHookEx(g_keyboardHook);
  g_keyboardHook = nullptr;
}

}  // namespace quillon

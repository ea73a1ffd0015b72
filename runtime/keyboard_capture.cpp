#include "runtime/keyboard_capture.h"

#include "runtime/action_dispatch.h"
#include "runtime/seams/hot_keys_and_hook.h"
#include "runtime/settings_store.h"

namespace quillon {

namespace {
bool HookModeWithEntries() { return g_settings.useHook && g_settings.keyCount > 0; }
}  // namespace

void ArmKeyAction(uint32_t number) {
  RuntimeSettings& s = g_settings;
  const KeyAction& entry = s.keyActions[number];
  if (entry.virtualKey < 1 || entry.virtualKey > 255) return;
  if (s.useHook) {
    s.keyIndex[entry.virtualKey] = uint8_t(number);  // a later entry replaces an earlier one
  } else {
    // A combination that another program holds is simply not captured.
    (void)RegisterCaptureHotKey(HotKeyIdOf(number), entry.modifier, entry.virtualKey);
  }
}

void InstallCaptureHook() {
  if (g_settings.useKeyboard && HookModeWithEntries()) (void)InstallKeyboardHook();
}

void ReleaseKeyboardCapture() {
  if (HookModeWithEntries()) {
    RemoveKeyboardHook();
    return;
  }
  for (uint32_t n = 1; n <= g_settings.keyCount; ++n) UnregisterCaptureHotKey(HotKeyIdOf(n));
}

bool HandleHookKeyDown(uint32_t virtualKey, uint32_t heldModifiers) {
  if (virtualKey > 255) return false;
  uint32_t number = g_settings.keyIndex[virtualKey];
  if (number == 0 || number > g_settings.keyCount) return false;
  if (heldModifiers != g_settings.keyActions[number].modifier) return false;
  // Swallowed whatever the action then does. It runs on a copy: a
  // configuration change started from here may reload the settings.
  KeyAction entry = g_settings.keyActions[number];
  RunAction(entry, CapturedBy::KeyboardHook);
  return true;
}

}  // namespace quillon

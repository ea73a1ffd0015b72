#include "runtime/keyboard_capture.h"

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

}  // namespace quillon

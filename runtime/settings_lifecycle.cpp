#include "runtime/settings_lifecycle.h"

#include "runtime/controller_poll.h"
#include "runtime/key_injection.h"
#include "runtime/keyboard_capture.h"
#include "runtime/map_switching.h"
#include "runtime/settings_store.h"

namespace quillon {

void LoadSettings() {
  ReadSettings();
  RuntimeSettings& s = g_settings;
  if (s.useKeyboard)
    for (uint32_t n = 1; n <= s.keyCount; ++n) ArmKeyAction(n);
  s.firstRequestPending = !s.applyOnStart;
  ResetToDefaultMap();
  if (s.useJoystick) InitController();
  InstallCaptureHook();
}

void UnloadSettings() {
  RuntimeSettings& s = g_settings;
  if (s.useKeyboard) ReleaseKeyboardCapture();
  if (s.useJoystick) {
    StopPollTimer();
    ReleaseController();
  }
  StopChangeTimer();
  // Holds that an action's "{ALT DOWN}" left for a later one end with the
  // settings that made them.
  ReleaseHeldKeys();
  ClearSettings();
}

void StopTimersAndController() {
  StopPollTimer();
  StopChangeTimer();
  if (g_settings.useJoystick) ReleaseController();
}

void EndRuntime() {
  StopTimersAndController();
  ReleaseKeyboardCapture();
  ReleaseHeldKeys();
}

}  // namespace quillon

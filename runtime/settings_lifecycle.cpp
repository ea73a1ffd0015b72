#include "runtime/settings_lifecycle.h"

#include "runtime/controller_poll.h"
#include "runtime/key_injection.h"
#include "runtime/keyboard_capture.h"
#include "runtime/map_switching.h"
#include "runtime/modal_boxes.h"
#include "runtime/runtime_ending.h"
#include "runtime/seams/process_services.h"
#include "runtime/settings_store.h"

namespace quillon {

namespace {
bool g_loading = false;
bool g_reloadWaiting = false;
bool g_runningWaitingReloads = false;
}  // namespace

bool StartRuntime() {
  if (ExecutablePath().empty()) return false;
  PrepareKeyboardLayout();
  LoadSettings();
  return true;
}

void LoadSettings() {
  g_loading = true;
  ReadSettings();
  RuntimeSettings& s = g_settings;
  if (s.useKeyboard)
    for (uint32_t n = 1; n <= s.keyCount; ++n) ArmKeyAction(n);
  s.firstRequestPending = !s.applyOnStart;
  ResetToDefaultMap();
  if (s.useJoystick) InitController();
  InstallCaptureHook();
  g_loading = false;
  RunWaitingReload();
}

void ReloadSettings() {
  if (g_loading || BoxOpen()) {
    g_reloadWaiting = true;
    return;
  }
  UnloadSettings();
  LoadSettings();
}

void RunWaitingReload() {
  // Each reload that runs here may show its box again and fold the next
  // requests; the loop, not the stack, takes them in turn.
  if (g_runningWaitingReloads) return;
  g_runningWaitingReloads = true;
  while (g_reloadWaiting && !g_loading && !BoxOpen()) {
    g_reloadWaiting = false;
    UnloadSettings();
    LoadSettings();
  }
  g_runningWaitingReloads = false;
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
  BeginRuntimeEnd();
  StopPollTimer();
  StopChangeTimer();
  if (g_settings.useJoystick) ReleaseController();
}

void EndRuntime() {
  BeginRuntimeEnd();
  StopTimersAndController();
  ReleaseKeyboardCapture();
  ReleaseHeldKeys();
}

}  // namespace quillon

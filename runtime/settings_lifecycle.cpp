#include "runtime/settings_lifecycle.h"

#include <string>

#include "runtime/controller_poll.h"
#include "runtime/held_actions.h"
#include "runtime/game_window.h"
#include "runtime/key_injection.h"
#include "runtime/keyboard_capture.h"
#include "runtime/map_switching.h"
#include "runtime/modal_boxes.h"
#include "runtime/runtime_ending.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/process_services.h"
#include "runtime/seams/warning_box.h"
#include "runtime/user_notices.h"

namespace quillon {

bool StartRuntime(Runtime& runtime) {
  if (ExecutablePath().empty()) return false;
  PrepareKeyboardLayout();
  LoadSettings(runtime);
  return true;
}

namespace {

std::string HeldUpText(const char* outcome) {
  return "Another program has been changing Quillon's settings for more than " +
         std::to_string(kSettingsLockWaitMs / 1000) + " seconds. Quillon " + outcome +
         ": choose Apply in the configurator once it has finished.";
}

void Warn(Runtime& runtime, const std::string& text) {
  WithBoxOpen(runtime.boxes, [&text] { ShowWarningBox(text); });
}

// Arms capture, polling and the default map from `fresh`, which becomes the
// runtime's settings.
void ArmSettings(Runtime& runtime, RuntimeSettings&& fresh) {
  runtime.reloads.loading = true;
  RuntimeSettings& s = runtime.settings;
  s = std::move(fresh);
  if (s.useKeyboard) ArmKeyCapture(runtime);
  runtime.map.firstRequestPending = !s.applyOnStart;
  ResetToDefaultMap(runtime, StartFollowingGame(runtime));
  if (s.useJoystick) InitController(runtime);
  // The controller's error box runs a message loop, in which "Q" or Exit may
  // have ended the runtime: the hook and the icon must not come back after.
  if (RuntimeEnding()) {
    runtime.reloads.loading = false;
    return;
  }
  InstallCaptureHook(runtime);
  RefreshNotices(runtime);
  runtime.reloads.loading = false;
  RunWaitingReload(runtime);
}

// A reload reads first and lets go of nothing until it has read: when a
// writer holds the tree for the whole wait, everything stays as it was, and
// the writer's own reload request follows its write.
void ReloadNow(Runtime& runtime) {
  RuntimeSettings fresh;
  if (!ReadSettingsWhole(fresh)) {
    Warn(runtime, HeldUpText("kept the settings it had"));
    return;
  }
  UnloadSettings(runtime);
  if (RuntimeEnding()) return;
  ArmSettings(runtime, std::move(fresh));
}

}  // namespace

void LoadSettings(Runtime& runtime) {
  // Once the end has begun nothing is armed again: the end released it all,
  // and no WM_DESTROY is left to release it a second time.
  if (RuntimeEnding()) return;
  // Requests that arrive during the box below are folded.
  runtime.reloads.loading = true;
  RuntimeSettings fresh;
  if (!ReadSettingsWhole(fresh)) {
    // A start has no settings to keep: what is stored is read as it is.
    ReadSettings(fresh);
    Warn(runtime, HeldUpText("read them as they were, and some may be missing"));
    if (RuntimeEnding()) {
      runtime.reloads.loading = false;
      return;
    }
  }
  ArmSettings(runtime, std::move(fresh));
}

void ReloadSettings(Runtime& runtime) {
  if (RuntimeEnding()) return;
  if (runtime.reloads.loading || BoxOpen(runtime.boxes)) {
    runtime.reloads.waiting = true;
    return;
  }
  ReloadNow(runtime);
  RunWaitingReload(runtime);  // folded while the box said the settings were kept
}

void RunWaitingReload(Runtime& runtime) {
  ReloadQueue& reloads = runtime.reloads;
  // Each reload that runs here may show its box again and fold the next
  // requests; the loop, not the stack, takes them in turn.
  if (reloads.runningWaiting) return;
  reloads.runningWaiting = true;
  // A reload folded while a box was open is dropped when the runtime ended
  // inside that box.
  if (RuntimeEnding()) reloads.waiting = false;
  while (reloads.waiting && !reloads.loading && !BoxOpen(runtime.boxes) && !RuntimeEnding()) {
    reloads.waiting = false;
    ReloadNow(runtime);
  }
  reloads.runningWaiting = false;
}

void UnloadSettings(Runtime& runtime) {
  RuntimeSettings& s = runtime.settings;
  if (s.useKeyboard) ReleaseKeyboardCapture(runtime);
  if (s.useJoystick) {
    StopPollTimer(runtime.poll);
    ReleaseController(runtime.poll);
  }
  StopChangeTimer(runtime.map);
  StopFollowingGame(runtime);
  // Holds that an action's "{ALT DOWN}" left for a later one end with the
  // settings that made them, and so does every press that lasts.
  EndEveryPress(runtime);
  ReleaseHeldKeys(runtime.held);
  ClearSettings(s);
}

void StopTimersAndController(Runtime& runtime) {
  BeginRuntimeEnd();
  EndEveryPress(runtime);
  StopPollTimer(runtime.poll);
  StopChangeTimer(runtime.map);
  StopFollowingGame(runtime);
  if (runtime.settings.useJoystick) ReleaseController(runtime.poll);
}

void EndRuntime(Runtime& runtime) {
  BeginRuntimeEnd();
  StopTimersAndController(runtime);
  ReleaseKeyboardCapture(runtime);
  ReleaseHeldKeys(runtime.held);
  EndNotices(runtime.notices);
}

}  // namespace quillon

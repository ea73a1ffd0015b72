#include "runtime/controller_poll.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "runtime/action_dispatch.h"
#include "runtime/modal_boxes.h"
#include "runtime/seams/controller_device.h"
#include "runtime/seams/window_timers.h"
#include "runtime/settings_store.h"
#include "shared/entry_rules.h"

namespace quillon {

namespace {

// Only buttons 1 to 10 can be bound (the Buttons mask has ten bits).
constexpr uint32_t kMaxReadButtons = 10;
constexpr uint8_t kHeldBit = 0x80;
// An unplugged controller reports lost input on every acquire; the tick must
// still return to the message loop, so it gives up after this many tries and
// the next tick tries again.
constexpr int kMaxAcquireAttempts = 8;
constexpr const char* kInitErrorText = "Error Initializing DirectInput";

bool g_inputSystem = false;
ControllerHandle g_controller = nullptr;
uint32_t g_controllerButtons = 0;
uintptr_t g_pollTimer = 0;
// Each tick reads the buttons once and returns, so the message loop never
// waits for a release: a low-level keyboard hook on this thread that is not
// served within the system's time-out is removed without notice, and a
// button held for a second would end keyboard capture until the next
// reload. "This press has fired" therefore outlives the tick: it is cleared
// only by a read that matches no entry (or by lost input), so a combination
// held over many ticks runs its action once. An action can pump messages
// (the switcher's menu loop, a click sent to a target window), and with them
// a nested tick: that one still reads, so a cabinet without a keyboard moves
// in an open switcher and dismisses it with buttons.
//
// The flag also outlives a reload: a "Change configuration" entry's
// configurator reloads the runtime while the user still holds the buttons,
// and the new configuration (or the old one again) must not take that hold
// as a new press. Only a read that matches nothing, lost input on a device
// that had been acquired, or a load that finds no pad ends the press.
bool g_pressFired = false;
// Whether the current device object has been acquired. A fresh one fails
// its first poll only because nobody has acquired it yet; that is not lost
// input and ends no press.
bool g_acquired = false;
int g_tickDepth = 0;

// Picks the first attached controller whose product name equals
// SwitchDevice exactly. False only when the controllers cannot be listed.
bool ChooseController() {
  std::vector<AttachedController> controllers;
  if (!ListAttachedControllers(controllers)) return false;
  for (const AttachedController& candidate : controllers) {
    ControllerHandle device = OpenController(candidate);
    if (device == nullptr) continue;
    if (candidate.productName == g_settings.switchDevice) {
      g_controller = device;
      g_controllerButtons = std::min(ControllerButtonCount(device), kMaxReadButtons);
      return true;
    }
    UnacquireController(device);
    CloseController(device);
  }
  return true;
}

// Bit i set when button i + 1 is held; false when the state cannot be read.
bool ReadHeldMask(ControllerHandle controller, uint32_t* held) {
  uint8_t buttons[kMaxReadButtons] = {};
  if (!ReadControllerButtons(controller, buttons, g_controllerButtons)) return false;
  *held = 0;
  for (uint32_t i = 0; i < g_controllerButtons; ++i)
    if (buttons[i] & kHeldBit) *held |= 1u << i;
  return true;
}

// The entry that `held` fires, by the rule the configurator checks against.
const ButtonAction* HeldEntry(uint32_t held) {
  std::array<uint32_t, kMaxActions> buttons{};
  const size_t count = g_settings.buttonCount;
  for (size_t n = 0; n < count; ++n) buttons[n] = g_settings.buttonActions[n].buttons;
  size_t n = FirstHeldEntry(std::span(buttons.data(), count), held);
  return n < count ? &g_settings.buttonActions[n] : nullptr;
}

// Reads once and runs the held combination's action if this press has not
// fired yet. Nothing touches the controller after the action: a reload
// while it runs may have released it.
void RunHeldCombination(ControllerHandle controller) {
  uint32_t held = 0;
  if (!ReadHeldMask(controller, &held)) return;
  g_acquired = true;
  const ButtonAction* entry = held == 0 ? nullptr : HeldEntry(held);
  if (entry == nullptr) {
    g_pressFired = false;
    return;
  }
  if (g_pressFired) return;
  g_pressFired = true;
  // A copy: a reload while the action runs would free the entry's texts.
  ButtonAction running = *entry;
  RunAction(running);
}

// Whether the device is acquired afterwards.
bool Reacquire(ControllerHandle controller) {
  for (int attempt = 0; attempt < kMaxAcquireAttempts; ++attempt) {
    AcquireResult result = AcquireController(controller);
    if (result != AcquireResult::InputLost) return result == AcquireResult::Ok;
  }
  return false;
}

}  // namespace

uint32_t PollIntervalMs(uint32_t pollPerSecond) {
  if (pollPerSecond == 0) pollPerSecond = kFactoryPollPerSecond;
  return 1000 / pollPerSecond;
}

void InitController() {
  // A load always follows an unload; should one ever not, the old controller
  // must not leak.
  StopPollTimer();
  ReleaseController();

  bool started = CreateInputSystem();
  if (started) {
    g_inputSystem = true;
    started = ChooseController();
  }
  if (started && g_controller != nullptr)
    started = UseJoystickDataFormat(g_controller) && ShareControllerInBackground(g_controller);
  if (g_controller == nullptr) g_pressFired = false;
  if (!started) {
    // Whatever was created stays until the next release; no polling until
    // the next load.
    WithBoxOpen([] { ShowControllerError(kInitErrorText); });
    return;
  }
  // The device is acquired by the first tick, so that tick never runs an
  // action.
  g_pollTimer = StartWindowTimer(PollTimerId, PollIntervalMs(g_settings.pollPerSecond));
}

void PollController() {
  if (g_controller == nullptr) return;
  ++g_tickDepth;
  ControllerHandle controller = g_controller;
  if (PollControllerDevice(controller)) {
    RunHeldCombination(controller);
  } else {
    bool reacquired = Reacquire(controller);
    // Input lost ends the press as a release would: a button still held
    // once the pad is back is a new press. Not for a nested tick, whose
    // outer action is still running, and not for the first acquire after a
    // load.
    if (g_tickDepth == 1 && g_acquired) g_pressFired = false;
    g_acquired = reacquired;
  }
  --g_tickDepth;
}

void FindControllerAgain() {
  if (!g_inputSystem || g_pollTimer == 0) return;
  if (g_controller != nullptr) {
    if (PollControllerDevice(g_controller) || AcquireController(g_controller) == AcquireResult::Ok) return;
    UnacquireController(g_controller);
    CloseController(g_controller);
    g_controller = nullptr;
    g_pressFired = false;  // the pad was lost: a button held once it is back is a new press
  }
  // Set up as at the load; the next tick acquires it.
  if (!ChooseController() || g_controller == nullptr) return;
  if (!UseJoystickDataFormat(g_controller) || !ShareControllerInBackground(g_controller)) {
    CloseController(g_controller);
    g_controller = nullptr;
  }
}

void StopPollTimer() {
  if (g_pollTimer != 0) {
    StopWindowTimer(PollTimerId);
    g_pollTimer = 0;
  }
}

void ReleaseController() {
  if (g_controller != nullptr) {
    UnacquireController(g_controller);
    CloseController(g_controller);
    g_controller = nullptr;
  }
  if (g_inputSystem) {
    ReleaseInputSystem();
    g_inputSystem = false;
  }
  g_controllerButtons = 0;
  g_acquired = false;
}

}  // namespace quillon

#include "runtime/controller_poll.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "runtime/action_dispatch.h"
#include "runtime/modal_boxes.h"
#include "runtime/seams/controller_device.h"
#include "runtime/seams/process_services.h"
#include "runtime/seams/window_timers.h"
#include "runtime/runtime_state.h"
#include "shared/entry_rules.h"

namespace quillon {

namespace {

// A pad with more buttons than can be bound (DIJOYSTATE2 carries 128) has
// the rest ignored; one with fewer is read only over its own.
constexpr uint32_t kMaxReadButtons = kBindableButtons;
static_assert(kMaxReadButtons <= 32, "the held mask is one 32-bit word");
constexpr uint8_t kHeldBit = 0x80;
// An unplugged controller reports lost input on every acquire; the tick must
// still return to the message loop, so it gives up after this many tries and
// the next tick tries again.
constexpr int kMaxAcquireAttempts = 8;
constexpr const char* kInitErrorText = "Error Initializing DirectInput";
// A hub that resets, a charging pad that drops out, a docking station:
// devices can come and go dozens of times a second, and every
// WM_DEVICECHANGE asks for a new listing of the controllers, which can cost
// DirectInput tens of milliseconds of the main thread each time. With the
// pad absent every one of them would list, so a listing follows another by
// at least this much; one that comes sooner is put off to the first tick
// after it, so a pad that arrived in the storm is still found.
constexpr uint32_t kMinListingIntervalMs = 1000;

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
// that had been acquired, or a load that finds no pad ends the press: hence
// PollState::pressFired.
//
// PollState::acquired: a fresh device object fails its first poll only
// because nobody has acquired it yet; that is not lost input and ends no
// press.

// Picks the first attached controller whose product name equals
// SwitchDevice exactly. False only when the controllers cannot be listed.
bool ChooseController(PollState& poll, const std::string& switchDevice) {
  poll.lastListing = ProcessClockMs();
  poll.listingPending = false;
  std::vector<AttachedController> controllers;
  if (!ListAttachedControllers(controllers)) return false;
  for (const AttachedController& candidate : controllers) {
    ControllerHandle device = OpenController(candidate);
    if (device == nullptr) continue;
    if (candidate.productName == switchDevice) {
      poll.controller = device;
      poll.controllerButtons = std::min(ControllerButtonCount(device), kMaxReadButtons);
      return true;
    }
    UnacquireController(device);
    CloseController(device);
  }
  return true;
}

// Bit i set when button i + 1 is held; false when the state cannot be read.
bool ReadHeldMask(const PollState& poll, ControllerHandle controller, uint32_t* held) {
  uint8_t buttons[kMaxReadButtons] = {};
  if (!ReadControllerButtons(controller, buttons, poll.controllerButtons)) return false;
  *held = 0;
  for (uint32_t i = 0; i < poll.controllerButtons; ++i)
    if (buttons[i] & kHeldBit) *held |= 1u << i;
  return true;
}

// The entry that `held` fires, by the rule the configurator checks against.
const ButtonAction* HeldEntry(const RuntimeSettings& s, uint32_t held) {
  std::array<ControllerInput, kMaxActions> entries{};
  const size_t count = s.buttonCount;
  for (size_t n = 0; n < count; ++n) entries[n] = {s.buttonActions[n].buttons, s.buttonActions[n].directions};
  size_t n = FirstHeldEntry(std::span(entries.data(), count), ControllerInput{held, 0});
  return n < count ? &s.buttonActions[n] : nullptr;
}

// Reads once and runs the held combination's action if this press has not
// fired yet. Nothing touches the controller after the action: a reload
// while it runs may have released it.
void RunHeldCombination(Runtime& runtime, ControllerHandle controller) {
  PollState& poll = runtime.poll;
  uint32_t held = 0;
  if (!ReadHeldMask(poll, controller, &held)) return;
  poll.acquired = true;
  const ButtonAction* entry = held == 0 ? nullptr : HeldEntry(runtime.settings, held);
  if (entry == nullptr) {
    poll.pressFired = false;
    return;
  }
  if (poll.pressFired) return;
  poll.pressFired = true;
  // A copy: a reload while the action runs would free the entry's texts.
  ButtonAction running = *entry;
  RunAction(runtime, running);
}

// Lists the controllers again and sets the named one up as at the load; the
// next tick acquires it.
void ListControllersAgain(Runtime& runtime) {
  PollState& poll = runtime.poll;
  if (!ChooseController(poll, runtime.settings.switchDevice) || poll.controller == nullptr) return;
  if (!UseJoystickDataFormat(poll.controller) || !ShareControllerInBackground(poll.controller)) {
    CloseController(poll.controller);
    poll.controller = nullptr;
  }
}

bool ListingTooSoon(const PollState& poll) { return ProcessClockMs() - poll.lastListing < kMinListingIntervalMs; }

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

void InitController(Runtime& runtime) {
  PollState& poll = runtime.poll;
  // A load always follows an unload; should one ever not, the old controller
  // must not leak.
  StopPollTimer(poll);
  ReleaseController(poll);

  bool started = CreateInputSystem();
  if (started) {
    poll.inputSystem = true;
    started = ChooseController(poll, runtime.settings.switchDevice);
  }
  if (started && poll.controller != nullptr)
    started = UseJoystickDataFormat(poll.controller) && ShareControllerInBackground(poll.controller);
  if (poll.controller == nullptr) poll.pressFired = false;
  if (!started) {
    // Whatever was created stays until the next release; no polling until
    // the next load.
    WithBoxOpen(runtime.boxes, [] { ShowControllerError(kInitErrorText); });
    return;
  }
  // The device is acquired by the first tick, so that tick never runs an
  // action.
  poll.pollTimer = StartWindowTimer(PollTimerId, PollIntervalMs(runtime.settings.pollPerSecond));
}

void PollController(Runtime& runtime) {
  PollState& poll = runtime.poll;
  if (poll.listingPending && poll.controller == nullptr && !ListingTooSoon(poll)) ListControllersAgain(runtime);
  if (poll.controller == nullptr) return;
  ++poll.tickDepth;
  ControllerHandle controller = poll.controller;
  if (PollControllerDevice(controller)) {
    RunHeldCombination(runtime, controller);
  } else {
    bool reacquired = Reacquire(controller);
    // Input lost ends the press as a release would: a button still held
    // once the pad is back is a new press. Not for a nested tick, whose
    // outer action is still running, and not for the first acquire after a
    // load.
    if (poll.tickDepth == 1 && poll.acquired) poll.pressFired = false;
    poll.acquired = reacquired;
  }
  --poll.tickDepth;
}

void FindControllerAgain(Runtime& runtime) {
  PollState& poll = runtime.poll;
  if (!poll.inputSystem || poll.pollTimer == 0) return;
  if (poll.controller != nullptr) {
    if (PollControllerDevice(poll.controller) || AcquireController(poll.controller) == AcquireResult::Ok) return;
    UnacquireController(poll.controller);
    CloseController(poll.controller);
    poll.controller = nullptr;
    poll.pressFired = false;  // the pad was lost: a button held once it is back is a new press
  }
  if (ListingTooSoon(poll)) {
    poll.listingPending = true;
    return;
  }
  ListControllersAgain(runtime);
}

void StopPollTimer(PollState& poll) {
  if (poll.pollTimer != 0) {
    StopWindowTimer(PollTimerId);
    poll.pollTimer = 0;
  }
}

void ReleaseController(PollState& poll) {
  if (poll.controller != nullptr) {
    UnacquireController(poll.controller);
    CloseController(poll.controller);
    poll.controller = nullptr;
  }
  if (poll.inputSystem) {
    ReleaseInputSystem();
    poll.inputSystem = false;
  }
  poll.controllerButtons = 0;
  poll.acquired = false;
}

}  // namespace quillon

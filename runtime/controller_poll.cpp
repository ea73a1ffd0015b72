#include "runtime/controller_poll.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "runtime/action_dispatch.h"
#include "runtime/held_actions.h"
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
// pad absent (or with EveryDevice on, where a pad may join) every one of
// them would list, so a listing follows another by
// at least this much; one that comes sooner is put off to the first tick
// after it, so a pad that arrived in the storm is still found.
constexpr uint32_t kMinListingIntervalMs = 1000;

// Each tick reads each pad once and returns, so the message loop never
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
// PolledPad::pressFired.
//
// What a held or repeating entry holds is another matter: its keys go up
// when its own combination is let go, when input is lost and when the pad
// is closed (PolledPad::pressHeld, EndPress); an unload ends every press.
// A reload thus lets the keys up but keeps "this press has fired".
//
// PolledPad::acquired: a fresh device object fails its first poll only
// because nobody has acquired it yet; that is not lost input and ends no
// press.

// Every pad of the name has its own slot, its own press and its own once-
// per-press rule: two players never make one combination, and one holding
// a combination does not keep the other's from running. With EveryDevice
// off only the first pad of the name is open, as on a desk with one stick.
//
// Across a reload a slot keeps its pad's identity and press (its device is
// closed), so that the load that opens that pad again gives it back the
// slot and the press that was held through the reload; a pad that the load
// does not find loses its press. A pad that is unplugged while running
// loses its slot at once.

// The range the stick is asked to report in; a pad that keeps its own is
// read in that one.
constexpr AxisRange kStickRange{-1000, 1000};

PressSource SourceOf(size_t slot) { return {PressSource::Kind::Pad, uint32_t(slot)}; }

bool Open(const PolledPad& pad) { return pad.device != nullptr; }
// A pad closed by a release whose press is kept for the next load.
bool Kept(const PolledPad& pad) { return !Open(pad) && pad.pressFired; }

// The press that a held or repeating entry acts for has ended.
void EndPadPress(Runtime& runtime, size_t slot) {
  PolledPad& pad = runtime.poll.pads[slot];
  if (!pad.pressHeld) return;
  pad.pressHeld = false;
  EndPress(runtime, SourceOf(slot));
}

// Closes the pad in `slot` and ends whatever its press holds.
void ClosePad(Runtime& runtime, size_t slot) {
  PolledPad& pad = runtime.poll.pads[slot];
  UnacquireController(pad.device);
  CloseController(pad.device);
  pad.device = nullptr;
  EndPadPress(runtime, slot);
  pad = PolledPad{};
}

// The slot that a newly opened pad of `instance` takes: the one it kept
// over a reload, or else a free one; kMaxPolledPads when none is left.
size_t SlotFor(const PollState& poll, const std::array<uint8_t, 16>& instance) {
  for (size_t slot = 0; slot < kMaxPolledPads; ++slot)
    if (Kept(poll.pads[slot]) && poll.pads[slot].instance == instance) return slot;
  for (size_t slot = 0; slot < kMaxPolledPads; ++slot)
    if (!Open(poll.pads[slot]) && !Kept(poll.pads[slot])) return slot;
  return kMaxPolledPads;
}

bool AlreadyOpen(const PollState& poll, const std::array<uint8_t, 16>& instance) {
  for (const PolledPad& pad : poll.pads)
    if (Open(pad) && pad.instance == instance) return true;
  return false;
}

// Opens the attached controllers whose product name equals SwitchDevice
// exactly and that are not open yet: the first one, or with EveryDevice
// every one. Bit n of `opened` is set for each slot n opened. False only
// when the controllers cannot be listed.
bool OpenNamedControllers(PollState& poll, const RuntimeSettings& s, uint32_t& opened) {
  poll.lastListing = ProcessClockMs();
  poll.listingPending = false;
  opened = 0;
  std::vector<AttachedController> controllers;
  if (!ListAttachedControllers(controllers)) return false;
  for (const AttachedController& candidate : controllers) {
    if (AlreadyOpen(poll, candidate.instance)) continue;
    ControllerHandle device = OpenController(candidate);
    if (device == nullptr) continue;
    size_t slot = candidate.productName == s.switchDevice ? SlotFor(poll, candidate.instance) : kMaxPolledPads;
    if (slot == kMaxPolledPads) {
      UnacquireController(device);
      CloseController(device);
      continue;
    }
    PolledPad& pad = poll.pads[slot];
    pad.device = device;
    pad.instance = candidate.instance;
    pad.buttons = std::min(ControllerButtonCount(device), kMaxReadButtons);
    pad.acquired = false;
    opened |= 1u << slot;
    if (s.everyDevice == 0) break;
  }
  return true;
}

// Data format, cooperation and the stick's range of a pad just opened.
bool SetUpPad(PolledPad& pad) {
  if (!UseJoystickDataFormat(pad.device) || !ShareControllerInBackground(pad.device)) return false;
  pad.range = kStickRange;
  pad.stick = UseAxisRange(pad.device, pad.range);
  return true;
}

// Kept presses whose pads the load did not open again end.
void ForgetPadsNotFound(Runtime& runtime) {
  for (size_t slot = 0; slot < kMaxPolledPads; ++slot) {
    if (Open(runtime.poll.pads[slot])) continue;
    EndPadPress(runtime, slot);
    runtime.poll.pads[slot] = PolledPad{};
  }
}

// What one pad holds; false when its state cannot be read. A pad without
// a stick reports its absent axes as 0, which would read as up and left.
bool ReadHeld(const PolledPad& pad, ControllerInput* held) {
  ControllerState state;
  if (!ReadControllerState(pad.device, state)) return false;
  held->buttons = 0;
  for (uint32_t i = 0; i < pad.buttons; ++i)
    if (state.buttons[i] & kHeldBit) held->buttons |= 1u << i;
  held->directions = pad.stick ? HeldDirections(state.x, state.y, pad.range.min, pad.range.max, state.hat)
                               : HeldDirections(0, 0, 0, 0, state.hat);
  return true;
}

// The entry that `held` fires, by the rule the configurator checks against.
const ButtonAction* HeldEntry(const RuntimeSettings& s, ControllerInput held) {
  std::array<ControllerInput, kMaxActions> entries{};
  const size_t count = s.buttonCount;
  for (size_t n = 0; n < count; ++n) entries[n] = {s.buttonActions[n].buttons, s.buttonActions[n].directions};
  size_t n = FirstHeldEntry(std::span(entries.data(), count), held);
  return n < count ? &s.buttonActions[n] : nullptr;
}

// Reads the pad in `slot` once and runs the held combination's action if
// this press has not fired yet. Nothing touches the pad after the action: a
// reload while it runs may have released it.
void RunHeldCombination(Runtime& runtime, size_t slot) {
  PolledPad& pad = runtime.poll.pads[slot];
  ControllerInput held;
  if (!ReadHeld(pad, &held)) return;
  pad.acquired = true;
  // A hold lasts as long as its own combination: with entries on buttons 1
  // and 2, holding 1, adding 2 and letting 1 go lets the first entry's keys
  // up although the second entry is now held (it does not run: the press
  // that fired is not over).
  if (pad.pressHeld && !EntryHeld({pad.pressButtons, pad.pressDirections}, held)) EndPadPress(runtime, slot);
  const ButtonAction* entry = HeldEntry(runtime.settings, held);
  if (entry == nullptr) {
    EndPadPress(runtime, slot);
    pad.pressFired = false;
    return;
  }
  if (pad.pressFired) return;
  pad.pressFired = true;
  pad.pressHeld = true;
  pad.pressButtons = entry->buttons;
  pad.pressDirections = entry->directions;
  // A copy: a reload while the action runs would free the entry's texts.
  ButtonAction running = *entry;
  RunAction(runtime, running, SourceOf(slot));
  // An action that pumps messages (a target window's search) can let a
  // nested tick see the release before the press it ended had begun: end
  // it now, or its keys would stay down.
  if (!runtime.poll.pads[slot].pressHeld) EndPress(runtime, SourceOf(slot));
}

// Lists the controllers again and sets up the named ones not open yet as
// at the load; the next tick acquires them.
void ListControllersAgain(Runtime& runtime) {
  PollState& poll = runtime.poll;
  uint32_t opened = 0;
  if (!OpenNamedControllers(poll, runtime.settings, opened)) return;
  for (size_t slot = 0; slot < kMaxPolledPads; ++slot)
    if ((opened >> slot & 1) && !SetUpPad(poll.pads[slot])) ClosePad(runtime, slot);
}

bool AnyPadOpen(const PollState& poll) {
  return std::any_of(poll.pads.begin(), poll.pads.end(), [](const PolledPad& pad) { return Open(pad); });
}

// Whether a listing can find a pad to add: one that is not open yet.
bool ListingCanAdd(const Runtime& runtime) { return runtime.settings.everyDevice != 0 || !AnyPadOpen(runtime.poll); }

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
  // A load always follows an unload; should one ever not, the old
  // controllers must not leak.
  StopPollTimer(poll);
  ReleaseController(poll);

  bool started = CreateInputSystem();
  uint32_t opened = 0;
  if (started) {
    poll.inputSystem = true;
    started = OpenNamedControllers(poll, runtime.settings, opened);
  }
  for (size_t slot = 0; slot < kMaxPolledPads && started; ++slot)
    if (opened >> slot & 1) started = SetUpPad(poll.pads[slot]);
  ForgetPadsNotFound(runtime);
  if (!started) {
    // Whatever was created stays until the next release; no polling until
    // the next load.
    WithBoxOpen(runtime.boxes, [] { ShowControllerError(kInitErrorText); });
    return;
  }
  // The devices are acquired by the first tick, so that tick never runs an
  // action.
  poll.pollTimer = StartWindowTimer(PollTimerId, PollIntervalMs(runtime.settings.pollPerSecond));
}

void PollController(Runtime& runtime) {
  PollState& poll = runtime.poll;
  if (poll.listingPending && ListingCanAdd(runtime) && !ListingTooSoon(poll)) ListControllersAgain(runtime);
  ++poll.tickDepth;
  // By slot, each read afresh: an action that ran for one pad may have
  // closed or replaced the others (a reload, an unplug heard meanwhile).
  for (size_t slot = 0; slot < kMaxPolledPads; ++slot) {
    PolledPad& pad = poll.pads[slot];
    if (!Open(pad)) continue;
    if (PollControllerDevice(pad.device)) {
      RunHeldCombination(runtime, slot);
      continue;
    }
    bool reacquired = Reacquire(pad.device);
    // Input lost ends the press as a release would: a button still held
    // once the pad is back is a new press. Not for a nested tick, whose
    // outer action is still running, and not for the first acquire after a
    // load.
    if (poll.tickDepth == 1 && pad.acquired) {
      EndPadPress(runtime, slot);
      pad.pressFired = false;
    }
    pad.acquired = reacquired;
  }
  --poll.tickDepth;
}

void FindControllerAgain(Runtime& runtime) {
  PollState& poll = runtime.poll;
  if (!poll.inputSystem || poll.pollTimer == 0) return;
  // A pad that still answers stays open with its press; one that does not
  // was unplugged: a button held once it is back is a new press.
  for (size_t slot = 0; slot < kMaxPolledPads; ++slot) {
    ControllerHandle device = poll.pads[slot].device;
    if (device == nullptr) continue;
    if (PollControllerDevice(device) || AcquireController(device) == AcquireResult::Ok) continue;
    ClosePad(runtime, slot);
  }
  if (!ListingCanAdd(runtime)) return;
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
  for (PolledPad& pad : poll.pads) {
    if (!Open(pad)) continue;
    UnacquireController(pad.device);
    CloseController(pad.device);
    pad.device = nullptr;
    pad.acquired = false;
    // Only the identity and the press are kept, for the next load.
    if (!pad.pressFired) pad = PolledPad{};
  }
  if (poll.inputSystem) {
    ReleaseInputSystem();
    poll.inputSystem = false;
  }
}

}  // namespace quillon

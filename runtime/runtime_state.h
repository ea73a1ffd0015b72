// Everything the running program knows, one record per file that keeps it,
// and the Runtime that holds them all. The tree as read lives in
// RuntimeSettings; what the program learns while it runs lives beside it.
//
// One Runtime exists per run: the runtime's main program makes it and hands
// it to the window, whose procedure passes it down to every step it takes.
// Tests make one afresh for each case. Only the records are here; each
// file's header says what its functions do with its record.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "runtime/command_tail.h"
#include "runtime/press_source.h"
#include "runtime/key_injection.h"
#include "runtime/seams/controller_device.h"
#include "runtime/seams/window_system.h"
#include "runtime/settings_store.h"

namespace quillon {

// settings_lifecycle.cpp: reload requests that arrive while a load runs or a
// box is open (their message loops dispatch them) are folded into one.
struct ReloadQueue {
  bool loading = false;
  bool waiting = false;
  bool runningWaiting = false;  // RunWaitingReload's loop is under way
};

// modal_boxes.cpp: how many of the runtime's boxes are open.
struct OpenBoxes {
  int count = 0;
};

// own_keys.cpp: the keys that the runtime's bursts pressed since the last
// marker, and how many markers are still on their way.
struct OwnKeys {
  uint32_t markersQueued = 0;
  std::bitset<256> pressed;
};

// app_launch.cpp: files already refused this run.
struct LaunchState {
  std::set<std::string> refusedPrograms;
};

// user_notices.cpp: the map last handed over. Survives reloads: the mapping
// program keeps the map it was given whatever the tree says next.
struct NoticeState {
  std::string activeMap;
  // Tries left at adding the icon that the shell did not take, on IconTimer.
  uintptr_t iconTimer = 0;
  uint32_t iconTriesLeft = 0;
};

// map_switching.cpp: which map is current and the change waiting for
// ChangeTimer.
struct MapState {
  uint32_t currentConfig = 0;
  uint32_t lastAnnounce = 0;
  // The first request after a load without ApplyOnStart keeps the default
  // map.
  bool firstRequestPending = false;
  uintptr_t changeTimer = 0;
  std::optional<std::string> pendingKeySeq;
  // A front end's "G", "E" or "M" not yet carried out: the one that started
  // the runtime, or one that a second copy handed over. Resolved against
  // the maps when it runs, and by the end of a load instead of the default.
  std::optional<RemoteCommand> waitingCommand;
  // A map that a window chose while a step by hand waited for ChangeTimer:
  // handed over once that step has been.
  std::optional<uint32_t> afterStep;
};

// game_window.cpp: with FollowGame on, the settle time of the window that
// came to the front, and the window that chose the current map.
struct FollowState {
  bool watching = false;
  uintptr_t settleTimer = 0;
  WindowHandle chooser = nullptr;
};

// held_actions.cpp: the presses of hold and repeat entries under way.
struct PressState {
  struct Hold {
    PressSource source;
    PressedKeys keys;
  };
  struct Repeat {
    PressSource source;
    std::string keySeq;
    unsigned timerId = 0;
    // What the runtime held before the first typing: a hold word of the
    // sequence ("{SHIFT DOWN}") leaves a key that the end lets go of.
    std::bitset<256> heldBefore;
  };
  std::vector<Hold> holds;
  std::vector<Repeat> repeats;
};

// controller_poll.cpp: one pad that is polled, and its press. A slot keeps
// its pad for as long as the pad is open: its index is the press's source
// (PressSource::Kind::Pad) for the actions that last while it is held.
struct PolledPad {
  ControllerHandle device = nullptr;  // nullptr: not open
  std::array<uint8_t, 16> instance{};
  uint32_t buttons = 0;  // buttons read: the pad's count, at most the bindable ones
  bool stick = false;    // it has an X and a Y axis
  AxisRange range;
  bool acquired = false;  // this device object has been acquired
  // The once-per-press rule: an entry has run for the combination held now.
  bool pressFired = false;
  // The combination of the entry that ran, while it is still held: the
  // press that held and repeating entries act for.
  bool pressHeld = false;
  uint32_t pressButtons = 0;
  uint32_t pressDirections = 0;
};

// A cabinet has two sticks, a few have four: with EveryDevice on, further
// pads of the name are not polled.
inline constexpr size_t kMaxPolledPads = 4;

// controller_poll.cpp: the input system, the pads polled and their presses
// (controller_poll.cpp says why a press outlives ticks and reloads).
struct PollState {
  bool inputSystem = false;
  std::array<PolledPad, kMaxPolledPads> pads;
  uintptr_t pollTimer = 0;
  int tickDepth = 0;
  // When the controllers were last listed, and a listing put off because the
  // last one was too recent.
  uint32_t lastListing = 0;
  bool listingPending = false;
};

// keyboard_capture.cpp: what the hook matches against. The hook runs on a
// thread of its own, so it never reads the settings, which a reload
// rewrites: the main thread builds a table at arming and swaps it in whole.
struct HookTable {
  bool armed = false;
  std::array<uint8_t, 256> entry{};                  // virtual key -> entry number, 0 for none
  std::array<uint32_t, kMaxActions + 1> modifier{};  // entry number -> its exact modifiers
  std::bitset<kMaxActions + 1> repeats;              // entry number -> runs again at auto-repeat
  std::bitset<kMaxActions + 1> lasts;                // entry number -> acts until the key goes up
  uint32_t generation = 0;
};

// A key the hook matched, waiting for its posted request: the entry's number
// in the table of that generation.
struct PostedAction {
  uint32_t number = 0;
  uint32_t generation = 0;
  // The key, and whether this is its release: the end of a press that
  // lasts (a hold or repeat entry).
  uint32_t virtualKey = 0;
  bool release = false;
  // The user's modifier keys (ModifierKey bits) held at the key-down, as the
  // hook counted them and the system's state confirmed them then.
  uint32_t userHeld = 0;
};

// What the hook's thread and the main thread share: the table and the queue
// only under the hook lock (LockHookShare); keysDown only on the hook's
// thread.
struct HookShare {
  HookTable table;
  std::deque<PostedAction> posted;
  // Keys the hook saw go down and not yet up: a key-down of one of these is
  // an auto-repeat.
  std::bitset<256> keysDown;
  // Keys whose swallowed key-down began a press that lasts: their key-up is
  // swallowed too, and ends the press.
  std::bitset<256> lastingDown;
  // The modifier keys (ModifierKey bits) that the user holds: seen going
  // down and not yet up in events that were not the runtime's own. Under the
  // lock: the main thread reads them around a burst.
  uint32_t userModifiers = 0;
};

// keyboard_capture.cpp, the main thread's side.
struct CaptureState {
  // Virtual key -> number of the entry that takes it in hook mode.
  std::array<uint8_t, 256> keyIndex{};
  // The generation of the table built from the loaded settings.
  uint32_t generation = 0;
  HookShare hook;
  // While a hooked key's action runs: its PostedAction::userHeld.
  std::optional<uint32_t> userHeldAtKey;
};

struct Runtime {
  RuntimeSettings settings;
  ReloadQueue reloads;
  OpenBoxes boxes;
  HeldKeys held;  // key_injection.h
  PressState presses;
  OwnKeys ownKeys;
  LaunchState launch;
  NoticeState notices;
  MapState map;
  FollowState follow;
  PollState poll;
  CaptureState capture;
};

}  // namespace quillon

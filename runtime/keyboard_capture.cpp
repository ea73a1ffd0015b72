#include "runtime/keyboard_capture.h"

#include <vector>

#include "runtime/action_dispatch.h"
#include "runtime/held_actions.h"
#include "runtime/own_keys.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/hot_keys_and_hook.h"
#include "runtime/seams/input_injection.h"
#include "runtime/seams/main_window_messages.h"
#include "shared/entry_rules.h"
#include "shared/key_event.h"

namespace quillon {

namespace {

bool HookModeWithEntries(const RuntimeSettings& s) { return s.useHook && s.keyCount > 0; }

// What the table says of one key: its entry's number (0 for none), the
// modifiers that entry wants, and the table's generation.
struct HookMatch {
  uint32_t number = 0;
  uint32_t modifier = 0;
  uint32_t generation = 0;
  bool repeats = false;
  bool lasts = false;
  uint32_t userModifiers = 0;  // HookShare::userModifiers at the look-up
};

// At most this many matched keys wait for the main thread; further presses
// are swallowed and dropped, as is an auto-repeat of a key whose action is
// still waiting, so a slow action held down does not run on and on after
// the key is let go.
constexpr size_t kMaxWaitingActions = 8;

// Holds the hook's share (the table and the queue) for one scope.
struct HookShareHold {
  HookShareHold() { LockHookShare(); }
  ~HookShareHold() { UnlockHookShare(); }
  HookShareHold(const HookShareHold&) = delete;
  HookShareHold& operator=(const HookShareHold&) = delete;
};

// The hook looks a key up under the lock and keeps only the answer.
HookMatch MatchHookKey(HookShare& share, uint32_t virtualKey) {
  HookShareHold hold;
  if (!share.table.armed || virtualKey > 255) return {};
  uint32_t number = share.table.entry[virtualKey];
  return {number,
          share.table.modifier[number],
          share.table.generation,
          share.table.repeats.test(number),
          share.table.lasts.test(number),
          share.userModifiers};
}

// The modifier keys (ModifierKey bits) that entry modifiers `modifiers`
// (settings_tree.h) may be made of.
uint32_t KeysOfModifiers(uint32_t modifiers) {
  uint32_t keys = 0;
  if (modifiers & ModifierShift) keys |= kLeftShiftKey | kRightShiftKey;
  if (modifiers & ModifierCtrl) keys |= kLeftCtrlKey | kRightCtrlKey;
  if (modifiers & ModifierAlt) keys |= kLeftAltKey | kRightAltKey;
  if (modifiers & ModifierWin) keys |= kLeftWinKey | kRightWinKey;
  return keys;
}

// Replaces the hook's table with one built from the settings, or with none
// (`armed` false, hook mode off, or no entries), and forgets the keys queued
// under the old one: a key pressed before a reload belongs to the settings
// it was pressed under. One that the hook was deciding during the swap
// carries the old generation and is dropped when its turn comes.
void PublishHookTable(Runtime& runtime, bool armed) {
  const RuntimeSettings& s = runtime.settings;
  CaptureState& capture = runtime.capture;
  HookTable table;
  ++capture.generation;
  if (armed && s.useKeyboard && HookModeWithEntries(s)) {
    table.armed = true;
    table.entry = capture.keyIndex;
    for (uint32_t n = 1; n <= s.keyCount; ++n) {
      table.modifier[n] = s.keyActions[n].modifier;
      table.repeats[n] = RepeatsWhileHeld(s.keyActions[n].action);
      table.lasts[n] = ActsWhileHeld(s.keyActions[n].action);
    }
    for (uint8_t& number : table.entry)
      if (number > s.keyCount) number = 0;
    table.generation = capture.generation;
  }
  HookShareHold hold;
  capture.hook.table = table;
  capture.hook.posted.clear();
}

// Queues a matched key for the main thread; false when it is dropped. A
// release is never dropped, or what its press holds would stay held: there
// is at most one per key.
bool QueueHookAction(HookShare& share, PostedAction action, bool repeat) {
  HookShareHold hold;
  if (action.release) {
    share.posted.push_back(action);
    return true;
  }
  if (share.posted.size() >= kMaxWaitingActions) return false;
  if (repeat)
    for (const PostedAction& waiting : share.posted)
      if (waiting.number == action.number && waiting.generation == action.generation) return false;
  share.posted.push_back(action);
  return true;
}

}  // namespace

uint32_t ActionNumberOfHotKey(const RuntimeSettings& s, uintptr_t id) {
  if (id < uintptr_t(kFirstHotKeyId) || id - (kFirstHotKeyId - 1) > s.keyCount) return 0;
  return uint32_t(id - (kFirstHotKeyId - 1));
}

void ArmKeyCapture(Runtime& runtime) {
  const RuntimeSettings& s = runtime.settings;
  if (s.useHook) {
    // Entry n is list index n - 1, so the index holds entry numbers.
    std::vector<KeyBinding> bindings;
    for (uint32_t n = 1; n <= s.keyCount; ++n)
      bindings.push_back({s.keyActions[n].modifier, s.keyActions[n].virtualKey});
    runtime.capture.keyIndex = HookKeyIndex(bindings);
    PublishHookTable(runtime, true);
    return;
  }
  for (uint32_t n = 1; n <= s.keyCount; ++n) {
    const KeyAction& entry = s.keyActions[n];
    // A combination that another program holds is simply not captured.
    HeldKeyRepeats repeats =
        RepeatsWhileHeld(entry.action) ? HeldKeyRepeats::EveryRepeat : HeldKeyRepeats::FirstPressOnly;
    if (CapturableKey(entry.virtualKey))
      (void)RegisterCaptureHotKey(HotKeyIdOf(n), entry.modifier, entry.virtualKey, repeats);
  }
}

void InstallCaptureHook(Runtime& runtime) {
  const RuntimeSettings& s = runtime.settings;
  if (!s.useKeyboard || !HookModeWithEntries(s)) return;
  PublishHookTable(runtime, true);
  runtime.capture.hook.keysDown.reset();
  runtime.capture.hook.lastingDown.reset();
  {
    // What is held before the hook sees a key. The runtime's own holds are
    // not the user's.
    HookShareHold hold;
    runtime.capture.hook.userModifiers = HeldModifierKeys() & ~runtime.held.ModifierKeys();
  }
  (void)InstallKeyboardHook(runtime.capture.hook);
}

void ReleaseKeyboardCapture(Runtime& runtime) {
  const RuntimeSettings& s = runtime.settings;
  if (HookModeWithEntries(s)) RemoveKeyboardHook();
  else
    for (uint32_t n = 1; n <= s.keyCount; ++n) UnregisterCaptureHotKey(HotKeyIdOf(n));
  PublishHookTable(runtime, false);
}

void RearmKeyboardCapture(Runtime& runtime) {
  if (!runtime.settings.useKeyboard) return;
  ReleaseKeyboardCapture(runtime);
  ArmKeyCapture(runtime);
  InstallCaptureHook(runtime);
}

bool HookWatchesKey(HookShare& share, uint32_t virtualKey) { return MatchHookKey(share, virtualKey).number != 0; }

bool HandleHookKeyDown(HookShare& share, uint32_t virtualKey, uint32_t heldModifiers, uintptr_t extraInfo) {
  if (IsRuntimeInjected(extraInfo)) return false;
  HookMatch match = MatchHookKey(share, virtualKey);
  if (match.number == 0 || heldModifiers != match.modifier) return false;
  bool repeat = share.keysDown.test(virtualKey);
  share.keysDown.set(virtualKey);
  // Swallowed whatever the action then does. Without its key, Alt or the
  // Windows key would go down and up alone, which opens the menu bar or the
  // Start menu: a key that means nothing goes in between.
  if (heldModifiers & (ModifierAlt | ModifierWin)) SendNeutralKeyPress();
  // A repeat of a one-shot entry is swallowed and runs nothing, as the
  // hot-key mode's registration without repeats does.
  if (repeat && !match.repeats) return true;
  // What the user holds, as the hook counts it, checked against the state
  // just read: the burst then need not read the system again.
  const uint32_t userHeld = match.userModifiers & KeysOfModifiers(heldModifiers);
  if (QueueHookAction(share, {match.number, match.generation, virtualKey, false, userHeld}, repeat)) {
    if (match.lasts) share.lastingDown.set(virtualKey);
    PostHookActionRequest();
  }
  return true;
}

bool HandleHookKeyUp(HookShare& share, uint32_t virtualKey) {
  if (virtualKey >= 256) return false;
  share.keysDown.reset(virtualKey);
  if (!share.lastingDown.test(virtualKey)) return false;
  share.lastingDown.reset(virtualKey);
  (void)QueueHookAction(share, {0, 0, virtualKey, true}, false);
  PostHookActionRequest();
  return true;
}

void HandleHookModifierKey(HookShare& share, uint32_t modifierKey, bool down, uintptr_t extraInfo) {
  if (IsRuntimeInjected(extraInfo)) return;
  HookShareHold hold;
  if (down) share.userModifiers |= modifierKey;
  else share.userModifiers &= ~modifierKey;
}

void RunPostedHookAction(Runtime& runtime) {
  PostedAction posted{};
  {
    HookShareHold hold;
    std::deque<PostedAction>& queue = runtime.capture.hook.posted;
    if (queue.empty()) return;
    posted = queue.front();
    queue.pop_front();
  }
  const PressSource source{PressSource::Kind::Key, posted.virtualKey};
  // A press that a reload already ended is ended again, which does nothing.
  if (posted.release) return EndPress(runtime, source);
  if (posted.generation != runtime.capture.generation || posted.number > runtime.settings.keyCount) return;
  // A copy: the action may reload the settings under it.
  KeyAction entry = runtime.settings.keyActions[posted.number];
  runtime.capture.userHeldAtKey = posted.userHeld;
  RunAction(runtime, entry, source);
  runtime.capture.userHeldAtKey.reset();
}

void RunHotKeyAction(Runtime& runtime, uintptr_t hotKeyId) {
  uint32_t number = ActionNumberOfHotKey(runtime.settings, hotKeyId);
  if (number == 0 || MayBeOwnHotKey(runtime.ownKeys, runtime.settings.keyActions[number].virtualKey)) return;
  // Copy the entry: its action may reload the settings under it.
  KeyAction entry = runtime.settings.keyActions[number];
  RunAction(runtime, entry);
}

}  // namespace quillon

#include "runtime/keyboard_capture.h"

#include <array>
#include <bitset>
#include <deque>

#include "runtime/action_dispatch.h"
#include "runtime/own_keys.h"
#include "runtime/seams/hot_keys_and_hook.h"
#include "runtime/seams/main_window_messages.h"
#include "runtime/settings_store.h"
#include "shared/key_event.h"

namespace quillon {

namespace {

bool HookModeWithEntries() { return g_settings.useHook && g_settings.keyCount > 0; }

// What the hook matches against. The hook runs on a thread of its own (see
// hot_keys_and_hook_win32.cpp), so it never reads g_settings, which a reload
// rewrites: the main thread builds a table at arming and swaps it in whole.
// The hook looks a key up under the lock and keeps only the answer.
struct HookTable {
  bool armed = false;
  std::array<uint8_t, 256> entry{};                  // virtual key -> entry number, 0 for none
  std::array<uint32_t, kMaxActions + 1> modifier{};  // entry number -> its exact modifiers
  uint32_t generation = 0;
};

// What the table says of one key: its entry's number (0 for none), the
// modifiers that entry wants, and the table's generation.
struct HookMatch {
  uint32_t number = 0;
  uint32_t modifier = 0;
  uint32_t generation = 0;
};

// A key the hook matched, waiting for its posted request: the entry's number
// in the table of that generation.
struct PostedAction {
  uint32_t number;
  uint32_t generation;
};

// At most this many matched keys wait for the main thread; further presses
// are swallowed and dropped, as is an auto-repeat of a key whose action is
// still waiting, so a slow action held down does not run on and on after
// the key is let go.
constexpr size_t kMaxWaitingActions = 8;

// Holds the hook's share (the table pointer and the queue) for one scope.
struct HookShareHold {
  HookShareHold() { LockHookShare(); }
  ~HookShareHold() { UnlockHookShare(); }
  HookShareHold(const HookShareHold&) = delete;
  HookShareHold& operator=(const HookShareHold&) = delete;
};

HookTable g_hookTable;
std::deque<PostedAction> g_postedActions;
// Keys the hook saw go down and not yet up: a key-down of one of these is
// an auto-repeat. Only the hook's thread touches it.
std::bitset<256> g_hookKeysDown;
// The generation of the table built from the loaded settings; main thread.
uint32_t g_generation = 0;

HookMatch MatchHookKey(uint32_t virtualKey) {
  HookShareHold hold;
  if (!g_hookTable.armed || virtualKey > 255) return {};
  uint32_t number = g_hookTable.entry[virtualKey];
  return {number, g_hookTable.modifier[number], g_hookTable.generation};
}

// Replaces the hook's table with one built from g_settings, or with none
// (`armed` false, hook mode off, or no entries), and forgets the keys queued
// under the old one: a key pressed before a reload belongs to the settings
// it was pressed under. One that the hook was deciding during the swap
// carries the old generation and is dropped when its turn comes.
void PublishHookTable(bool armed) {
  HookTable table;
  ++g_generation;
  if (armed && g_settings.useKeyboard && HookModeWithEntries()) {
    table.armed = true;
    table.entry = g_settings.keyIndex;
    for (uint32_t n = 1; n <= g_settings.keyCount; ++n) table.modifier[n] = g_settings.keyActions[n].modifier;
    for (uint8_t& number : table.entry)
      if (number > g_settings.keyCount) number = 0;
    table.generation = g_generation;
  }
  HookShareHold hold;
  g_hookTable = table;
  g_postedActions.clear();
}

// Queues a matched key for the main thread; false when it is dropped.
bool QueueHookAction(uint32_t number, uint32_t generation, bool repeat) {
  HookShareHold hold;
  if (g_postedActions.size() >= kMaxWaitingActions) return false;
  if (repeat)
    for (const PostedAction& waiting : g_postedActions)
      if (waiting.number == number && waiting.generation == generation) return false;
  g_postedActions.push_back({number, generation});
  return true;
}

}  // namespace

uint32_t ActionNumberOfHotKey(uintptr_t id) {
  if (id < uintptr_t(kFirstHotKeyId) || id - (kFirstHotKeyId - 1) > g_settings.keyCount) return 0;
  return uint32_t(id - (kFirstHotKeyId - 1));
}

void ArmKeyAction(uint32_t number) {
  RuntimeSettings& s = g_settings;
  const KeyAction& entry = s.keyActions[number];
  if (entry.virtualKey < 1 || entry.virtualKey > 255) return;
  if (s.useHook) {
    s.keyIndex[entry.virtualKey] = uint8_t(number);  // a later entry replaces an earlier one
    PublishHookTable(true);
  } else {
    // A combination that another program holds is simply not captured.
    (void)RegisterCaptureHotKey(HotKeyIdOf(number), entry.modifier, entry.virtualKey);
  }
}

void InstallCaptureHook() {
  if (!g_settings.useKeyboard || !HookModeWithEntries()) return;
  PublishHookTable(true);
  g_hookKeysDown.reset();
  (void)InstallKeyboardHook();
}

void ReleaseKeyboardCapture() {
  if (HookModeWithEntries()) RemoveKeyboardHook();
  else
    for (uint32_t n = 1; n <= g_settings.keyCount; ++n) UnregisterCaptureHotKey(HotKeyIdOf(n));
  PublishHookTable(false);
}

void RearmKeyboardCapture() {
  if (!g_settings.useKeyboard) return;
  ReleaseKeyboardCapture();
  for (uint32_t n = 1; n <= g_settings.keyCount; ++n) ArmKeyAction(n);
  InstallCaptureHook();
}

bool HookWatchesKey(uint32_t virtualKey) { return MatchHookKey(virtualKey).number != 0; }

bool HandleHookKeyDown(uint32_t virtualKey, uint32_t heldModifiers, uintptr_t extraInfo) {
  if (IsRuntimeInjected(extraInfo)) return false;
  HookMatch match = MatchHookKey(virtualKey);
  if (match.number == 0 || heldModifiers != match.modifier) return false;
  bool repeat = g_hookKeysDown.test(virtualKey);
  g_hookKeysDown.set(virtualKey);
  // Swallowed whatever the action then does. Without its key, Alt or the
  // Windows key would go down and up alone, which opens the menu bar or the
  // Start menu: a key that means nothing goes in between.
  if (heldModifiers & (ModifierAlt | ModifierWin)) SendNeutralKeyPress();
  if (QueueHookAction(match.number, match.generation, repeat)) PostHookActionRequest();
  return true;
}

void HandleHookKeyUp(uint32_t virtualKey) {
  if (virtualKey < 256) g_hookKeysDown.reset(virtualKey);
}

void RunPostedHookAction() {
  PostedAction posted{};
  {
    HookShareHold hold;
    if (g_postedActions.empty()) return;
    posted = g_postedActions.front();
    g_postedActions.pop_front();
  }
  if (posted.generation != g_generation || posted.number > g_settings.keyCount) return;
  // A copy: the action may reload the settings under it.
  KeyAction entry = g_settings.keyActions[posted.number];
  RunAction(entry);
}

void RunHotKeyAction(uintptr_t hotKeyId) {
  uint32_t number = ActionNumberOfHotKey(hotKeyId);
  if (number == 0 || MayBeOwnHotKey(g_settings.keyActions[number].virtualKey)) return;
  // Copy the entry: its action may reload the settings under it.
  KeyAction entry = g_settings.keyActions[number];
  RunAction(entry);
}

}  // namespace quillon

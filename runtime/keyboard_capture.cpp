#include "runtime/keyboard_capture.h"

#include <bitset>
#include <deque>

#include "runtime/action_dispatch.h"
#include "shared/key_event.h"
#include "runtime/key_injection.h"
#include "runtime/seams/hot_keys_and_hook.h"
#include "runtime/seams/main_window_messages.h"
#include "runtime/settings_store.h"

namespace quillon {

namespace {

bool HookModeWithEntries() { return g_settings.useHook && g_settings.keyCount > 0; }

// Copies of the entries the hook matched, oldest first, each waiting for its
// posted request. A low-level hook must return quickly: one that overruns
// the system's time-out is removed without notice and capture is dead until
// the next reload. Typing, a pause per key, a program start or a click on a
// hung window can all take that long, so the callback only decides and the
// action runs from the message loop. Copies, because a reload may come first.
std::deque<KeyAction> g_postedActions;

// The keys that the runtime's bursts pressed since the last marker: only hot
// keys on these can be the runtime's own. A user who presses another bound
// key while a burst is being typed must not lose that press.
// One marker per burst: a marker speaks only for the bursts typed before it
// was posted, so the keys are forgotten when the last one arrives.
uint32_t g_ownKeysMarkersQueued = 0;
std::bitset<256> g_ownKeysPressed;

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

bool HookWatchesKey(uint32_t virtualKey) {
  if (virtualKey > 255) return false;
  uint32_t number = g_settings.keyIndex[virtualKey];
  return number != 0 && number <= g_settings.keyCount;
}

bool HandleHookKeyDown(uint32_t virtualKey, uint32_t heldModifiers, uintptr_t extraInfo) {
  if (!HookWatchesKey(virtualKey) || IsRuntimeInjected(extraInfo)) return false;
  uint32_t number = g_settings.keyIndex[virtualKey];
  if (heldModifiers != g_settings.keyActions[number].modifier) return false;
  // Swallowed whatever the action then does. Without its key, Alt or the
  // Windows key would go down and up alone, which opens the menu bar or the
  // Start menu: a key that means nothing goes in between.
  if (heldModifiers & (ModifierAlt | ModifierWin)) SendNeutralKeyPress();
  g_postedActions.push_back(g_settings.keyActions[number]);
  PostHookActionRequest();
  return true;
}

void RunPostedHookAction() {
  if (g_postedActions.empty()) return;
  KeyAction entry = std::move(g_postedActions.front());
  g_postedActions.pop_front();
  RunAction(entry);
}

void TypeOwnKeys(const char* sequence) {
  const bool hotKeysWatched = g_settings.useKeyboard && !g_settings.useHook && g_settings.keyCount > 0;
  (void)SendKeySequence(sequence, 0, hotKeysWatched ? &g_ownKeysPressed : nullptr);
  // By the time the burst has been submitted, the system has already matched
  // its keys against the hot keys and queued what they set off, so a marker
  // posted now arrives after all of it.
  if (hotKeysWatched) {
    ++g_ownKeysMarkersQueued;
    PostOwnKeysMarker();
  }
}

void OwnKeysMarkerArrived() {
  if (g_ownKeysMarkersQueued > 0) --g_ownKeysMarkersQueued;
  if (g_ownKeysMarkersQueued == 0) g_ownKeysPressed.reset();
}

bool MayBeOwnHotKey(uint32_t virtualKey) {
  return g_ownKeysMarkersQueued > 0 && virtualKey < 256 && g_ownKeysPressed.test(virtualKey);
}

}  // namespace quillon

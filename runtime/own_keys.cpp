#include "runtime/own_keys.h"

#include "runtime/key_injection.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/hot_keys_and_hook.h"
#include "runtime/seams/main_window_messages.h"

namespace quillon {

// Only hot keys on the keys that the runtime's bursts pressed since the last
// marker can be the runtime's own: a user who presses another bound key
// while a burst is being typed must not lose that press. One marker per
// burst: a marker speaks only for the bursts typed before it was posted, so
// the keys are forgotten when the last one arrives.
namespace {

bool HotKeysWatched(const RuntimeSettings& s) { return s.useKeyboard && !s.useHook && s.keyCount > 0; }

void PostMarker(OwnKeys& own) {
  ++own.markersQueued;
  PostOwnKeysMarker();
}

}  // namespace

std::function<uint32_t()> UserModifierWatch(Runtime& runtime) {
  const RuntimeSettings& s = runtime.settings;
  if (!(s.useKeyboard && s.useHook && s.keyCount > 0)) return {};
  // The hook sees every key, so it knows which modifiers the user holds, and
  // sees a release that comes while a burst goes in.
  HookShare& hook = runtime.capture.hook;
  return [&hook] {
    LockHookShare();
    uint32_t held = hook.userModifiers;
    UnlockHookShare();
    return held;
  };
}

void TypeOwnKeys(Runtime& runtime, const char* sequence) {
  OwnKeys& own = runtime.ownKeys;
  const bool hotKeysWatched = HotKeysWatched(runtime.settings);
  (void)SendKeySequence(runtime.held, sequence, 0, hotKeysWatched ? &own.pressed : nullptr, UserModifierWatch(runtime),
                        runtime.capture.userHeldAtKey);
  // By the time the burst has been submitted, the system has already matched
  // its keys against the hot keys and queued what they set off, so a marker
  // posted now arrives after all of it.
  if (hotKeysWatched) PostMarker(own);
}

void NoteOwnKeyDowns(Runtime& runtime, const std::vector<KeyEvent>& downs) {
  if (!HotKeysWatched(runtime.settings) || downs.empty()) return;
  for (const KeyEvent& event : downs) runtime.ownKeys.pressed.set(event.virtualKey & 0xFF);
  PostMarker(runtime.ownKeys);
}

void OwnKeysMarkerArrived(OwnKeys& own) {
  if (own.markersQueued > 0) --own.markersQueued;
  if (own.markersQueued == 0) own.pressed.reset();
}

bool MayBeOwnHotKey(const OwnKeys& own, uint32_t virtualKey) {
  return own.markersQueued > 0 && virtualKey < 256 && own.pressed.test(virtualKey);
}

}  // namespace quillon

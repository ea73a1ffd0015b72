#include "runtime/own_keys.h"

#include <bitset>

#include "runtime/key_injection.h"
#include "runtime/seams/main_window_messages.h"
#include "runtime/settings_store.h"

namespace quillon {

namespace {

// The keys that the runtime's bursts pressed since the last marker: only hot
// keys on these can be the runtime's own. A user who presses another bound
// key while a burst is being typed must not lose that press.
// One marker per burst: a marker speaks only for the bursts typed before it
// was posted, so the keys are forgotten when the last one arrives.
uint32_t g_ownKeysMarkersQueued = 0;
std::bitset<256> g_ownKeysPressed;

}  // namespace

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

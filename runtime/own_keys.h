// Typing an action's key sequence, and telling the hot keys that the
// runtime's own keys set off from the user's.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "shared/key_event.h"

namespace quillon {

struct OwnKeys;
struct Runtime;

// Types an action's key sequence. In hot-key mode the runtime's own keys can
// set off its hot keys, which carry no tag; hot keys on a key that a burst
// pressed are dropped until the marker posted after the burst arrives
// (OwnKeysMarkerArrived).
void TypeOwnKeys(Runtime& runtime, const char* sequence);
void OwnKeysMarkerArrived(OwnKeys& own);
// Key-downs that went out otherwise (a hold's): in hot-key mode their hot
// keys are dropped until the marker posted now arrives.
void NoteOwnKeyDowns(Runtime& runtime, const std::vector<KeyEvent>& downs);
// Which modifier keys the user holds, as the hook sees every key; empty
// when no hook watches (SendKeySequence's `userHolds`).
std::function<uint32_t()> UserModifierWatch(Runtime& runtime);
// Whether a hot key on `virtualKey` may be one the runtime's own keys set off.
bool MayBeOwnHotKey(const OwnKeys& own, uint32_t virtualKey);

}  // namespace quillon

// Entries that act for as long as their press lasts. "Hold keys while
// pressed" puts the keys of its sequence down at the press and lets them go,
// latest first, when the press ends; "Repeat keys while pressed" types its
// sequence at the press and again every Repeat milliseconds until then.
//
// Keys left held are the complaint users have of every tool with hold and
// turbo modes, so every way a press can end without its release being seen
// ends it here too: a reload, the session locked or switched away, sleep,
// a pad unplugged, a change of map, and the runtime's end.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/press_source.h"

namespace quillon {

struct Runtime;

// At most this many repeat entries run at once (one per pad, one per held
// key); a further press types once.
inline constexpr uint32_t kMaxRepeatingPresses = 8;

// The press of a hold entry (`action` HoldKeys) or a repeat entry
// (RepeatKeys, every `repeatMs`, already within its limits): starts it. A
// source that still has a press under way has it ended first.
void StartHeldAction(Runtime& runtime, PressSource source, uint32_t action, const std::string& keySeq,
                     uint32_t repeatMs);
// The press of `source` ended: what it holds is let go, its repeat stops.
// Nothing happens for a source with no press under way.
void EndPress(Runtime& runtime, PressSource source);
// Ends every press under way (reload, lock, sleep, change of map, end).
void EndEveryPress(Runtime& runtime);
// Whether any press is under way.
bool AnyPressUnderWay(const Runtime& runtime);

// The window timer of a repeating press went off: its sequence is typed
// again. False when `timerId` is no repeat's timer.
bool RepeatPressTimer(Runtime& runtime, unsigned timerId);

}  // namespace quillon

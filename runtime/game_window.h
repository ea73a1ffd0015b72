// Following the game: with FollowGame on, the window that stays in front
// chooses the map, and the closing of the window that chose it brings the
// default map back. Every hand-over here is a whole map step
// (HandOverChosenMap): never the same map twice in a row.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/seams/window_system.h"

namespace quillon {

struct Runtime;
struct RuntimeSettings;

// How long a window must stay in front before it chooses: a front end's
// splash screen or a launcher that flashes by changes nothing.
inline constexpr uint32_t kWindowSettleMs = 300;

// The map `window` chooses: a title ending in "[<short name>]" (as MAME
// titles its window "MAME: <description> [<short name>]") the first map
// whose games list holds that name; otherwise the first map whose window
// pattern matches the window; none when nothing matches.
std::optional<uint32_t> MapForWindow(const RuntimeSettings& settings, WindowHandle window);

// A load, once the settings are read: starts hearing of the front when
// FollowGame is on (never once the runtime is ending). The window that chose
// the map before keeps it while it exists. With ApplyOnStart on it returns
// the map that the window already in front chooses, and that window becomes
// the one whose closing brings the default map back.
std::optional<uint32_t> StartFollowingGame(Runtime& runtime);
// An unload or the end: stops hearing; the window that chose is remembered
// for the next load.
void StopFollowingGame(Runtime& runtime);

// WM_WINDOW_IN_FRONT: `window` came to the front; the window in front
// chooses once the front has stayed as it is kWindowSettleMs (SettleTimer).
void WindowCameToFront(Runtime& runtime, WindowHandle window);
// SettleTimer fired: the window still in front chooses its map. A window
// that matches nothing, or the one that chose the current map, changes
// nothing; a step by hand still waiting for its time-out keeps its
// hand-over, and the window's map follows it.
void WindowSettled(Runtime& runtime);
// WM_WATCHED_WINDOW_CLOSED: the window that chose the map was destroyed.
// The window in front now chooses, or the default map is handed over.
void WatchedWindowClosed(Runtime& runtime, WindowHandle window);

}  // namespace quillon

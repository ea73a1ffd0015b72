// Loading the settings (reading the tree and arming capture and polling from
// it), unloading them, and the end of the runtime. Every path that arms or
// releases goes through here: start-up, reload and exit.
#pragma once

namespace quillon {

struct Runtime;

// The exit status of a start that ends because the runtime's own path could
// not be read whole (1,024 characters or more).
inline constexpr int kOwnPathUnreadableStatus = 2;

// Start-up once the window exists. False, with nothing done, when the
// runtime's own folder is unknown: the maps, the sounds and the default
// mapping program are looked up there, and an empty folder would resolve
// them against the current drive's root instead. Otherwise pays the
// keyboard layout's first-lookup cost and loads the settings.
bool StartRuntime(Runtime& runtime);

// Reads the tree (under the settings lock, settings_store.h), arms key
// capture, applies the default map, opens the controller. When a writer held
// the tree for the whole wait the tree is read as it is all the same, since
// there is nothing to keep, and a box says that some settings may be missing.
void LoadSettings(Runtime& runtime);
// Releases capture, polling and timers, lets go of every key the runtime
// still holds down, and frees every loaded text.
void UnloadSettings(Runtime& runtime);

// WM_RELOAD_SETTINGS: reads the tree, then UnloadSettings and arms what was
// read. When a writer held the tree for the whole wait, nothing is let go,
// and a box says that the settings were kept. A request that
// arrives while a load is under way or a box is open (their message loops
// dispatch it) is folded with any others into one reload, run when the load
// has ended or by RunWaitingReload once the box has closed.
void ReloadSettings(Runtime& runtime);
// The reload that requests folded while a box was open, if any.
// None of the three loads or arms anything once the runtime is ending
// (runtime_ending.h): a box's loop may have let "Q" or Exit in.
void RunWaitingReload(Runtime& runtime);

// WM_CLOSE: the timers stop and the controller is released first.
void StopTimersAndController(Runtime& runtime);
// WM_DESTROY, however the window goes: whatever is still armed is released
// and no key is left down.
void EndRuntime(Runtime& runtime);

}  // namespace quillon

// Loading the settings (reading the tree and arming capture and polling from
// it), unloading them, and the end of the runtime. Every path that arms or
// releases goes through here: start-up, reload and exit.
#pragma once

namespace quillon {

// Reads the tree, arms key capture, applies the default map, opens the
// controller.
void LoadSettings();
// Releases capture, polling and timers, lets go of every key the runtime
// still holds down, and frees every loaded text.
void UnloadSettings();

// WM_RELOAD_SETTINGS: UnloadSettings, then LoadSettings. A request that
// arrives while a load is under way or a box is open (their message loops
// dispatch it) is folded with any others into one reload, run when the load
// has ended or by RunWaitingReload once the box has closed.
void ReloadSettings();
// The reload that requests folded while a box was open, if any.
void RunWaitingReload();

// WM_CLOSE: the timers stop and the controller is released first.
void StopTimersAndController();
// WM_DESTROY, however the window goes: whatever is still armed is released
// and no key is left down.
void EndRuntime();

}  // namespace quillon

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

// WM_CLOSE: the timers stop and the controller is released first.
void StopTimersAndController();
// WM_DESTROY, however the window goes: whatever is still armed is released
// and no key is left down.
void EndRuntime();

}  // namespace quillon

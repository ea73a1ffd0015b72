// Which joystick map is current, and its hand-over to the mapping program.
#pragma once

namespace quillon {

// The last step of every load: the default map becomes current, and with
// ApplyOnStart on it is handed over at once.
void ResetToDefaultMap();

// Kills ChangeTimer if it runs and drops the pending change with its key
// sequence (a reload or shutdown between a step and its hand-over).
void StopChangeTimer();

// ChangeTimer fired: the pending change completes and its map is handed over.
void CompleteMapChange();

}  // namespace quillon

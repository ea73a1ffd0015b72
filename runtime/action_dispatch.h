// Running the action of a keyboard or controller entry.
#pragma once

#include "runtime/press_source.h"
#include "runtime/settings_store.h"

namespace quillon {

struct Runtime;

// Runs the entry's action for a press by `source`, whose end EndPress
// (held_actions.h) reports. Callers pass a copy of a loaded entry: the action
// may pump messages, and a reload meanwhile frees the loaded ones.
void RunAction(Runtime& runtime, const KeyAction& entry, PressSource source = {});
void RunAction(Runtime& runtime, const ButtonAction& entry, PressSource source = {});

// Whether a key held down runs action kind `action` again at each
// auto-repeat, as typing would: only typing keys (Stuff keys) and eating them
// (Ignore key) do. A program start, a map step or the switcher happens once
// per press.
bool RepeatsWhileHeld(uint32_t action);

}  // namespace quillon

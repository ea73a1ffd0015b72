// Running the action of a keyboard or controller entry.
#pragma once

#include "runtime/settings_store.h"

namespace quillon {

struct Runtime;

// Runs the entry's action. Callers pass a copy of a loaded entry: the action
// may pump messages, and a reload meanwhile frees the loaded ones.
void RunAction(Runtime& runtime, const KeyAction& entry);
void RunAction(Runtime& runtime, const ButtonAction& entry);

}  // namespace quillon

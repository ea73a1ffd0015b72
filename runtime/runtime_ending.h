// The point after which the runtime does nothing more outside itself. An
// action can still be running when the runtime begins to end: its click on
// a target window handles the messages sent to the runtime while it waits,
// "Q" and WM_CLOSE among them, and it would otherwise go on typing (and
// leave a "{SHIFT DOWN}" held) after the keys were let go.
#pragma once

namespace quillon {

// Called first by every way the runtime ends; there is no way back.
void BeginRuntimeEnd();
bool RuntimeEnding();
// Forgets that the runtime ended, for a program that runs many lifetimes of
// the runtime in one process (the soak test); the runtime itself never does.
void ForgetRuntimeEnd();

}  // namespace quillon

// Press to set: "Press buttons..." waits for a combination held on the
// controller and ticks exactly its buttons and directions once all are let
// go; "Press
// key..." takes the next key pressed in the window, with the modifiers held,
// as the entry's key. Either waits five seconds at most, Esc cancels, and the
// hint line under the key sequence says what is going on.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "shared/entry_rules.h"

namespace quillon {

inline constexpr int kPressWaitMs = 5000;

// One wait of the action editor, which owns it.
struct PressToSet {
  enum class Waiting { Nothing, Buttons, Key };
  Waiting waiting = Waiting::Nothing;
  int msLeft = 0;
  std::function<void()> onSet;
  ControllerInput pressed;  // every button and direction held since the first went down
};

// `controllerReadable`: the chosen controller was read at the last tick.
// `onSet` runs after the boxes or the key were set, as after the user's own
// clicks.
void StartPressButtons(PressToSet& press, bool controllerReadable, std::function<void()> onSet);
void StartPressKey(PressToSet& press, std::function<void()> onSet);
bool PressToSetWaiting(const PressToSet& press);
// Ends a wait without setting anything; the hint line is cleared.
void CancelPressToSet(PressToSet& press);
// A key pressed while waiting (virtual-key code, modifier bits of the
// settings: 1 Alt, 2 Ctrl, 4 Shift, 8 Windows key). True when the wait took
// it, so that no control sees it.
bool OnKeyWhileWaiting(PressToSet& press, int virtualKey, int modifiers);
// The hint line's own text for the editor's sequence, action kind and
// repeat interval (EntryHint), which the line shows again once a wait ends.
std::string EditorHint();
// Each page tick, `elapsedMs` after the last one, with what is held now
// (none when the controller could not be read).
void OnPressToSetTick(PressToSet& press, std::optional<ControllerInput> held, int elapsedMs);

}  // namespace quillon

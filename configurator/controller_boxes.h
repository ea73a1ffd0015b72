// The controller entry's check boxes on the "Actions" page: "Button 1" to
// "Button 32", then the eight directions ("Stick up" ... "Hat left") in the
// order of their Direction bits. The editor ticks them, the live view lights
// them and press-to-set ticks what was held.
#pragma once

#include <optional>

#include "shared/entry_rules.h"

namespace quillon {

// Whether `id` is one of the boxes.
bool IsControllerBox(int id);
// The input that the ticked boxes stand for.
ControllerInput TickedControllerInput();
// Ticks exactly the boxes of `input`.
void TickControllerInput(ControllerInput input);
// Lights exactly the boxes of `held`; none when nothing could be read.
void LightControllerInput(std::optional<ControllerInput> held);
// Shows or hides every box.
void ShowControllerBoxes(bool visible);

}  // namespace quillon

// The row texts of the action lists: what a keyboard or controller action is
// bound to, as the user reads it.
#pragma once

#include <cstdint>
#include <string>

#include "configurator/settings_model.h"
#include "shared/entry_rules.h"

namespace quillon {

// The key's catalogue text behind the held modifiers, read Windows, Shift,
// Control, Alt from the left: modifier 5 with F1 is "Shift + Alt + F1 key".
// Modifier bits above the Windows key are not shown. A code the catalogue does
// not list (a tree edited by hand) has no text of its own: the row shows the
// prefixes alone ("Shift + "), or nothing without a modifier. It never fails,
// and the stored code is left for the editor to keep.
std::string KeyEntryText(int modifier, int virtualKey);
inline std::string KeyEntryText(const KeyActionEntry& entry) { return KeyEntryText(entry.modifier, entry.virtualKey); }

// "Button 1 + 3 + 32 + Stick up + Hat left": the buttons in ascending
// order, then the directions in the order of their bits ("Stick up +
// Stick right" without buttons); "(No buttons)" for neither. Direction bits
// above the eight are not shown.
std::string ButtonEntryText(ControllerInput input);
inline std::string ButtonEntryText(const ButtonActionEntry& entry) {
  return ButtonEntryText(ControllerInput{uint32_t(entry.buttons), uint32_t(entry.directions)});
}

}  // namespace quillon

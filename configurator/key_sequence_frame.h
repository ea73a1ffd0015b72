// The key-sequence frame of the action editor: the sequence field, the list
// of special keys that may stand between braces, and its Add button. The
// text is moved as typed: nothing here checks or rewrites it.
#pragma once

#include <string>

#include "configurator/press_to_set.h"

namespace quillon {

// Shows or hides the frame with everything in it.
void ShowKeySequenceFrame(bool visible);

// Empties the special-key list and fills it with the runtime's key names, in
// the runtime's order.
void FillSpecialKeyList();
// Puts an entry's sequence in the field and selects the first special key.
void ShowKeySequence(const PressToSet& press, const std::string& sequence);
// The hint line after the sequence, the kind or the interval changed: the
// first fault, or nothing. A press-to-set wait owns the line while it lasts.
void ShowKeySequenceHint(const PressToSet& press);
// Add: "{name}" of the chosen special key replaces the field's selection, or
// goes in at the caret; whole, or not at all when the field's limit would cut
// it.
void AddSpecialKey(const PressToSet& press);

}  // namespace quillon

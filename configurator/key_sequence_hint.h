// The hint line under the key-sequence field: the first fault the runtime's
// own parser finds in the sequence, in plain words with its position, so the
// user sees while typing why an action would send nothing or less than
// meant. A hint only: the text is stored as typed whatever it says.
#pragma once

#include <string>

namespace quillon {

// "" for a sound sequence; otherwise "position 7: unknown key name {ENTR}",
// the position counted from 1.
std::string KeySequenceHint(const std::string& sequence);
// The same for an entry of kind `action`. A hold entry holds each key it
// names from the press to the release, so its sequence may name keys only
// (letters, "{LEFT}", "+", ...): a hold word ("{ALT DOWN}") or text (a key
// named twice, which cannot go down twice) is a fault too. A repeat entry's
// interval, as typed in its field, follows the sequence's fault: outside
// kMinRepeatMs..kMaxRepeatMs the runtime repeats every kDefaultRepeatMs.
std::string EntryHint(const std::string& sequence, int action, const std::string& repeatText = "");
// Whether an entry of this action kind types its sequence at all (the two
// program-starting kinds keep one they never use).
bool UsesKeySequence(int action);
// A list row's text, with a mark while the entry's sequence has a fault
// (EntryHint's, the interval's aside).
std::string MarkedRowText(const std::string& rowText, const std::string& sequence, int action);

}  // namespace quillon

// The key-sequence notation stored in an action's KeySeq, turned into the
// keyboard events that type it. Prefixes "+" Shift, "^" Ctrl, "%" Alt apply to
// the next key token or to a "(...)" group, "~" is Enter, names between braces
// ("{F4}", "{shift down}", "{{}") name special keys, and every other character
// is typed through the current keyboard layout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "shared/key_event.h"

namespace quillon {

// Parses `text` (nullptr or "" allowed) into `*list`, which the caller owns
// afterwards and frees with FreeKeyEventList. Returns 0 on success (an empty
// text gives no list), or on a syntax error one more than the position the
// outermost level had reached, with no list at all; kParseOutOfMemory when
// memory for the list cannot be had. Exceptions other than a syntax error
// (from the layout, say) pass on to the caller, with nothing left allocated.
// Every event carries the runtime's injection tag (the hold tag for hold
// words). The parse keeps its state to itself, so parses may nest.
int32_t ParseKeySequence(const char* text, KeyEventList* list);

inline constexpr int32_t kParseOutOfMemory = -1;

void FreeKeyEventList(KeyEventList* list);

// What can be wrong in a sequence. The first six are syntax errors, for
// which the runtime sends nothing at all; the runtime quietly skips the last
// two and sends the rest.
enum class KeySequenceFaultKind {
  None,
  GroupWithoutPrefix,   // "(" with no prefix in force
  GroupNeverClosed,     // "(" whose ")" never comes
  UnopenedParenthesis,  // ")" outside any group
  BareBrace,            // "[", "]" or "}" read as a character
  NameNeverClosed,      // "{" with no "}" after it
  CannotType,           // a character the keyboard layout cannot produce
  UnknownName,          // a name between braces that names no key
  PrefixWithoutKey,     // "+", "^" or "%" with no key after it
};

struct KeySequenceFault {
  KeySequenceFaultKind kind = KeySequenceFaultKind::None;
  size_t position = 0;  // where it starts in the text, counted from 0
  size_t length = 0;    // the characters it covers: a name with its braces, else 1
};

// The fault nearest the start of `text`, as the parser meets it with the
// current keyboard layout; kind None for a sound sequence. What the parser
// accepts and sends is the same as for ParseKeySequence.
KeySequenceFault FindFirstKeySequenceFault(const char* text);

}  // namespace quillon

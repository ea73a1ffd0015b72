// The key-sequence notation stored in an action's KeySeq, turned into the
// keyboard events that type it. Prefixes "+" Shift, "^" Ctrl, "%" Alt apply to
// the next key token or to a "(...)" group, "~" is Enter, names between braces
// ("{F4}", "{shift down}", "{{}") name special keys, and every other character
// is typed through the current keyboard layout.
#pragma once

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

}  // namespace quillon

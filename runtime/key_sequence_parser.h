// The key-sequence notation stored in an action's KeySeq, turned into the
// keyboard events that type it. Prefixes "+" Shift, "^" Ctrl, "%" Alt apply to
// the next key token or to a "(...)" group, "~" is Enter, names between braces
// ("{F4}", "{shift down}", "{{}") name special keys, and every other character
// is typed through the current keyboard layout.
#pragma once

#include <cstdint>

namespace quillon {

inline constexpr uint32_t kInputKeyboard = 1;
inline constexpr uint32_t kKeyEventExtended = 1;
inline constexpr uint32_t kKeyEventKeyUp = 2;

// One keyboard event, field for field the platform's keyboard input record.
struct KeyEvent {
  uint32_t type = kInputKeyboard;
  uint16_t virtualKey = 0;
  uint16_t scanCode = 0;
  uint32_t flags = 0;      // kKeyEventExtended, kKeyEventKeyUp
  uint32_t time = 0;       // tick count when the event was added to the list
  uintptr_t extraInfo = 0;
};

// The events of one sequence in sending order. The room starts at 40 events
// and doubles whenever it is full.
struct KeyEventList {
  KeyEvent* events = nullptr;
  uint32_t count = 0;
  uint32_t capacity = 0;
};

inline constexpr uint32_t kInitialKeyEventCapacity = 40;

// Parses `text` (nullptr or "" allowed) into `*list`, which the caller owns
// afterwards and frees with FreeKeyEventList. Returns 0 on success (an empty
// text gives no list), or on a syntax error one more than the position the
// outermost level had reached, with no list at all. Exceptions other than a
// syntax error (from the layout, say) pass on to the caller, with nothing
// left allocated. Not reentrant: the list under construction is process-wide.
// When memory runs out the process ends with exit status 1.
int32_t ParseKeySequence(const char* text, KeyEventList* list);

void FreeKeyEventList(KeyEventList* list);

}  // namespace quillon

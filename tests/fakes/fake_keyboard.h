// Fakes of the keyboard seams: a fixed US layout with a settable Caps Lock
// and clock, and an input stream that records what it is given, can be told
// to refuse or fail on chosen submissions, and keeps the system's key state
// (one bit per key, the sides of Shift, Ctrl and Alt apart) from what it
// inserts and what the user's hands hold.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "shared/key_sequence_parser.h"

namespace quillon::fake_keyboard {

// Caps Lock off, clock at 1000, every submission accepted, nothing recorded.
void Reset();

void SetCapsLock(bool on);
void SetTickCount(uint32_t milliseconds);
// Every layout query throws std::runtime_error while set.
void SetLayoutFails(bool fails);
// Runs `action` once, at the next layout query.
void OnceWhileReadingLayout(std::function<void()> action);

// Submitted events are numbered from 1 in the order they are inserted
// (releases after a failure included). A refused one inserts nothing and
// ends its call, as the system stops at the first event it cannot insert; a
// failing one throws std::runtime_error. The events of a call after the one
// that ended it get no number.
void SetRefusedSubmissions(std::set<int> numbers);
void SetFailingSubmissions(std::set<int> numbers);

// Every call to the input seam, in order: "BlockInput 1", "BlockInput 0",
// "Sleep 50", "SendInput 6" for a call with six events, followed by a line
// for each of them that it reached: "Send 41 1e down", "Send 28 50 ext up",
// "Refused 41 1e down", "Failed 41 1e down" (hexadecimal virtual key and scan
// code).
const std::vector<std::string>& Calls();
// The events that were inserted, in order.
const std::vector<KeyEvent>& InsertedEvents();
// The user presses (or lets go of) a key by hand: virtual key 0xA0 to 0xA5
// for a side of Shift, Ctrl or Alt, 0x5B and 0x5C for the Windows keys.
void HoldByHand(uint16_t virtualKey, bool down);
// The hand lets go of `virtualKey` just before submitted event `number` goes
// in: a release that comes in the middle of a call, as where the system does
// not keep one call together.
void LetGoByHandAt(int number, uint16_t virtualKey);
// The modifier keys (ModifierKey bits) the hand holds, as a watch of every
// key event would know them.
uint32_t HandModifierKeys();
// Whether the key state has `virtualKey` down; the generic 0x10 to 0x12 are
// down when either side is.
bool KeyDown(uint16_t virtualKey);
// One call line for `event`, without the leading word.
std::string Describe(const KeyEvent& event);

}  // namespace quillon::fake_keyboard

// Fakes of the keyboard seams: a fixed US layout with a settable Caps Lock
// and clock, and an input stream that records what it is given and can be
// told to refuse or fail on chosen submissions.
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

// Submissions are numbered from 1 in the order they arrive (releases after a
// failure included). A refused one inserts nothing; a failing one throws
// std::runtime_error.
void SetRefusedSubmissions(std::set<int> numbers);
void SetFailingSubmissions(std::set<int> numbers);

// Every call to the input seam, in order: "BlockInput 1", "BlockInput 0",
// "Sleep 50", and for submissions "Send 41 1e down", "Send 28 50 ext up",
// "Refused 41 1e down", "Failed 41 1e down" (hexadecimal virtual key and scan
// code).
const std::vector<std::string>& Calls();
// The events that were inserted, in order.
const std::vector<KeyEvent>& InsertedEvents();
// One call line for `event`, without the leading word.
std::string Describe(const KeyEvent& event);

}  // namespace quillon::fake_keyboard

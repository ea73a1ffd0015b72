// A visible, focused test window that records the keyboard messages it
// receives, so system tests can check what injected keys really deliver.
// Alt+F4 and the close box do not close it: a close request is recorded as
// "close" instead.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quillon::key_recorder {

struct RecordedMessage {
  UINT message;  // WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR, WM_CLOSE
  WPARAM wParam;
  LPARAM lParam;
};

// Creates the window with `title`, shows it and gives it the keyboard focus.
// Returns nullptr on failure. One recorder window at a time.
HWND Create(const char* title);
void Destroy();
HWND Window();

// Brings the window to the front and gives it the focus again; true when it
// has the focus afterwards.
bool Focus();

// Dispatches (with TranslateMessage) every message waiting for this thread.
void PumpPending();
// Pumps until `condition` holds or `timeoutMs` passes; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Pumps for a while: lets late messages arrive after a condition was met.
void PumpFor(DWORD milliseconds);

const std::vector<RecordedMessage>& Messages();
void Clear();

// The recorded messages as one line: "41d" key-down, "41u" key-up of virtual
// key 0x41, "'a'" a character, with "s" before each for the WM_SYS* kind
// ("s12d", "s'x'"), and "close" for a close request; separated by spaces.
// Characters below 0x20 show as "'\x0d'".
std::string Describe();
// How many entries Describe() has.
size_t Count();

// Injects one key-down or key-up of `key` with its scan code, as a keyboard
// would send it; Press sends both.
void InjectKey(WORD key, bool up);
void PressKey(WORD key);

}  // namespace quillon::key_recorder

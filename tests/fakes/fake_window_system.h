// A scriptable tree of fake windows behind the window-system seam. Windows
// are numbered from 1 in the order they are added; each new window goes
// behind its siblings in z-order. Every action on a window is recorded.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/seams/window_system.h"

namespace quillon::fake_window_system {

// No windows, no foreground window, nothing recorded.
void Reset();

WindowHandle AddTopLevelWindow(const std::string& className, const std::string& title);
WindowHandle AddChildWindow(WindowHandle parent, const std::string& className, const std::string& title);
// The window stays in its sibling chain (as one destroyed while the search
// holds its handle) but reads as empty and no longer exists.
void MarkWindowGone(WindowHandle window);
// The window takes no message in time: a sent message waits its bound out.
void MarkWindowHung(WindowHandle window);
// Runs `action` each time a window is sent a message, as the messages that
// the runtime's thread handles while it waits could (nullptr: nothing).
void WhileHandlingMessages(std::function<void()> action);

// The number a window was given; 0 for nullptr or a handle not from here.
int NumberOf(WindowHandle window);
WindowHandle WindowNumber(int number);

// "Foreground 3", "SendMessage 3 0x0201 0 0", and lines that other fakes
// add with RecordCall (the switcher fake adds "ShowAppSwitcher").
const std::vector<std::string>& Calls();
void RecordCall(const std::string& line);
WindowHandle ForegroundWindow();
// The next `times` foreground requests are refused (-1: all of them), as
// the foreground lock refuses a background program on Windows.
void RefuseForeground(int times);
// The window-event side (foreground_events.h): the window in front, as a
// user's click would put it there (no call recorded; the test then hands the
// event on as the main window would), whether the events are being heard,
// and which window is watched for its closing. "ForegroundEvents on/off" and
// "WatchClosing 3" are recorded.
void PutInFront(WindowHandle window);
void RefuseForegroundEvents(bool refuse);
bool HearingForegroundEvents();
WindowHandle WatchedForClosing();

// How many title and class reads the seam has answered since Reset.
int TextReads();

}  // namespace quillon::fake_window_system

// The progress window in memory: whether it is open, the steps it was shown,
// and a Cancel that a test presses after a number of steps.
#pragma once

#include <cstdint>
#include <string>

namespace quillon::fake_progress_window {

// Closed, no steps, never cancelled.
void Reset();
// Cancel is pressed during step `step` (1 the first); 0 never.
void CancelAtStep(int step);
bool IsOpen();
std::string Text();  // the text it was last opened with
int Steps();
// Times it was opened, and closed: a reading that leaves it open shows.
int Opened();
int Closed();

}  // namespace quillon::fake_progress_window

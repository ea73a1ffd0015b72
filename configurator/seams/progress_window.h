// A small window over the main window that shows how far a long reading has
// got, with a Cancel button. While it is open the main window takes no input,
// and each step lets the window handle what waits for it, so that it paints,
// moves and hears Cancel between the pieces of the reading.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

void OpenProgressWindow(const std::string& text);
// Moves the bar to `done` of `size` and handles the messages waiting; false
// once Cancel was pressed (or the window was closed).
bool StepProgress(uint64_t done, uint64_t size);
void CloseProgressWindow();

}  // namespace quillon

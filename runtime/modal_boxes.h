// The runtime's boxes (the controller error, the about box, the refused
// program) one at a time. Each box runs its own message loop, which
// dispatches whatever arrives meanwhile: a reload that shows the box again
// would nest one box inside the other for as long as reloads keep coming (a
// script sending "R" in a loop, repeated Applies) until the stack runs out.
#pragma once

#include <functional>

namespace quillon {

struct OpenBoxes;

// Runs `show` (which shows a box and returns once it is closed) with the
// box counted as open.
void WithBoxOpen(OpenBoxes& boxes, const std::function<void()>& show);
bool BoxOpen(const OpenBoxes& boxes);

}  // namespace quillon

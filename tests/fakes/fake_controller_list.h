// The attached game controllers for tests: whatever the test plugs in, with
// the buttons, the stick and the hat it holds; and the page's ticks, which
// the test runs itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "configurator/seams/controller_list.h"
#include "configurator/seams/controller_watch.h"
#include "configurator/seams/page_ticks.h"

namespace quillon {

// From now on EnumerateAttachedControllers lists exactly these product names,
// in this order ({} as when nothing is attached or DirectInput is missing).
// A watched controller whose name is no longer listed cannot be read (as an
// unplugged device object fails).
void SetAttachedControllers(std::vector<std::string> names);
// As at start: nothing attached, held or open, and no ticks running.
void ResetControllerList();
// Buttons held on every attached controller (bit i: button i + 1; each has
// 32 buttons).
void HoldControllerButtons(uint32_t buttons);
// Every attached controller's stick at (x, y), each 0 (left, up) to 65535,
// and its first hat in hundredths of a degree clockwise from up (0xFFFF
// centred); both start centred.
void MoveControllerStick(int32_t x, int32_t y);
void PushControllerHat(uint32_t hat);
// The interval of the page ticks while they run, 0 while they do not.
int PageTickInterval();
// Reads done through the watch since the last reset of the list.
int WatchedReads();

}  // namespace quillon

// Polling of the chosen game controller on PollTimer.
#pragma once

#include <cstdint>

namespace quillon {

struct PollState;
struct Runtime;

// PollTimer's interval for `pollPerSecond` polls a second. 0 (or a missing
// value) would leave no interval at all, so it polls at the configurator's
// factory rate instead: a user who turned the controller on wants it read.
uint32_t PollIntervalMs(uint32_t pollPerSecond);

// Opens the controller named by SwitchDevice (with EveryDevice on, every
// attached one of that name) and starts PollTimer.
void InitController(Runtime& runtime);
// One PollTimer tick.
void PollController(Runtime& runtime);
// Stops PollTimer if it runs.
void StopPollTimer(PollState& poll);
// Releases the controllers and the input system. Each pad's "this press
// has fired" is kept for the next load (controller_poll.cpp says why);
// what its hold and repeat entries hold is the caller's to end
// (EndEveryPress), as an unload and the runtime's end do.
void ReleaseController(PollState& poll);

// The system's set of devices changed, or the machine woke up. A controller
// that was unplugged is a new device once it is back: the old device object
// fails for good and only a new listing finds it. So each open pad that no
// longer answers is closed and its press ended, and the controllers are
// listed again by name: with EveryDevice off only when no pad is left open;
// with it on always, so that a pad plugged in joins the others, which stay
// open with their presses.
// Nothing happens when the controller could not be started at the load.
// Listings come at most once a second; one asked for sooner is made by the
// first tick after that.
void FindControllerAgain(Runtime& runtime);

}  // namespace quillon

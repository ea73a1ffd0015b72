// The settings tree's lock as one process sees it, with another program that
// may hold it. A wait for a lock held elsewhere runs what the holder still
// does before it lets go (so a test can have the holder finish its write
// while this process waits, as the system would schedule it), or times out
// when the holder never lets go.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quillon::fake_settings_lock {

// Free, nobody elsewhere, no failure, nothing recorded.
void Reset();
// Another program holds the lock now. The next wait runs `restOfHold` and
// then takes the lock; with nullptr the holder is hung and the wait times
// out. With `holderDies` the holder ends without letting go once
// `restOfHold` has run: the wait takes the lock from a dead holder.
void HeldElsewhere(std::function<void()> restOfHold, bool holderDies = false);
// Whether this process holds the lock.
bool HeldHere();
// "Take 5000", "Take 5000 timed out", "Take 5000 from a dead holder",
// "Release".
const std::vector<std::string>& Calls();

}  // namespace quillon::fake_settings_lock

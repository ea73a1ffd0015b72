// The lock around the settings tree, which both programs take: a writer (an
// Apply, or a command-line import started by a "Change configuration" entry)
// for its whole write and trim, the runtime for its whole read. Without it a
// reload can read the new main key beside entries not yet written, and two
// imports can interleave their entries and trims into a tree neither wrote.
#pragma once

#include <cstdint>

namespace quillon {

enum class SettingsLock : uint8_t {
  Taken,
  // The last holder ended while it held the lock (it died mid-write): the
  // tree may be half written. The lock is held now all the same.
  TakenFromDeadHolder,
  // Someone held it for the whole wait: not held.
  TimedOut,
  // The lock could not be had at all: not held.
  Failed,
};

// Waits at most `timeoutMs` for the lock. Never called on the hook's thread.
SettingsLock TakeSettingsLock(uint32_t timeoutMs);
// Lets go of a lock that TakeSettingsLock gave.
void ReleaseSettingsLock();

inline bool Held(SettingsLock lock) { return lock == SettingsLock::Taken || lock == SettingsLock::TakenFromDeadHolder; }

}  // namespace quillon

#include "tests/fakes/fake_settings_lock.h"

#include <cstdlib>
#include <utility>

#include "shared/seams/settings_lock.h"

namespace quillon::fake_settings_lock {

namespace {
struct LockState {
  bool heldElsewhere = false;
  bool holderDies = false;
  std::function<void()> restOfHold;
  int heldHere = 0;  // a mutex counts the takes of its owner
  std::vector<std::string> calls;
};
LockState g_lock;
}  // namespace

void Reset() { g_lock = LockState{}; }

void HeldElsewhere(std::function<void()> restOfHold, bool holderDies) {
  g_lock.heldElsewhere = true;
  g_lock.restOfHold = std::move(restOfHold);
  g_lock.holderDies = holderDies;
}

bool HeldHere() { return g_lock.heldHere > 0; }
const std::vector<std::string>& Calls() { return g_lock.calls; }

}  // namespace quillon::fake_settings_lock

namespace quillon {

using fake_settings_lock::g_lock;

SettingsLock TakeSettingsLock(uint32_t timeoutMs) {
  const std::string take = "Take " + std::to_string(timeoutMs);
  bool fromDeadHolder = false;
  if (g_lock.heldElsewhere) {
    if (!g_lock.restOfHold) {
      g_lock.calls.push_back(take + " timed out");
      return SettingsLock::TimedOut;
    }
    // The holder finishes while this process waits, then lets go (or dies).
    std::function<void()> rest = std::move(g_lock.restOfHold);
    g_lock.restOfHold = nullptr;
    rest();
    g_lock.heldElsewhere = false;
    fromDeadHolder = g_lock.holderDies;
  }
  g_lock.calls.push_back(take + (fromDeadHolder ? " from a dead holder" : ""));
  ++g_lock.heldHere;
  return fromDeadHolder ? SettingsLock::TakenFromDeadHolder : SettingsLock::Taken;
}

void ReleaseSettingsLock() {
  // ReleaseMutex by a thread that does not own it fails: a caller bug.
  if (g_lock.heldHere == 0) std::abort();
  --g_lock.heldHere;
  g_lock.calls.push_back("Release");
}

}  // namespace quillon

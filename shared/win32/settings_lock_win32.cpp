#include <windows.h>

#include "shared/seams/settings_lock.h"

namespace quillon {

namespace {

// The tree lives in HKEY_CURRENT_USER, one per user, and each user's
// programs run in that user's session: a name in the session's own
// namespace ("Local\") serialises everything that shares the tree. A
// "Global\" name would let another user of the PC create the object first,
// with a security descriptor that shuts this user out, and so stop every
// Apply. (The same user logged on twice at once, at the console and over
// Remote Desktop, shares a tree across two sessions: the one case this name
// does not cover.)
constexpr const char* kLockName = "Local\\Quillon settings";

// Opened once and kept: the object lives while any process has it open, and
// closing it between uses would only cost a lookup in the namespace.
HANDLE Mutex() {
  static HANDLE mutex = CreateMutexA(nullptr, FALSE, kLockName);
  return mutex;
}

}  // namespace

SettingsLock TakeSettingsLock(uint32_t timeoutMs) {
  HANDLE mutex = Mutex();
  if (mutex == nullptr) return SettingsLock::Failed;
  switch (WaitForSingleObject(mutex, timeoutMs)) {
    case WAIT_OBJECT_0: return SettingsLock::Taken;
    // The system hands an abandoned mutex to the next waiter, owned.
    case WAIT_ABANDONED: return SettingsLock::TakenFromDeadHolder;
    case WAIT_TIMEOUT: return SettingsLock::TimedOut;
    default: return SettingsLock::Failed;
  }
}

void ReleaseSettingsLock() {
  if (HANDLE mutex = Mutex()) ReleaseMutex(mutex);
}

}  // namespace quillon

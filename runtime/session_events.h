// What the runtime does when the machine or the session changes under it: a
// device plugged in or out, sleep and resume, the session locked, switched
// away and back. A cabinet runs for days with nobody at the keyboard, so
// every one of these must leave the runtime working without a reload.
#pragma once

namespace quillon {

struct Runtime;

enum class SessionEvent {
  DevicesChanged,  // a device arrived or went
  Resumed,         // the machine woke up
  Returned,        // the session was unlocked or connected to again
  Left,            // the session was locked or switched away
  Suspending,      // the machine is about to sleep
};

void HandleSessionEvent(Runtime& runtime, SessionEvent event);

}  // namespace quillon

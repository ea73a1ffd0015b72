#include "runtime/session_events.h"

#include "runtime/controller_poll.h"
#include "runtime/held_actions.h"
#include "runtime/key_injection.h"
#include "runtime/keyboard_capture.h"
#include "runtime/runtime_ending.h"
#include "runtime/runtime_state.h"

namespace quillon {

void HandleSessionEvent(Runtime& runtime, SessionEvent event) {
  // Log-off ends the runtime without destroying its window; a session change
  // that follows must not arm anything again.
  if (RuntimeEnding()) return;
  switch (event) {
    case SessionEvent::DevicesChanged:
      if (runtime.settings.useJoystick) FindControllerAgain(runtime);
      break;
    case SessionEvent::Left:
    case SessionEvent::Suspending:
      // A hold must not wait for a user who may never come back to this
      // session, nor follow the keyboard into another one, nor outlast
      // sleep: the pad's release may come while the machine sleeps, or
      // never (a pad unplugged meanwhile). A button still held is not a new
      // press.
      EndEveryPress(runtime);
      ReleaseHeldKeys(runtime.held);
      break;
    case SessionEvent::Resumed:
    case SessionEvent::Returned:
      // The system may have dropped the hook (it does so when its thread was
      // frozen past the time-out) or a hot key; and the keys' state after
      // sleep or a session switch is not what a hold left. Armed first, so a
      // user who sees the hold end finds the keys working.
      RearmKeyboardCapture(runtime);
      EndEveryPress(runtime);
      ReleaseHeldKeys(runtime.held);
      if (runtime.settings.useJoystick) FindControllerAgain(runtime);
      break;
  }
}

}  // namespace quillon

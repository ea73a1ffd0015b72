#include "runtime/session_events.h"

#include "runtime/controller_poll.h"
#include "runtime/key_injection.h"
#include "runtime/keyboard_capture.h"
#include "runtime/runtime_ending.h"
#include "runtime/settings_store.h"

namespace quillon {

void HandleSessionEvent(SessionEvent event) {
  // Log-off ends the runtime without destroying its window; a session change
  // that follows must not arm anything again.
  if (RuntimeEnding()) return;
  switch (event) {
    case SessionEvent::DevicesChanged:
      if (g_settings.useJoystick) FindControllerAgain();
      break;
    case SessionEvent::Left:
      // A hold must not wait for a user who may never come back to this
      // session, nor follow the keyboard into another one.
      ReleaseHeldKeys();
      break;
    case SessionEvent::Resumed:
    case SessionEvent::Returned:
      // The system may have dropped the hook (it does so when its thread was
      // frozen past the time-out) or a hot key; and the keys' state after
      // sleep or a session switch is not what a hold left. Armed first, so a
      // user who sees the hold end finds the keys working.
      RearmKeyboardCapture();
      ReleaseHeldKeys();
      if (g_settings.useJoystick) FindControllerAgain();
      break;
  }
}

}  // namespace quillon

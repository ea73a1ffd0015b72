// Stands in for the pop-up switcher in tests of action dispatch: the request
// lands in the window-system fake's call log, in order with the window
// actions, so a test sees whether the switcher came before or after them.
// A program that links this also links the window-system fake.
#include "runtime/seams/app_switcher.h"
#include "tests/fakes/fake_window_system.h"

namespace quillon {

void ShowAppSwitcher() { fake_window_system::RecordCall("ShowAppSwitcher"); }

}  // namespace quillon

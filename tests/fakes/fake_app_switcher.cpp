// Stands in for the pop-up switcher in tests of action dispatch: the request
// lands in the window-system fake's call log, in order with the window
// actions, so a test sees whether the switcher came before or after them.
// A program that links this also links the window-system fake.
#include "tests/fakes/fake_app_switcher.h"

#include <utility>

#include "runtime/seams/app_switcher.h"
#include "tests/fakes/fake_window_system.h"

namespace quillon {

namespace fake_app_switcher {
namespace {
std::function<void()> g_whileOpen;
}  // namespace
void WhileOpen(std::function<void()> whileOpen) { g_whileOpen = std::move(whileOpen); }
}  // namespace fake_app_switcher

void ShowAppSwitcher() {
  fake_window_system::RecordCall("ShowAppSwitcher");
  if (fake_app_switcher::g_whileOpen) fake_app_switcher::g_whileOpen();
}

}  // namespace quillon

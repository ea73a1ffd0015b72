#include "tests/fakes/fake_controller_list.h"

#include <algorithm>
#include <utility>

namespace quillon {

namespace {
struct Controllers {
  std::vector<std::string> names;
  uint32_t held = 0;
  std::string watched;  // "" while none is open
  int reads = 0;
  int tickInterval = 0;
};
Controllers& State() {
  static Controllers state;
  return state;
}
bool Attached(const std::string& name) {
  const auto& names = State().names;
  return !name.empty() && std::find(names.begin(), names.end(), name) != names.end();
}
}  // namespace

void SetAttachedControllers(std::vector<std::string> names) {
  State().names = std::move(names);
  State().reads = 0;
}
void ResetControllerList() { State() = Controllers{}; }
void HoldControllerButtons(uint32_t buttons) { State().held = buttons; }
int PageTickInterval() { return State().tickInterval; }
int WatchedReads() { return State().reads; }

std::vector<std::string> EnumerateAttachedControllers() { return State().names; }

bool OpenWatchedController(const std::string& productName) {
  State().watched = Attached(productName) ? productName : "";
  return !State().watched.empty();
}
std::optional<uint32_t> ReadWatchedButtons() {
  if (!Attached(State().watched)) return std::nullopt;
  ++State().reads;
  return State().held & 0x3FF;
}
void CloseWatchedController() { State().watched.clear(); }

void StartPageTicks(int intervalMs) { State().tickInterval = intervalMs; }
void StopPageTicks() { State().tickInterval = 0; }

}  // namespace quillon

#include "tests/fakes/fake_controller_list.h"

#include <algorithm>
#include <utility>

namespace quillon {

namespace {
constexpr int32_t kAxisMax = 65535;
constexpr int32_t kCentre = kAxisMax / 2;
struct Controllers {
  std::vector<std::string> names;
  uint32_t held = 0;
  int32_t x = kCentre;
  int32_t y = kCentre;
  uint32_t hat = 0xFFFF;
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
void MoveControllerStick(int32_t x, int32_t y) {
  State().x = x;
  State().y = y;
}
void PushControllerHat(uint32_t hat) { State().hat = hat; }
int PageTickInterval() { return State().tickInterval; }
int WatchedReads() { return State().reads; }

std::vector<std::string> EnumerateAttachedControllers() { return State().names; }

bool OpenWatchedController(const std::string& productName) {
  State().watched = Attached(productName) ? productName : "";
  return !State().watched.empty();
}
std::optional<ControllerInput> ReadWatchedInput() {
  if (!Attached(State().watched)) return std::nullopt;
  ++State().reads;
  const Controllers& s = State();
  return ControllerInput{s.held, HeldDirections(s.x, s.y, 0, kAxisMax, s.hat)};
}
void CloseWatchedController() { State().watched.clear(); }

void StartPageTicks(int intervalMs) { State().tickInterval = intervalMs; }
void StopPageTicks() { State().tickInterval = 0; }

}  // namespace quillon

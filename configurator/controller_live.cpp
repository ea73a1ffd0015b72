#include "configurator/controller_live.h"

#include "configurator/controller_boxes.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/controller_watch.h"
#include "configurator/seams/page_ticks.h"
#include "configurator/seams/window_controls.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {
// A controller that is not attached is looked for again about once a second:
// opening one lists every device, which is too slow for each tick.
constexpr int kReopenEveryTicks = 1000 / kLiveTickMs;

std::string ChosenController() {
  const int row = SelectedRow(IDC_cmbDeviceName);
  return row < 0 ? std::string() : RowText(IDC_cmbDeviceName, row);
}

bool WatchingController(const LiveController& live) { return live.onScreen && IsChecked(IDC_optJoystick); }

void ShowHeld(const LiveController& live) { LightControllerInput(live.held); }

void ShowNote(const LiveController& live) {
  const char* note = live.watchedName.empty() ? "No controller chosen" : live.open ? "" : "Controller not attached";
  SetControlText(IDC_labControllerNote, note);
}

void Open(LiveController& live) {
  live.open = !live.watchedName.empty() && OpenWatchedController(live.watchedName);
  live.ticksSinceOpen = 0;
  ShowNote(live);
}

void Close(LiveController& live) {
  if (live.open) CloseWatchedController();
  live.open = false;
  live.held.reset();
  ShowHeld(live);
}

void SetTicking(LiveController& live, bool ticking) {
  if (ticking == live.ticking) return;
  live.ticking = ticking;
  if (ticking) StartPageTicks(kLiveTickMs);
  else StopPageTicks();
}

// One read; a controller that stops answering (unplugged) is closed and
// looked for again later.
void ReadHeld(LiveController& live) {
  if (!live.open && !live.watchedName.empty() && ++live.ticksSinceOpen >= kReopenEveryTicks) Open(live);
  live.held = live.open ? ReadWatchedInput() : std::nullopt;
  if (live.open && !live.held) {
    CloseWatchedController();
    live.open = false;
    ShowNote(live);
  }
  ShowHeld(live);
}
}  // namespace

void SetLiveControllerOnScreen(LiveController& live, PressToSet& press, bool onScreen) {
  live.onScreen = onScreen;
  if (!onScreen) CancelPressToSet(press);
  UpdateControllerWatch(live, press);
}

void UpdateControllerWatch(LiveController& live, const PressToSet& press) {
  const bool watch = WatchingController(live);
  SetTicking(live, watch || (live.onScreen && PressToSetWaiting(press)));
  if (!watch) {
    Close(live);
    return;
  }
  const std::string name = ChosenController();
  if (live.open && name == live.watchedName) return;
  Close(live);
  live.watchedName = name;
  Open(live);
}

void OnLiveControllerTick(LiveController& live, PressToSet& press) {
  if (WatchingController(live)) ReadHeld(live);
  OnPressToSetTick(press, live.held, kLiveTickMs);
  if (!PressToSetWaiting(press) && !WatchingController(live)) SetTicking(live, false);
}

bool ControllerReadable(const LiveController& live) { return live.open && live.held.has_value(); }

}  // namespace quillon

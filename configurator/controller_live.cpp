#include "configurator/controller_live.h"

#include <string>

#include "configurator/press_to_set.h"
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

bool g_onScreen = false;
bool g_ticking = false;
bool g_open = false;
std::string g_watchedName;
int g_ticksSinceOpen = 0;
std::optional<uint32_t> g_held;

std::string ChosenController() {
  const int row = SelectedRow(IDC_cmbDeviceName);
  return row < 0 ? std::string() : RowText(IDC_cmbDeviceName, row);
}

bool WatchingController() { return g_onScreen && IsChecked(IDC_optJoystick); }

void ShowHeld() {
  for (int k = 0; k < kMaxControllerButtons; ++k)
    SetLit(IDC_chkButton0 + k, g_held.has_value() && (*g_held & (1u << k)) != 0);
}

void ShowNote() {
  const char* note = g_watchedName.empty() ? "No controller chosen" : g_open ? "" : "Controller not attached";
  SetControlText(IDC_labControllerNote, note);
}

void Open() {
  g_open = !g_watchedName.empty() && OpenWatchedController(g_watchedName);
  g_ticksSinceOpen = 0;
  ShowNote();
}

void Close() {
  if (g_open) CloseWatchedController();
  g_open = false;
  g_held.reset();
  ShowHeld();
}

void SetTicking(bool ticking) {
  if (ticking == g_ticking) return;
  g_ticking = ticking;
  if (ticking) StartPageTicks(kLiveTickMs);
  else StopPageTicks();
}

// One read; a controller that stops answering (unplugged) is closed and
// looked for again later.
void ReadHeld() {
  if (!g_open && !g_watchedName.empty() && ++g_ticksSinceOpen >= kReopenEveryTicks) Open();
  g_held = g_open ? ReadWatchedButtons() : std::nullopt;
  if (g_open && !g_held) {
    CloseWatchedController();
    g_open = false;
    ShowNote();
  }
  ShowHeld();
}
}  // namespace

void SetActionsPageOnScreen(bool onScreen) {
  g_onScreen = onScreen;
  if (!onScreen) CancelPressToSet();
  UpdateControllerWatch();
}

void UpdateControllerWatch() {
  const bool watch = WatchingController();
  SetTicking(watch || (g_onScreen && PressToSetWaiting()));
  if (!watch) {
    Close();
    return;
  }
  const std::string name = ChosenController();
  if (g_open && name == g_watchedName) return;
  Close();
  g_watchedName = name;
  Open();
}

void OnActionsPageTick() {
  if (WatchingController()) ReadHeld();
  OnPressToSetTick(g_held, kLiveTickMs);
  if (!PressToSetWaiting() && !WatchingController()) SetTicking(false);
}

bool ControllerReadable() { return g_open && g_held.has_value(); }

}  // namespace quillon

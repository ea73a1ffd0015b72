#include "runtime/game_window.h"

#include <string>

#include "runtime/map_switching.h"
#include "runtime/runtime_ending.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/foreground_events.h"
#include "runtime/seams/window_timers.h"
#include "runtime/target_window.h"
#include "shared/games_list.h"

namespace quillon {

namespace {

// Titles are read as far as the target-window patterns read them.
constexpr size_t kMaxTitleChars = 254;

// "<short name>" of a title ending in "[<short name>]" (blanks after the
// bracket allowed), or "" when it does not end so.
std::string ShortNameInTitle(const std::string& title) {
  size_t end = title.find_last_not_of(' ');
  if (end == std::string::npos || title[end] != ']') return std::string();
  size_t open = title.rfind('[', end);
  if (open == std::string::npos || end - open - 1 > kGameNameMaxLength) return std::string();
  return title.substr(open + 1, end - open - 1);
}

void SetChooser(Runtime& runtime, WindowHandle window) {
  runtime.follow.chooser = window;
  WatchWindowClosing(window);
}

// A step by hand still waiting for ChangeTimer is the user's own and is
// handed over first; the window's choice follows its hand-over.
void HandOverForWindow(Runtime& runtime, uint32_t config) {
  if (MapChangePending(runtime.map)) runtime.map.afterStep = config;
  else HandOverChosenMap(runtime, config);
}

void StopSettleTimer(FollowState& follow) {
  if (follow.settleTimer != 0) StopWindowTimer(SettleTimerId);
  follow.settleTimer = 0;
}

// The window that chose the map is gone: the one in front now chooses, or
// the default map comes back.
void ChooserGone(Runtime& runtime) {
  SetChooser(runtime, nullptr);
  WindowHandle front = WindowInFront();
  std::optional<uint32_t> chosen;
  if (front != nullptr && WindowStillExists(front)) chosen = MapForWindow(runtime.settings, front);
  if (chosen) SetChooser(runtime, front);
  HandOverForWindow(runtime, chosen ? *chosen : runtime.settings.defaultConfig);
}

}  // namespace

std::optional<uint32_t> MapForWindow(const RuntimeSettings& s, WindowHandle window) {
  std::string shortName = ShortNameInTitle(WindowTitleText(window, kMaxTitleChars));
  if (!shortName.empty())
    if (std::optional<size_t> found = MapForGame(s.gamesLists, shortName)) return uint32_t(*found);
  for (uint32_t k = 0; k < s.configCount; ++k)
    if (!s.configWindows[k].empty() && WindowMatchesPattern(window, s.configWindows[k])) return k;
  return std::nullopt;
}

std::optional<uint32_t> StartFollowingGame(Runtime& runtime) {
  FollowState& follow = runtime.follow;
  if (RuntimeEnding() || !runtime.settings.followGame || follow.watching) {
    follow.chooser = nullptr;
    return std::nullopt;
  }
  follow.watching = StartForegroundEvents();
  // The game whose window chose the map before a reload still has it: its
  // closing brings the default back as before.
  if (!follow.watching || !WindowStillExists(follow.chooser)) follow.chooser = nullptr;
  if (follow.chooser != nullptr) SetChooser(runtime, follow.chooser);
  if (!follow.watching || !runtime.settings.applyOnStart) return std::nullopt;
  WindowHandle front = WindowInFront();
  if (front == nullptr) return std::nullopt;
  std::optional<uint32_t> chosen = MapForWindow(runtime.settings, front);
  if (chosen) SetChooser(runtime, front);
  return chosen;
}

void StopFollowingGame(Runtime& runtime) {
  FollowState& follow = runtime.follow;
  StopSettleTimer(follow);
  if (follow.watching) StopForegroundEvents();
  follow.watching = false;
}

void WindowCameToFront(Runtime& runtime, WindowHandle window) {
  FollowState& follow = runtime.follow;
  if (!follow.watching || RuntimeEnding()) return;
  // A program that is killed may take its windows with it before their
  // destruction is heard; the next change of front notices.
  if (follow.chooser != nullptr && !WindowStillExists(follow.chooser)) ChooserGone(runtime);
  if (window == nullptr || window == follow.chooser) {
    StopSettleTimer(follow);
    return;
  }
  // Restarting the timer gives each newer window its own full settle time.
  follow.settleTimer = StartWindowTimer(SettleTimerId, kWindowSettleMs);
}

void WindowSettled(Runtime& runtime) {
  FollowState& follow = runtime.follow;
  // A tick already queued when the timer was stopped finds it stopped.
  if (follow.settleTimer == 0) return;
  StopSettleTimer(follow);
  if (!follow.watching || RuntimeEnding() || runtime.reloads.loading) return;
  // Each change of front restarts the timer, so the window in front now is
  // the one that stayed. Where the system reports only the creation of
  // windows (Wine), the window created need not be the one in front.
  WindowHandle window = WindowInFront();
  if (window == nullptr || window == follow.chooser) return;
  std::optional<uint32_t> chosen = MapForWindow(runtime.settings, window);
  if (!chosen) return;
  SetChooser(runtime, window);
  HandOverForWindow(runtime, *chosen);
}

void WatchedWindowClosed(Runtime& runtime, WindowHandle window) {
  FollowState& follow = runtime.follow;
  if (!follow.watching || RuntimeEnding() || window == nullptr || window != follow.chooser) return;
  ChooserGone(runtime);
}

}  // namespace quillon

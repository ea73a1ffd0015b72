#include "runtime/user_notices.h"

#include <algorithm>

#include "runtime/seams/map_name_display.h"
#include "runtime/seams/notification_icon.h"
#include "runtime/seams/window_timers.h"
#include "runtime/runtime_state.h"

namespace quillon {

namespace {

void StopIconTries(NoticeState& notices) {
  if (notices.iconTimer != 0) StopWindowTimer(IconTimerId);
  notices.iconTimer = 0;
  notices.iconTriesLeft = 0;
}

// The tip keeps naming the map last handed over, across reloads.
void RefreshIcon(Runtime& runtime) {
  NoticeState& notices = runtime.notices;
  if (!runtime.settings.showTrayIcon) {
    StopIconTries(notices);
    RemoveNotificationIcon();
    return;
  }
  if (ShowNotificationIcon(IconTipFor(notices.activeMap))) {
    StopIconTries(notices);
    return;
  }
  // Tries already under way go on with their count: a reload must not make
  // a minute of tries last for ever.
  if (notices.iconTimer != 0) return;
  notices.iconTriesLeft = kIconTries;
  notices.iconTimer = StartWindowTimer(IconTimerId, kIconRetryMs);
}

}  // namespace

std::string IconTipFor(const std::string& activeMap) {
  std::string tip = activeMap.empty() ? "Quillon" : "Quillon: " + activeMap;
  if (tip.size() > kMaxIconTipLength) tip.resize(kMaxIconTipLength);
  return tip;
}

uint8_t MapNameOpacityAfter(uint32_t elapsedMs) {
  if (elapsedMs < kMapNameHoldMs) return kMapNameOpacity;
  uint32_t fading = elapsedMs - kMapNameHoldMs;
  if (fading >= kMapNameFadeMs) return 0;
  return static_cast<uint8_t>(kMapNameOpacity * (kMapNameFadeMs - fading) / kMapNameFadeMs);
}

int MapNameTextHeight(int monitorHeight) { return std::clamp(monitorHeight / 14, 24, 120); }

ScreenRect MapNamePlacement(const ScreenRect& monitor, int textWidth, int textHeight) {
  const int padding = textHeight / 2;
  const int monitorWidth = monitor.right - monitor.left;
  const int width = std::min(textWidth + 2 * padding, monitorWidth);
  const int height = textHeight + padding;
  ScreenRect placed;
  placed.left = monitor.left + (monitorWidth - width) / 2;
  placed.top = monitor.top + (monitor.bottom - monitor.top) / 20;
  placed.right = placed.left + width;
  placed.bottom = placed.top + height;
  return placed;
}

void RefreshNotices(Runtime& runtime) { RefreshIcon(runtime); }

void RetryNotificationIcon(Runtime& runtime) {
  NoticeState& notices = runtime.notices;
  // A tick already queued when the tries ended finds nothing to do.
  if (notices.iconTimer == 0) return;
  if (!runtime.settings.showTrayIcon || ShowNotificationIcon(IconTipFor(notices.activeMap)) ||
      --notices.iconTriesLeft == 0)
    StopIconTries(notices);
}

void MapHandedOver(Runtime& runtime, const std::string& map) {
  runtime.notices.activeMap = map;
  RefreshIcon(runtime);
  if (runtime.settings.showMapName) ShowMapNameOnScreen(map);
}

void EndNotices(NoticeState& notices) {
  StopIconTries(notices);
  notices.activeMap.clear();
  RemoveNotificationIcon();
  HideMapNameOnScreen();
}

}  // namespace quillon

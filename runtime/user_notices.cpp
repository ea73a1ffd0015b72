#include "runtime/user_notices.h"

#include <algorithm>

#include "runtime/seams/map_name_display.h"
#include "runtime/seams/notification_icon.h"
#include "runtime/runtime_state.h"

namespace quillon {

namespace {

// The tip keeps naming the map last handed over, across reloads.
void RefreshIcon(const Runtime& runtime) {
  if (runtime.settings.showTrayIcon) ShowNotificationIcon(IconTipFor(runtime.notices.activeMap));
  else RemoveNotificationIcon();
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

void RefreshNotices(const Runtime& runtime) { RefreshIcon(runtime); }

void MapHandedOver(Runtime& runtime, const std::string& map) {
  runtime.notices.activeMap = map;
  RefreshIcon(runtime);
  if (runtime.settings.showMapName) ShowMapNameOnScreen(map);
}

void EndNotices(NoticeState& notices) {
  notices.activeMap.clear();
  RemoveNotificationIcon();
  HideMapNameOnScreen();
}

}  // namespace quillon

#include "runtime/map_switching.h"

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/app_launch.h"
#include "runtime/seams/process_services.h"
#include "runtime/seams/window_timers.h"
#include "runtime/settings_store.h"

namespace quillon {

namespace {
uintptr_t g_changeTimer = 0;
std::optional<std::string> g_pendingKeySeq;
}  // namespace

void ResetToDefaultMap() {
  RuntimeSettings& s = g_settings;
  s.currentConfig = s.defaultConfig;
  s.lastAnnounce = ProcessClockMs();
  if (s.applyOnStart) HandOffMap();
}

void StopChangeTimer() {
  if (g_changeTimer != 0) {
    StopWindowTimer(ChangeTimerId);
    g_changeTimer = 0;
  }
  g_pendingKeySeq.reset();
}

void CompleteMapChange() {
  StopWindowTimer(ChangeTimerId);
  g_changeTimer = 0;
  g_pendingKeySeq.reset();
  HandOffMap();
}

}  // namespace quillon

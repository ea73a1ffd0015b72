#include "runtime/map_switching.h"

#include <cstdint>

#include "runtime/app_launch.h"
#include "runtime/own_keys.h"
#include "runtime/seams/process_services.h"
#include "runtime/seams/sound_player.h"
#include "runtime/seams/window_timers.h"
#include "runtime/settings_store.h"
#include "runtime/user_notices.h"

namespace quillon {

namespace {

uintptr_t g_changeTimer = 0;
std::optional<std::string> g_pendingKeySeq;

// The next or previous position in the list, wrapping at both ends. A current
// position that names no map (a DefaultConfig beyond the list) steps to the
// first or the last map.
uint32_t SteppedConfig(MapRequest kind) {
  const RuntimeSettings& s = g_settings;
  if (s.configCount == 0) return s.currentConfig;
  bool named = s.currentConfig < s.configCount;
  if (kind == MapRequest::Next) return (!named || s.currentConfig == s.configCount - 1) ? 0 : s.currentConfig + 1;
  return (!named || s.currentConfig == 0) ? s.configCount - 1 : s.currentConfig - 1;
}

}  // namespace

void RequestMapChange(MapRequest kind, const std::string& keySeq) {
  RuntimeSettings& s = g_settings;
  if (s.firstRequestPending) {
    // The first request after a load without ApplyOnStart keeps the default
    // map: it names it and hands it over.
    s.lastAnnounce = ProcessClockMs();
    s.firstRequestPending = false;
  } else if (ProcessClockMs() - s.lastAnnounce > s.changeTimeout) {
    PlayMapSound();  // after a pause, only say which map is current
    return;
  } else {
    s.currentConfig = kind == MapRequest::Default ? s.defaultConfig : SteppedConfig(kind);
  }
  PlayMapSound();
  if (keySeq.empty()) g_pendingKeySeq.reset();
  else g_pendingKeySeq = keySeq;
  // Restarting a running timer moves the hand-over to ChangeTimeout after
  // this request.
  g_changeTimer = StartWindowTimer(ChangeTimerId, s.changeTimeout);
}

void CompleteMapChange() {
  // A tick that was already queued when a reload dropped the change finds
  // nothing pending and hands nothing over.
  if (g_changeTimer == 0) return;
  StopWindowTimer(ChangeTimerId);
  g_changeTimer = 0;
  if (g_pendingKeySeq) {
    // Typed before the hand-over: the mapping program may take the focus.
    std::string keySeq = std::move(*g_pendingKeySeq);
    g_pendingKeySeq.reset();
    TypeOwnKeys(keySeq.c_str());
  }
  HandOffMap();
}

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

bool MapChangePending() { return g_changeTimer != 0; }

std::string ExpandUltraMapOptions(const std::string& options, const std::string& quotedPath) {
  std::string line;
  bool pathPlaced = false;
  for (size_t i = 0; i < options.size(); ++i) {
    if (options[i] == '%' && i + 1 < options.size()) {
      char next = options[i + 1];
      if (next == '%') {
        line += '%';
        ++i;
        continue;
      }
      if (next == 's' && !pathPlaced) {
        line += quotedPath;
        pathPlaced = true;
        ++i;
        continue;
      }
    }
    line += options[i];
  }
  return line;
}

std::optional<std::string> HandOffParameters() {
  const char* map = CurrentMapName();
  if (map == nullptr) return std::nullopt;
  std::string quotedPath = "\"" + g_settings.programDirectory + map + ".ugc\"";
  if (quotedPath.size() > kMaxBuiltTextLength) return std::nullopt;
  std::string line = ExpandUltraMapOptions(g_settings.ultraMapOptions, quotedPath);
  // A line that would have been cut would hand over a wrong path: skip it.
  if (line.size() > kMaxBuiltTextLength) return std::nullopt;
  return line;
}

void HandOffMap() {
  std::optional<std::string> parameters = HandOffParameters();
  if (!parameters) return;
  LaunchMappingProgram(g_settings.ultraMapPath, *parameters);
  MapHandedOver(CurrentMapName());
}

void PlayMapSound() {
  RuntimeSettings& s = g_settings;
  const char* map = CurrentMapName();
  if (map != nullptr) {
    std::string path = s.programDirectory + map + ".wav";
    StopSound();
    if (!FileAttributesReadable(path)) path = s.programDirectory + std::to_string(s.currentConfig + 1) + ".wav";
    if (path.size() <= kMaxBuiltTextLength) PlaySoundFileAsync(path);
  }
  s.lastAnnounce = ProcessClockMs();
}

}  // namespace quillon

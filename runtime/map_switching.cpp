#include "runtime/map_switching.h"

#include <cstdint>

#include "runtime/app_launch.h"
#include "runtime/held_actions.h"
#include "runtime/map_choice.h"
#include "runtime/own_keys.h"
#include "runtime/runtime_ending.h"
#include "runtime/seams/process_services.h"
#include "runtime/seams/sound_player.h"
#include "runtime/seams/window_timers.h"
#include "runtime/runtime_state.h"
#include "runtime/user_notices.h"

namespace quillon {

namespace {

// The next or previous position in the list, wrapping at both ends. A current
// position that names no map (a DefaultConfig beyond the list) steps to the
// first or the last map.
uint32_t SteppedConfig(const RuntimeSettings& s, const MapState& map, MapRequest kind) {
  const uint32_t current = map.currentConfig;
  if (s.configCount == 0) return current;
  bool named = current < s.configCount;
  if (kind == MapRequest::Next) return (!named || current == s.configCount - 1) ? 0 : current + 1;
  return (!named || current == 0) ? s.configCount - 1 : current - 1;
}

}  // namespace

const char* CurrentMapName(const RuntimeSettings& s, const MapState& map) {
  if (map.currentConfig >= s.configCount) return nullptr;
  return s.configNames[map.currentConfig].c_str();
}

void RequestMapChange(Runtime& runtime, MapRequest kind, const std::string& keySeq) {
  const RuntimeSettings& s = runtime.settings;
  MapState& map = runtime.map;
  if (map.firstRequestPending) {
    // The first request after a load without ApplyOnStart keeps the default
    // map: it names it and hands it over.
    map.lastAnnounce = ProcessClockMs();
    map.firstRequestPending = false;
  } else if (ProcessClockMs() - map.lastAnnounce > s.changeTimeout) {
    PlayMapSound(s, map);  // after a pause, only say which map is current
    return;
  } else {
    map.currentConfig = kind == MapRequest::Default ? s.defaultConfig : SteppedConfig(s, map, kind);
  }
  PlayMapSound(s, map);
  if (keySeq.empty()) map.pendingKeySeq.reset();
  else map.pendingKeySeq = keySeq;
  // Restarting a running timer moves the hand-over to ChangeTimeout after
  // this request.
  map.changeTimer = StartWindowTimer(ChangeTimerId, s.changeTimeout);
}

void CompleteMapChange(Runtime& runtime) {
  MapState& map = runtime.map;
  // A tick that was already queued when a reload dropped the change finds
  // nothing pending and hands nothing over.
  if (map.changeTimer == 0) return;
  StopWindowTimer(ChangeTimerId);
  map.changeTimer = 0;
  if (map.pendingKeySeq) {
    // Typed before the hand-over: the mapping program may take the focus.
    std::string keySeq = std::move(*map.pendingKeySeq);
    map.pendingKeySeq.reset();
    TypeOwnKeys(runtime, keySeq.c_str());
  }
  std::optional<uint32_t> afterStep = map.afterStep;
  map.afterStep.reset();
  HandOffMap(runtime);
  // A window that chose its map during the step gets it now: the step by
  // hand was the older request, and has had its hand-over.
  if (afterStep && !RuntimeEnding()) HandOverChosenMap(runtime, *afterStep);
}

void ResetToDefaultMap(Runtime& runtime, std::optional<uint32_t> windowChoice) {
  MapState& map = runtime.map;
  map.currentConfig = runtime.settings.defaultConfig;
  map.lastAnnounce = ProcessClockMs();
  if (map.waitingCommand) {
    std::optional<uint32_t> chosen = MapForCommand(runtime.settings, *map.waitingCommand);
    map.waitingCommand.reset();
    if (chosen) {
      HandOverChosenMap(runtime, *chosen);
      return;
    }
  }
  if (!runtime.settings.applyOnStart) return;
  if (windowChoice) HandOverChosenMap(runtime, *windowChoice);
  else HandOffMap(runtime);
}

void RunWaitingFrontEndCommand(Runtime& runtime) {
  MapState& map = runtime.map;
  // A load under way (a box of its own lets messages through) takes the
  // command at its end.
  if (!map.waitingCommand || runtime.reloads.loading) return;
  std::optional<uint32_t> chosen = MapForCommand(runtime.settings, *map.waitingCommand);
  map.waitingCommand.reset();
  if (chosen && !RuntimeEnding()) HandOverChosenMap(runtime, *chosen);
}

void HandOverChosenMap(Runtime& runtime, uint32_t config) {
  const RuntimeSettings& s = runtime.settings;
  MapState& map = runtime.map;
  StopChangeTimer(map);
  map.firstRequestPending = false;
  map.currentConfig = config;
  const char* name = CurrentMapName(s, map);
  if (name != nullptr && runtime.notices.activeMap == name) return;
  PlayMapSound(s, map);
  HandOffMap(runtime);
}

void StopChangeTimer(MapState& map) {
  if (map.changeTimer != 0) {
    StopWindowTimer(ChangeTimerId);
    map.changeTimer = 0;
  }
  map.pendingKeySeq.reset();
  map.afterStep.reset();
}

bool MapChangePending(const MapState& map) { return map.changeTimer != 0; }

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

std::optional<std::string> HandOffParameters(const RuntimeSettings& s, const MapState& current) {
  const char* map = CurrentMapName(s, current);
  if (map == nullptr) return std::nullopt;
  std::string quotedPath = "\"" + s.programDirectory + map + ".ugc\"";
  if (quotedPath.size() > kMaxBuiltTextLength) return std::nullopt;
  std::string line = ExpandUltraMapOptions(s.ultraMapOptions, quotedPath);
  // A line that would have been cut would hand over a wrong path: skip it.
  if (line.size() > kMaxBuiltTextLength) return std::nullopt;
  return line;
}

void HandOffMap(Runtime& runtime) {
  std::optional<std::string> parameters = HandOffParameters(runtime.settings, runtime.map);
  if (!parameters) return;
  // A key held for the old map's game means something else in the new one.
  EndEveryPress(runtime);
  // The tip and the name on screen say which map the mapping program has:
  // a program that was refused or did not start has the one before.
  if (!LaunchMappingProgram(runtime, runtime.settings.ultraMapPath, *parameters)) return;
  MapHandedOver(runtime, CurrentMapName(runtime.settings, runtime.map));
}

void PlayMapSound(const RuntimeSettings& s, MapState& current) {
  const char* map = CurrentMapName(s, current);
  if (map != nullptr) {
    std::string path = s.programDirectory + map + ".wav";
    StopSound();
    if (!FileAttributesReadable(path)) path = s.programDirectory + std::to_string(current.currentConfig + 1) + ".wav";
    if (path.size() <= kMaxBuiltTextLength) PlaySoundFileAsync(path);
  }
  current.lastAnnounce = ProcessClockMs();
}

}  // namespace quillon

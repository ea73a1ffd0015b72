// The runtime's model of the settings tree and how it is read from the
// registry: only what was read. What the running program learns (the current
// map, the pad, the capture table) is kept by the files that learn it
// (runtime_state.h). Loading and unloading (arming capture and polling from
// what was read) live in settings_lifecycle.h.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "shared/settings_tree.h"

namespace quillon {

// One keyboard action (subkey "01".."99").
struct KeyAction {
  uint32_t modifier = 0;
  uint32_t virtualKey = 0;
  uint32_t sendType = 0;
  uint32_t action = 0;
  std::string select;
  std::optional<std::string> keySeq;  // none when missing or empty
  std::string appName;
  std::string appParms;
};

// One controller action (subkey "J01".."J99").
struct ButtonAction {
  uint32_t buttons = 0;
  uint32_t sendType = 0;
  uint32_t action = 0;
  std::string select;
  std::optional<std::string> keySeq;
  std::string appName;
  std::string appParms;
};

struct RuntimeSettings {
  std::string programDirectory;  // ends with its separator, or ""
  std::array<std::string, kMaxConfigs> configNames;
  uint32_t configCount = 0;
  uint32_t defaultConfig = 0;
  uint32_t changeTimeout = 0;
  std::string ultraMapPath;
  std::string ultraMapOptions;
  std::string switchDevice;
  uint32_t useHook = 0;
  uint32_t useJoystick = 0;
  uint32_t useKeyboard = 0;
  uint32_t applyOnStart = 0;
  uint32_t pollPerSecond = 0;
  uint32_t showTrayIcon = 0;
  uint32_t showMapName = 0;
  // keyActions[n] is entry number n (1..99); slot 0 is unused.
  std::array<KeyAction, kMaxActions + 1> keyActions;
  uint32_t keyCount = 0;
  // buttonActions[0..buttonCount-1], in list order.
  std::array<ButtonAction, kMaxActions> buttonActions;
  uint32_t buttonCount = 0;
};

// Reads the whole tree into `settings`, which starts afresh; arms nothing.
void ReadSettings(RuntimeSettings& settings);
// Frees every text read and forgets the entries.
void ClearSettings(RuntimeSettings& settings);

}  // namespace quillon

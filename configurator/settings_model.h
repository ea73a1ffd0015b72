// The configurator's copy of the whole settings tree, edited in memory and
// written back in one go on Apply or a command-line import.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "shared/settings_tree.h"

namespace quillon {

inline constexpr int kConfigSlots = 11;    // slots 0..9 are stored; slot 10 never is
inline constexpr int kActionSlots = 100;  // at most kMaxActions are used

struct KeyActionEntry {
  int16_t modifier = 0;
  int16_t virtualKey = 13;
  int16_t sendType = 0;
  int16_t action = NextMap;
  std::string select;
  std::string keySeq;
  std::string appName;
  std::string appParms;
};

struct ButtonActionEntry {
  int32_t buttons = 0;
  int16_t sendType = 0;
  int16_t action = NextMap;
  std::string select;
  std::string keySeq;
  std::string appName;
  std::string appParms;
};

struct ConfiguratorSettings {
  std::array<std::string, kConfigSlots> configNames;
  std::array<std::string, kConfigSlots> defaultConfigNames;
  std::string ultraMapPath;
  std::string ultraMapOptions;
  std::string switchDevice;
  int16_t defaultConfig = 0;
  int32_t changeTimeout = 2048;
  int16_t useHook = 0;
  int16_t useJoystick = 0;
  int16_t useKeyboard = 1;
  int16_t applyOnStart = 1;
  int16_t pollPerSecond = 16;
  std::array<KeyActionEntry, kActionSlots> keyActions;
  int16_t keyCount = 0;
  std::array<ButtonActionEntry, kActionSlots> buttonActions;
  int16_t buttonCount = 0;
  int16_t currentKeyIndex = -1;  // entry open in the action editor, -1 none
  int16_t currentButtonIndex = -1;
  std::string dataFolder;
};

// The one model of the configurator's run.
extern ConfiguratorSettings g_model;

// Texts of the factory defaults.
inline constexpr const char* kFactoryConfigNames[] = {
    "Analog", "8-Way", "4-Way", "4-Way, Diagonals Only", "2-Way, Left & Right", "2-Way, Up & Down",
};
inline constexpr const char* kChangeTimeoutFallbackText = "2048";
inline constexpr const char* kPollPerSecondFallbackText = "16";

// Puts the factory configuration names into g_model.defaultConfigNames.
void FillDefaultConfigNames();

// Fills the model from the tree, writing the factory defaults first when the
// main key is missing or unreadable; then refreshes the main window.
void LoadFromRegistry();
// Writes the factory defaults into the registry (not into the model).
void WriteDefaultSettings();
// Copies the global settings from the main window into the model.
void CollectGlobalSettings();
// Writes the whole model into the tree, replacing every action subkey.
void ApplyToRegistry();
// The Apply command. False when the path check stopped it.
bool ApplySettings();
// The Reload command: forgets unapplied edits and loads again.
void ReloadSettings();

// Commits the editor of the given kind into its open entry, if one is open.
void CommitKeyEditorIfOpen();
void CommitButtonEditorIfOpen();

}  // namespace quillon

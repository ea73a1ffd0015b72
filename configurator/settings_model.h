// The configurator's copy of the whole settings tree, edited in memory and
// written back in one go on Apply or a command-line import.
//
// How the main window's logic uses this layer:
// - It keeps its own editing state (the entry open in the action editor, the
//   list being shown); the model holds only what is stored.
// - Commands hand over what the window holds: its global fields as
//   WindowFields, and the action editor's entry as EditorEntry.
//   CollectGlobalSettings(fields) copies the fields into g_model and mends a
//   numeric field that is not a number in `fields` (show it again);
//   ApplySettings(fields, editor) in apply_command.h and SaveCommand(fields,
//   editor) in export_file.h collect, commit the editor's entry, and write.
//   LoadCommand() and LoadFromRegistry() fill g_model; the window then shows
//   it again.
// - The model holds data and rules: it shows no window and signals nothing.
// - The Reload command: the window forgets its open entries, rebuilds its
//   lists, calls LoadFromRegistry() and shows the model.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shared/settings_codec.h"
#include "shared/settings_tree.h"

namespace quillon {

inline constexpr int kConfigSlots = 11;   // slots 0..9 are stored; slot 10 never is
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

// What is stored: one field per value of the tree (shared/settings_tree.h).
struct ConfiguratorSettings {
  std::array<std::string, kConfigSlots> configNames;
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
  int16_t showTrayIcon = 0;
  int16_t showMapName = 0;
  std::array<KeyActionEntry, kActionSlots> keyActions;
  int16_t keyCount = 0;
  std::array<ButtonActionEntry, kActionSlots> buttonActions;
  int16_t buttonCount = 0;
};

// Facts of the configurator's run, settled at start and never stored.
struct ConfiguratorSession {
  std::string dataFolder;
  std::array<std::string, kConfigSlots> defaultConfigNames;
  std::vector<std::string> arguments;  // argument 0 is the program name
  std::string helpFilePath;
};

// The one model and the one session of the configurator's run.
extern ConfiguratorSettings g_model;
extern ConfiguratorSession g_session;

// The global settings as the main window's controls hold them.
struct WindowFields {
  std::vector<std::string> activeConfigs;  // the active-configurations list, top first
  std::string changeTimeoutText;
  std::string pollPerSecondText;
  bool hotKeyMode = true;  // false: low-level hook mode
  bool useJoystick = false;
  bool useKeyboard = true;
  bool applyOnStart = true;
  std::string selectedController;  // "" when none is selected (or the list is empty)
  std::string ultraMapPath;
  std::string ultraMapOptions;
  bool showTrayIcon = false;
  bool showMapName = false;
};

// The entry the action editor holds, read from its controls: only the list
// being shown has one, and `index` -1 means no entry is open.
enum class ActionList { Keyboard, Controller };
struct EditorEntry {
  ActionList list = ActionList::Keyboard;
  int index = -1;
  KeyActionEntry key;        // the editor's fields when list is Keyboard
  ButtonActionEntry button;  // ... and when it is Controller
};

// Texts of the factory defaults.
inline constexpr const char* kFactoryConfigNames[] = {
    "Analog", "8-Way", "4-Way", "4-Way, Diagonals Only", "2-Way, Left & Right", "2-Way, Up & Down",
};

// Puts the factory configuration names into g_session.defaultConfigNames.
void FillDefaultConfigNames();

// Fills the model from the tree, writing the factory defaults first when the
// main key is missing or unreadable. Under Wine each key opened is a round
// trip to its server, and the window's first page shows no entry: at start
// the entries may be left for ReadEntriesLeftUnread, which everything that
// shows or writes them calls first.
enum class EntriesRead : uint8_t { Now, Later };
void LoadFromRegistry(EntriesRead entries = EntriesRead::Now);
void ReadEntriesLeftUnread();
// Writes the factory defaults into the registry (not into the model).
WriteFailure WriteDefaultSettings();
// Copies the window's global settings into the model; a numeric field whose
// text is not a number (or does not fit) gets its fallback text in `fields`.
void CollectGlobalSettings(WindowFields& fields);
// Copies the editor's entry into the model, when one is open.
void CommitEditorEntry(const EditorEntry& editor);
// Writes the whole model into the tree. Each action subkey is written in
// place and those beyond the lists deleted afterwards, so a failed write
// loses no entry; values that the tree does not name are left alone.
WriteFailure ApplyToRegistry();

// The tree read from, or written to, an export file (an existing file's
// path); writing never deletes anything.
void ReadFromFile(const std::string& file);
WriteFailure WriteToFile(const std::string& file);

}  // namespace quillon

// The configurator's copy of the whole settings tree, edited in memory and
// written back in one go on Apply or a command-line import.
//
// How the main window's logic uses this layer:
// - The window's logic (main_window.cpp) holds the run's one model and one
//   session and hands them to whatever needs them; nothing here keeps either.
// - It keeps its own editing state (the entry open in the action editor, the
//   list being shown); the model holds only what is stored.
// - Commands hand over what the window holds: its global fields as
//   WindowFields, and the action editor's entry as EditorEntry.
//   CandidateSettings(model, fields, editor) builds the settings about to be
//   written and mends a numeric field that is not a number in `fields` (show
//   it again); ApplySettings in apply_command.h and SaveCommand in
//   export_file.h write that candidate, and it becomes the model only once
//   written. LoadCommand() and LoadFromRegistry() fill the model; the window
//   then shows it again.
// - The model holds data and rules: it shows no window and signals nothing.
// - The Reload command: the window forgets its open entries, rebuilds its
//   lists, calls LoadFromRegistry() and shows the model.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "shared/settings_codec.h"
#include "shared/settings_tree.h"

namespace quillon {

inline constexpr int kConfigSlots = 11;   // slots 0..9 are stored; slot 10 never is
inline constexpr int kActionSlots = 100;  // at most kMaxActions are used

// The configurator keeps numbers at the width they are stored with, and a
// field starts at its factory value (a new entry's value); the texts that
// depend on the machine are set by the factory model.
struct ConfiguratorStorage {
  template <FieldType type>
  using Of = std::conditional_t<type == FieldType::Text, std::string,
                                std::conditional_t<type == FieldType::Number16, int16_t, int32_t>>;
  template <FieldType type>
  static Of<type> Initial(const char* factory) {
    if constexpr (type == FieldType::Text) return {};
    else return Of<type>(DecimalOf(factory));
  }
};

struct KeyActionEntry {
  using Storage = ConfiguratorStorage;
  static constexpr FieldHome kHome = InKeyboard;
  QUILLON_KEYBOARD_FIELDS(QUILLON_DECLARE_MEMBER)
  QUILLON_ENTRY_FIELDS(QUILLON_DECLARE_MEMBER)
};

struct ButtonActionEntry {
  using Storage = ConfiguratorStorage;
  static constexpr FieldHome kHome = InController;
  QUILLON_CONTROLLER_FIELDS(QUILLON_DECLARE_MEMBER)
  QUILLON_ENTRY_FIELDS(QUILLON_DECLARE_MEMBER)
};

// What is stored: one member per field of the tree (shared/settings_tree.h).
struct ConfiguratorSettings {
  using Storage = ConfiguratorStorage;
  static constexpr FieldHome kHome = InMain;
  std::array<std::string, kConfigSlots> configNames;
  // configWindows[k]: the window pattern of the map in configNames[k].
  std::array<std::string, kConfigSlots> configWindows;
  QUILLON_MAIN_FIELDS(QUILLON_DECLARE_MEMBER)
  // Set while the lists are not the registry's yet (a load that left them
  // for later): writing them as they are would delete every stored entry.
  bool entriesUnread = false;
  std::array<KeyActionEntry, kActionSlots> keyActions;
  int16_t keyCount = 0;
  std::array<ButtonActionEntry, kActionSlots> buttonActions;
  int16_t buttonCount = 0;
};

// Facts of the configurator's run, settled at start and never stored.
struct ConfiguratorSession {
  std::string dataFolder;
  std::string programFolder;  // the configurator's own, where the runtime lies too
  std::array<std::string, kConfigSlots> defaultConfigNames;
  std::vector<std::string> arguments;  // argument 0 is the program name
  std::string helpFilePath;
};

// The global settings as the main window's controls hold them: the text of
// each field that a control shows (a check box "1" or "0", the capture mode
// "0" for hot keys and "1" for the hook, the controller list its selected
// row's text or ""); a field that no control shows stays empty.
struct WindowFields {
  std::vector<std::string> activeConfigs;  // the active-configurations list, top first
  // The window patterns by map name, as the page holds them: a pattern
  // follows its map wherever the list moves it. A name missing keeps the
  // stored pattern of that name.
  std::map<std::string, std::string> windowPatterns;
  // The games lists edited (or filled) since they were read, by map name:
  // Apply writes them to "<map name>.games" in the data folder.
  std::map<std::string, std::string> gamesLists;
  std::array<std::optional<std::string>, kFieldCount> shown;
  std::optional<std::string>& operator[](Field field) { return shown[size_t(field)]; }
  const std::optional<std::string>& operator[](Field field) const { return shown[size_t(field)]; }
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

// Puts the factory configuration names into session.defaultConfigNames.
void FillDefaultConfigNames(ConfiguratorSession& session);

// Fills the model from the tree, writing the factory defaults first when the
// main key is missing or unreadable. Under Wine each key opened is a round
// trip to its server, and the window's first page shows no entry: at start
// the entries may be left for ReadEntriesLeftUnread, which everything that
// shows or writes them calls first.
enum class EntriesRead : uint8_t { Now, Later };
void LoadFromRegistry(ConfiguratorSettings& model, const ConfiguratorSession& session,
                      EntriesRead entries = EntriesRead::Now);
void ReadEntriesLeftUnread(ConfiguratorSettings& model);
// Writes the factory defaults into the registry (not into the model).
WriteFailure WriteDefaultSettings(const ConfiguratorSession& session);
// The settings that Apply, Save and the never-fire check are about to write:
// the stored ones with the window's global fields and the editor's open
// entry. A numeric field whose text is not a number (or would not be stored)
// takes its fallback, whose text goes into `fields` so that the window can
// show what was taken.
ConfiguratorSettings CandidateSettings(const ConfiguratorSettings& stored, WindowFields& fields,
                                       const EditorEntry& editor);
// The main key's fields of a model, by field.
FieldValues MainFieldValues(const ConfiguratorSettings& model);
// Writes the whole model into the tree. Each action subkey is written in
// place and those beyond the lists deleted afterwards, so a failed write
// loses no entry; values that the tree does not name are left alone. Lists
// left unread are read into the model first.
WriteFailure ApplyToRegistry(ConfiguratorSettings& model);

// The tree read from, or written to, an export file (an existing file's
// path); writing never deletes anything.
void ReadFromFile(const std::string& file, ConfiguratorSettings& model, const ConfiguratorSession& session);
WriteFailure WriteToFile(const std::string& file, ConfiguratorSettings& model);

}  // namespace quillon

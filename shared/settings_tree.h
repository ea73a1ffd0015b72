// The settings tree under HKEY_CURRENT_USER that the configurator writes and
// the runtime reads, with the codes stored in it. Both programs include this
// file so the names can never drift apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <type_traits>

namespace quillon {

// Key paths, relative to HKEY_CURRENT_USER.
inline constexpr const char* kSettingsKeyPath = "Software\\KWP\\Quillon";
inline constexpr int kMaxActions = 99;
inline constexpr int kMaxConfigs = 10;

// Two decimal digits of 0..99.
inline std::string TwoDigits(int number) { return {char('0' + number / 10 % 10), char('0' + number % 10)}; }
// The numbered action subkeys below kSettingsKeyPath, numbered from 1
// without gaps: keyboard entry n is "01".."99", controller entry n "J01"..
inline std::string KeyActionSubkey(int number) { return TwoDigits(number); }
inline std::string ButtonActionSubkey(int number) { return "J" + TwoDigits(number); }
// The value that names configuration slot 0..9: "Config0".."Config9".
inline std::string ConfigValueName(int slot) { return "Config" + std::string(1, char('0' + slot % 10)); }
// The target-window pattern beside each name: a window in front that it
// matches chooses that map (with FollowGame on).
inline std::string ConfigWindowValueName(int slot) { return ConfigValueName(slot) + "Window"; }

// The poll rate a reset writes, which the runtime also falls back to.
inline constexpr uint32_t kFactoryPollPerSecond = 16;
inline constexpr const char* kUltraMapProgramName = "UltraMap.exe";

// Every stored field of the tree but Config0..Config9, written once for both
// programs: its name in the registry and in an export file, the member that
// holds it in each program's record, its stored type, and its value when it
// is missing, by who reads it (the runtime, the configurator from the
// registry or from an export file) and after a factory reset (for action
// fields: a new entry's value). Number16 and Number32 are stored 16 bits
// wide, sign-extended to the registry's 32; a Number32 field holds more in
// the configurator's memory than the tree can keep. A Bits32 field is a set
// of bits stored whole, all 32 of them.
//
// To add a setting, add its row to the list of its home: the codec, both
// programs' records and their reading and writing follow from it. The lists
// are in the order in which the fields are written; the first field of each
// kind of entry (Modifier, Buttons) decides in the configurator whether a
// registry entry counts.
//
// X(name, member, type, runtime fallback, registry default, export default, factory)
#define QUILLON_MAIN_FIELDS(X)                                                                          \
  X(UltraMapPath, ultraMapPath, Text, kMapperInProgramFolder, kMapperInDataFolder, kMapperInDataFolder, \
    kMapperInProgramFiles)                                                                              \
  X(UltraMapOptions, ultraMapOptions, Text, "", "%s", "", "%s")                                         \
  X(UseJoystick, useJoystick, Number16, "0", "0", "0", "0")                                             \
  X(UseKeyboard, useKeyboard, Number16, "0", "1", "0", "1")                                             \
  X(ApplyOnStart, applyOnStart, Number16, "1", "1", "1", "1")                                           \
  /* Not stored at all when no controller is chosen. */                                                 \
  X(SwitchDevice, switchDevice, Text, "", "", "", "")                                                   \
  /* Always stored as 0: the topmost active configuration is the default. */                            \
  X(DefaultConfig, defaultConfig, Number16, "0", "0", "0", "0")                                         \
  X(ChangeTimeout, changeTimeout, Number32, "1000", "2048", "2048", "2048")                             \
  X(UseHook, useHook, Number16, "0", "0", "0", "0")                                                     \
  X(PollPerSecond, pollPerSecond, Number16, "0", "16", "16", "16")                                      \
  /* What the runtime shows of itself; off in a tree or file older than them. */                        \
  X(ShowTrayIcon, showTrayIcon, Number16, "0", "0", "0", "0")                                           \
  X(ShowMapName, showMapName, Number16, "0", "0", "0", "0")                                             \
  /* The map follows the game in front; off in a tree or file older than it. */                         \
  X(FollowGame, followGame, Number16, "0", "0", "0", "0")                                               \
  /* Every pad with the chosen name, each on its own; off: the first one. */                            \
  X(EveryDevice, everyDevice, Number16, "0", "0", "0", "0")
// Keyboard entries only. Without a VirtualKey the runtime captures nothing
// (0 is never armed); the configurator reads a missing or unfit one the same
// way, so that an Apply never turns it into a key the user did not choose.
// Only a new entry starts on Enter.
#define QUILLON_KEYBOARD_FIELDS(X)                    \
  X(Modifier, modifier, Number16, "0", "0", "0", "0") \
  X(VirtualKey, virtualKey, Number16, "0", "0", "0", "13")
// Controller entries only. Directions: the stick's and the first hat's
// directions that must be held too (Direction bits).
#define QUILLON_CONTROLLER_FIELDS(X)              \
  X(Buttons, buttons, Bits32, "0", "0", "0", "0") \
  X(Directions, directions, Bits32, "0", "0", "0", "0")
// Both kinds of entry.
#define QUILLON_ENTRY_FIELDS(X)                                                 \
  X(SendType, sendType, Number16, "0", "0", "0", "0")                           \
  /* Missing reads as the runtime's "Stuff keys"; a new entry is "Next map". */ \
  X(Action, action, Number16, "0", "0", "0", "2")                               \
  X(Select, select, Text, "", "", "", "")                                       \
  X(KeySeq, keySeq, Text, "", "", "", "")                                       \
  X(AppName, appName, Text, "", "", "", "")                                     \
  X(AppParms, appParms, Text, "", "", "", "")                                   \
  /* The repeat entries' interval in milliseconds (RepeatIntervalMs). */        \
  X(Repeat, repeat, Number32, "100", "100", "100", "100")

#define QUILLON_FIELD_ENUMERATOR(name, ...) name,
enum class Field : uint8_t {
  QUILLON_MAIN_FIELDS(QUILLON_FIELD_ENUMERATOR) QUILLON_KEYBOARD_FIELDS(QUILLON_FIELD_ENUMERATOR)
      QUILLON_CONTROLLER_FIELDS(QUILLON_FIELD_ENUMERATOR) QUILLON_ENTRY_FIELDS(QUILLON_FIELD_ENUMERATOR) Count
};
#undef QUILLON_FIELD_ENUMERATOR
inline constexpr size_t kFieldCount = size_t(Field::Count);
enum class FieldType : uint8_t { Text, Number16, Number32, Bits32 };
// Which groups hold a field: the main key, keyboard entries, controller
// entries; bit i stands for the group numbered i.
enum FieldHome : uint8_t { InMain = 1, InKeyboard = 2, InController = 4, InEntries = InKeyboard | InController };

// Stand-ins for defaults that depend on the machine: the mapping program in
// the runtime's folder, the configurator's data folder, the program files.
inline constexpr char kMapperInProgramFolder[] = "<program folder>\\UltraMap.exe";
inline constexpr char kMapperInDataFolder[] = "<data folder>\\UltraMap.exe";
inline constexpr char kMapperInProgramFiles[] = "<program files>\\UltraMap\\UltraMap.exe";

struct FieldRow {
  Field field;
  const char* name;
  FieldType type;
  uint8_t home;
  const char* runtimeFallback;
  const char* registryDefault;
  const char* exportDefault;
  const char* factory;
};
#define QUILLON_MAIN_ROW(name, member, type, ...) {Field::name, #name, FieldType::type, InMain, __VA_ARGS__},
#define QUILLON_KEYBOARD_ROW(name, member, type, ...) {Field::name, #name, FieldType::type, InKeyboard, __VA_ARGS__},
#define QUILLON_CONTROLLER_ROW(name, member, type, ...) \
  {Field::name, #name, FieldType::type, InController, __VA_ARGS__},
#define QUILLON_ENTRY_ROW(name, member, type, ...) {Field::name, #name, FieldType::type, InEntries, __VA_ARGS__},
inline constexpr FieldRow kFields[] = {QUILLON_MAIN_FIELDS(QUILLON_MAIN_ROW) QUILLON_KEYBOARD_FIELDS(
    QUILLON_KEYBOARD_ROW) QUILLON_CONTROLLER_FIELDS(QUILLON_CONTROLLER_ROW) QUILLON_ENTRY_FIELDS(QUILLON_ENTRY_ROW)};
#undef QUILLON_MAIN_ROW
#undef QUILLON_KEYBOARD_ROW
#undef QUILLON_CONTROLLER_ROW
#undef QUILLON_ENTRY_ROW
static_assert(std::size(kFields) == kFieldCount);

// A default's number, for a record's first values: the table's numbers are
// plain decimals.
constexpr int64_t DecimalOf(const char* text) {
  bool negative = *text == '-';
  int64_t number = 0;
  for (const char* c = text + (negative ? 1 : 0); *c >= '0' && *c <= '9'; ++c) number = number * 10 + (*c - '0');
  return negative ? -number : number;
}

// Each program's records declare one member per row of a list, of the type
// that its `Storage` gives the stored type, first set as its `Storage` says.
#define QUILLON_DECLARE_MEMBER(name, member, type, runtime, registry, exportFile, factory) \
  Storage::Of<FieldType::type> member = Storage::Initial<FieldType::type>(factory);

// Calls visit(field, member) for every member of a record that holds a
// stored field, in the table's order: the main key's fields for a record
// whose kHome is InMain, else those of its kind of entry.
#define QUILLON_VISIT_MEMBER(name, member, ...) visit(Field::name, record.member);
template <typename Record, typename Visit>
void VisitFields(Record& record, Visit&& visit) {
  constexpr FieldHome home = std::remove_const_t<Record>::kHome;
  if constexpr (home == InMain) {
    QUILLON_MAIN_FIELDS(QUILLON_VISIT_MEMBER)
  } else {
    if constexpr (home == InKeyboard) {
      QUILLON_KEYBOARD_FIELDS(QUILLON_VISIT_MEMBER)
    } else {
      QUILLON_CONTROLLER_FIELDS(QUILLON_VISIT_MEMBER)
    }
    QUILLON_ENTRY_FIELDS(QUILLON_VISIT_MEMBER)
  }
}
#undef QUILLON_VISIT_MEMBER
inline constexpr const FieldRow& RowOf(Field field) { return kFields[size_t(field)]; }

// What an action does (value Action).
enum ActionKind : uint32_t {
  StuffKeys = 0,
  IgnoreKey = 1,
  NextMap = 2,
  PreviousMap = 3,
  DefaultMap = 4,
  ShowSwitcher = 5,
  RunApplication = 6,
  ChangeConfiguration = 7,
  // The sequence's keys go down at the press and up, in reverse order, at
  // the release.
  HoldKeys = 8,
  // The sequence is typed at the press and again every Repeat milliseconds
  // until the release.
  RepeatKeys = 9,
};
inline constexpr uint32_t kLastActionKind = RepeatKeys;
// Whether an entry of kind `action` acts until its press ends, not once.
inline constexpr bool ActsWhileHeld(uint32_t action) { return action == HoldKeys || action == RepeatKeys; }

// The labels the configurator shows for the action kinds, in code order.
inline constexpr const char* kActionKindLabels[] = {
    "Stuff keys",
    "Ignore key",
    "Switch to next joystick map",
    "Switch to previous joystick map",
    "Switch to default joystick map",
    "Show application switcher",
    "Run application",
    "Change configuration",
    "Hold keys while pressed",
    "Repeat keys while pressed",
};
static_assert(std::size(kActionKindLabels) == kLastActionKind + 1);

// Where an action goes (value SendType).
enum SendType : uint32_t {
  CurrentWindow = 0,
  SelectWindow = 1,
};

// Modifier keys that must be held (value Modifier); the bit values of the
// system's hot-key modifiers MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN.
enum Modifier : uint32_t {
  ModifierAlt = 1,
  ModifierCtrl = 2,
  ModifierShift = 4,
  ModifierWin = 8,
};

// Controller buttons (value Buttons): bit i stands for button i + 1, over
// buttons 1 to 32.
inline constexpr int kMaxControllerButtons = 32;
inline constexpr uint32_t ButtonBit(int buttonNumber) { return 1u << (buttonNumber - 1); }

// Controller directions (value Directions): the stick (the X and Y axes
// past half their travel from the centre) and the first hat. A diagonal
// holds two.
enum Direction : uint32_t {
  StickUp = 1,
  StickRight = 2,
  StickDown = 4,
  StickLeft = 8,
  HatUp = 16,
  HatRight = 32,
  HatDown = 64,
  HatLeft = 128,
};
inline constexpr int kDirectionCount = 8;
inline constexpr uint32_t kDirectionsMask = (1u << kDirectionCount) - 1;
// The check box labels of the directions, bit by bit from bit 0.
inline constexpr const char* kDirectionLabels[kDirectionCount] = {"Stick up", "Stick right", "Stick down", "Stick left",
                                                                  "Hat up",   "Hat right",   "Hat down",   "Hat left"};

// A repeat entry's interval: Repeat when it lies within 20 to 5,000 ms,
// otherwise 100 (also when it is missing).
inline constexpr uint32_t kDefaultRepeatMs = 100;
inline constexpr uint32_t kMinRepeatMs = 20;
inline constexpr uint32_t kMaxRepeatMs = 5000;
inline constexpr uint32_t RepeatIntervalMs(int64_t stored) {
  return stored >= kMinRepeatMs && stored <= kMaxRepeatMs ? uint32_t(stored) : kDefaultRepeatMs;
}

}  // namespace quillon

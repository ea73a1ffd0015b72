// The settings tree under HKEY_CURRENT_USER that the configurator writes and
// the runtime reads, with the codes stored in it. Both programs include this
// file so the names can never drift apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

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

// The poll rate a reset writes, which the runtime also falls back to.
inline constexpr uint32_t kFactoryPollPerSecond = 16;
inline constexpr const char* kUltraMapProgramName = "UltraMap.exe";

// Every stored field of the tree but Config0..Config9, once for both
// programs: its name in the registry and in an export file, where it lives,
// its stored type, and its value when it is missing, by who reads it (the
// runtime, the configurator from the registry or from an export file) and
// after a factory reset (for action fields: a new entry's value). Numbers are
// stored 16 bits wide, sign-extended to the registry's 32; a 32-bit field
// holds more in the configurator's memory than the tree can keep.
enum class Field : uint8_t {
  UltraMapPath,
  UltraMapOptions,
  UseJoystick,
  UseKeyboard,
  ApplyOnStart,
  SwitchDevice,
  DefaultConfig,
  ChangeTimeout,
  UseHook,
  PollPerSecond,
  ShowTrayIcon,
  ShowMapName,
  Modifier,
  VirtualKey,
  Buttons,
  SendType,
  Action,
  Select,
  KeySeq,
  AppName,
  AppParms,
};
inline constexpr size_t kFieldCount = size_t(Field::AppParms) + 1;
enum class FieldType : uint8_t { Text, Number16, Number32 };
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
// In the order in which the fields are written. The first field of each
// kind of entry (Modifier, Buttons) decides in the configurator whether a
// registry entry counts.
inline constexpr FieldRow kFields[] = {
    {Field::UltraMapPath, "UltraMapPath", FieldType::Text, InMain, kMapperInProgramFolder, kMapperInDataFolder,
     kMapperInDataFolder, kMapperInProgramFiles},
    {Field::UltraMapOptions, "UltraMapOptions", FieldType::Text, InMain, "", "%s", "", "%s"},
    {Field::UseJoystick, "UseJoystick", FieldType::Number16, InMain, "0", "0", "0", "0"},
    {Field::UseKeyboard, "UseKeyboard", FieldType::Number16, InMain, "0", "1", "0", "1"},
    {Field::ApplyOnStart, "ApplyOnStart", FieldType::Number16, InMain, "1", "1", "1", "1"},
    // Not stored at all when no controller is chosen.
    {Field::SwitchDevice, "SwitchDevice", FieldType::Text, InMain, "", "", "", ""},
    // Always stored as 0: the topmost active configuration is the default.
    {Field::DefaultConfig, "DefaultConfig", FieldType::Number16, InMain, "0", "0", "0", "0"},
    {Field::ChangeTimeout, "ChangeTimeout", FieldType::Number32, InMain, "1000", "2048", "2048", "2048"},
    {Field::UseHook, "UseHook", FieldType::Number16, InMain, "0", "0", "0", "0"},
    {Field::PollPerSecond, "PollPerSecond", FieldType::Number16, InMain, "0", "16", "16", "16"},
    // What the runtime shows of itself; off in a tree or file older than them.
    {Field::ShowTrayIcon, "ShowTrayIcon", FieldType::Number16, InMain, "0", "0", "0", "0"},
    {Field::ShowMapName, "ShowMapName", FieldType::Number16, InMain, "0", "0", "0", "0"},
    {Field::Modifier, "Modifier", FieldType::Number16, InKeyboard, "0", "0", "0", "0"},
    // Without a VirtualKey the runtime captures nothing (0 is never armed).
    {Field::VirtualKey, "VirtualKey", FieldType::Number16, InKeyboard, "0", "13", "13", "13"},
    {Field::Buttons, "Buttons", FieldType::Number32, InController, "0", "0", "0", "0"},
    {Field::SendType, "SendType", FieldType::Number16, InEntries, "0", "0", "0", "0"},
    {Field::Action, "Action", FieldType::Number16, InEntries, "0", "2", "2", "2"},
    {Field::Select, "Select", FieldType::Text, InEntries, "", "", "", ""},
    {Field::KeySeq, "KeySeq", FieldType::Text, InEntries, "", "", "", ""},
    {Field::AppName, "AppName", FieldType::Text, InEntries, "", "", "", ""},
    {Field::AppParms, "AppParms", FieldType::Text, InEntries, "", "", "", ""},
};
static_assert(std::size(kFields) == kFieldCount);
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
};
inline constexpr uint32_t kLastActionKind = ChangeConfiguration;

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
};

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

// Controller buttons (value Buttons): bit i stands for button i + 1.
inline constexpr int kMaxControllerButtons = 10;
inline constexpr uint32_t kButtonsMask = (1u << kMaxControllerButtons) - 1;
inline constexpr uint32_t ButtonBit(int buttonNumber) { return 1u << (buttonNumber - 1); }

// Messages understood by the runtime's main window (class "Quillon").
inline constexpr const char* kRuntimeWindowClass = "Quillon";
inline constexpr unsigned kWmApp = 0x8000;
inline constexpr unsigned WM_RELOAD_SETTINGS = kWmApp + 1;
inline constexpr unsigned WM_SHOW_SWITCHER = kWmApp + 2;

}  // namespace quillon

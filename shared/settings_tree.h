// The settings tree under HKEY_CURRENT_USER that the configurator writes and
// the runtime reads, with the codes stored in it. Both programs include this
// file so the names can never drift apart.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// Key paths, relative to HKEY_CURRENT_USER.
inline constexpr const char* kSettingsKeyPath = "Software\\KWP\\Quillon";
inline constexpr int kMaxActions = 99;
inline constexpr int kMaxConfigs = 10;

// Two decimal digits of 0..99.
inline std::string TwoDigits(int number) {
  return {char('0' + number / 10 % 10), char('0' + number % 10)};
}
// The numbered action subkeys below kSettingsKeyPath, numbered from 1
// without gaps: keyboard entry n is "01".."99", controller entry n "J01"..
inline std::string KeyActionSubkey(int number) { return TwoDigits(number); }
inline std::string ButtonActionSubkey(int number) { return "J" + TwoDigits(number); }
// The value that names configuration slot 0..9: "Config0".."Config9".
inline std::string ConfigValueName(int slot) { return "Config" + std::string(1, char('0' + slot % 10)); }

// Global values.
inline constexpr const char* kDefaultConfigValue = "DefaultConfig";
inline constexpr const char* kChangeTimeoutValue = "ChangeTimeout";
inline constexpr const char* kUltraMapPathValue = "UltraMapPath";
inline constexpr const char* kUltraMapOptionsValue = "UltraMapOptions";
inline constexpr const char* kUseHookValue = "UseHook";
inline constexpr const char* kUseJoystickValue = "UseJoystick";
inline constexpr const char* kUseKeyboardValue = "UseKeyboard";
inline constexpr const char* kApplyOnStartValue = "ApplyOnStart";
inline constexpr const char* kSwitchDeviceValue = "SwitchDevice";
inline constexpr const char* kPollPerSecondValue = "PollPerSecond";

// Action values (keyboard subkeys hold Modifier and VirtualKey, controller
// subkeys hold Buttons; the rest are common to both).
inline constexpr const char* kModifierValue = "Modifier";
inline constexpr const char* kVirtualKeyValue = "VirtualKey";
inline constexpr const char* kButtonsValue = "Buttons";
inline constexpr const char* kSendTypeValue = "SendType";
inline constexpr const char* kActionValue = "Action";
inline constexpr const char* kSelectValue = "Select";
inline constexpr const char* kKeySeqValue = "KeySeq";
inline constexpr const char* kAppNameValue = "AppName";
inline constexpr const char* kAppParmsValue = "AppParms";

// The runtime's own defaults for values that are missing from the tree.
inline constexpr uint32_t kRuntimeDefaultChangeTimeout = 1000;
inline constexpr uint32_t kRuntimeDefaultApplyOnStart = 1;
inline constexpr const char* kUltraMapProgramName = "UltraMap.exe";
// The poll rate a reset writes, which the runtime also falls back to.
inline constexpr uint32_t kFactoryPollPerSecond = 16;

// The configurator's table of the tree's fields, in the order in which they
// are written. Numbers are stored 16 bits wide (the change timeout is held in
// 32 bits in memory); every default is given as the text an export file
// would hold. Config0..Config9 precede the global fields; their defaults are
// the factory configuration names.
enum class FieldType { Text, Number16, Number32 };

enum class GlobalField {
  UltraMapPath, UltraMapOptions, UseJoystick, UseKeyboard, ApplyOnStart,
  SwitchDevice, DefaultConfig, ChangeTimeout, UseHook, PollPerSecond,
};
// Stand-ins for defaults that depend on the machine: the mapping program in
// the configurator's data folder, and in the program-files folder.
inline constexpr char kMapperInDataFolder[] = "<data folder>\\UltraMap.exe";
inline constexpr char kMapperInProgramFiles[] = "<program files>\\UltraMap\\UltraMap.exe";

struct GlobalFieldSpec {
  GlobalField field;
  const char* name;
  FieldType type;
  const char* registryDefault;  // when the registry lacks the value
  const char* fileDefault;      // when an export file lacks it
  const char* factory;          // what a reset writes ("" deletes a text)
};
inline constexpr GlobalFieldSpec kGlobalFields[] = {
    {GlobalField::UltraMapPath, kUltraMapPathValue, FieldType::Text, kMapperInDataFolder, kMapperInDataFolder,
     kMapperInProgramFiles},
    {GlobalField::UltraMapOptions, kUltraMapOptionsValue, FieldType::Text, "%s", "", "%s"},
    {GlobalField::UseJoystick, kUseJoystickValue, FieldType::Number16, "0", "0", "0"},
    {GlobalField::UseKeyboard, kUseKeyboardValue, FieldType::Number16, "1", "0", "1"},
    {GlobalField::ApplyOnStart, kApplyOnStartValue, FieldType::Number16, "1", "1", "1"},
    // Not stored at all when no controller is chosen.
    {GlobalField::SwitchDevice, kSwitchDeviceValue, FieldType::Text, "", "", ""},
    // Always stored as 0: the topmost active configuration is the default.
    {GlobalField::DefaultConfig, kDefaultConfigValue, FieldType::Number16, "0", "0", "0"},
    {GlobalField::ChangeTimeout, kChangeTimeoutValue, FieldType::Number32, "2048", "2048", "2048"},
    {GlobalField::UseHook, kUseHookValue, FieldType::Number16, "0", "0", "0"},
    {GlobalField::PollPerSecond, kPollPerSecondValue, FieldType::Number16, "16", "16", "16"},
};

// The values of an action subkey (or export section), with the default that
// a missing one takes in the registry and in a file alike. The first value
// of each kind decides whether the entry exists in the registry.
enum class ActionField { Modifier, VirtualKey, Buttons, SendType, Action, Select, KeySeq, AppName, AppParms };
struct ActionFieldSpec {
  ActionField field;
  const char* name;
  FieldType type;
  const char* fallback;
  bool keyboard;    // held by keyboard entries
  bool controller;  // held by controller entries
};
inline constexpr ActionFieldSpec kActionFields[] = {
    {ActionField::Modifier, kModifierValue, FieldType::Number16, "0", true, false},
    {ActionField::VirtualKey, kVirtualKeyValue, FieldType::Number16, "13", true, false},
    {ActionField::Buttons, kButtonsValue, FieldType::Number32, "0", false, true},
    {ActionField::SendType, kSendTypeValue, FieldType::Number16, "0", true, true},
    {ActionField::Action, kActionValue, FieldType::Number16, "2", true, true},
    {ActionField::Select, kSelectValue, FieldType::Text, "", true, true},
    {ActionField::KeySeq, kKeySeqValue, FieldType::Text, "", true, true},
    {ActionField::AppName, kAppNameValue, FieldType::Text, "", true, true},
    {ActionField::AppParms, kAppParmsValue, FieldType::Text, "", true, true},
};

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

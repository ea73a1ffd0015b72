// The settings tree under HKEY_CURRENT_USER that the configurator writes and
// the runtime reads, with the codes stored in it. Both programs include this
// file so the names can never drift apart.
#pragma once

#include <cstdint>

namespace quillon {

// Key paths, relative to HKEY_CURRENT_USER.
inline constexpr const char* kSettingsKeyPath = "Software\\KWP\\Quillon";
// Numbered action subkeys below kSettingsKeyPath: keyboard "01".."99",
// controller "J01".."J99", numbered from 1 without gaps.
inline constexpr const char* kKeyActionSubkeyFormat = "%02d";
inline constexpr const char* kButtonActionSubkeyFormat = "J%02d";
inline constexpr int kMaxActions = 99;

// Global values.
inline constexpr const char* kConfigValueFormat = "Config%d";  // Config0..Config9
inline constexpr int kMaxConfigs = 10;
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

// What the configurator writes when it resets the tree.
inline constexpr uint32_t kFactoryChangeTimeout = 2048;
inline constexpr uint32_t kFactoryPollPerSecond = 16;
inline constexpr uint32_t kFactoryUseKeyboard = 1;
inline constexpr const char* kFactoryUltraMapOptions = "%s";

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

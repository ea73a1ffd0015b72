#include "configurator/settings_model.h"

#include <cstdio>

#include "configurator/env_helpers.h"
#include "configurator/mod_registry.h"
#include "configurator/numeric_text.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/configurator_view.h"
#include "configurator/seams/shell_services.h"
#include "configurator/runtime_control.h"

namespace quillon {

ConfiguratorSettings g_model;

namespace {

constexpr const char* kHkcu = "HKCU";

std::string Numbered(const char* format, int number) {
  char text[32];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

std::string KeyActionKey(int number) { return std::string(kSettingsKeyPath) + "\\" + Numbered(kKeyActionSubkeyFormat, number); }
std::string ButtonActionKey(int number) {
  return std::string(kSettingsKeyPath) + "\\" + Numbered(kButtonActionSubkeyFormat, number);
}

std::string MainText(const char* name, const std::string& fallback) {
  return modRegistry::ReadText(kHkcu, kSettingsKeyPath, name, fallback);
}

// A stored number that does not fit its field leaves the field's default.
int16_t Number16(const std::string& path, const char* name, int16_t fallback, long* status = nullptr) {
  int64_t number = modRegistry::ReadNumber(kHkcu, path, name, fallback, status);
  return FitsInt16(number) ? int16_t(number) : fallback;
}
int32_t Number32(const std::string& path, const char* name, int32_t fallback, long* status = nullptr) {
  int64_t number = modRegistry::ReadNumber(kHkcu, path, name, fallback, status);
  return FitsInt32(number) ? int32_t(number) : fallback;
}

void WriteCommonActionValues(const std::string& key, int16_t sendType, int16_t action, const std::string& select,
                             const std::string& keySeq, const std::string& appName, const std::string& appParms) {
  modRegistry::WriteNumber(kHkcu, key, kSendTypeValue, sendType);
  modRegistry::WriteNumber(kHkcu, key, kActionValue, action);
  modRegistry::WriteText(kHkcu, key, kSelectValue, select);
  modRegistry::WriteText(kHkcu, key, kKeySeqValue, keySeq);
  modRegistry::WriteText(kHkcu, key, kAppNameValue, appName);
  modRegistry::WriteText(kHkcu, key, kAppParmsValue, appParms);
}

void WriteKeyAction(int number, const KeyActionEntry& entry) {
  const std::string key = KeyActionKey(number);
  modRegistry::WriteNumber(kHkcu, key, kModifierValue, entry.modifier);
  modRegistry::WriteNumber(kHkcu, key, kVirtualKeyValue, entry.virtualKey);
  WriteCommonActionValues(key, entry.sendType, entry.action, entry.select, entry.keySeq, entry.appName, entry.appParms);
}

void WriteButtonAction(int number, const ButtonActionEntry& entry) {
  const std::string key = ButtonActionKey(number);
  modRegistry::WriteNumber(kHkcu, key, kButtonsValue, entry.buttons);
  WriteCommonActionValues(key, entry.sendType, entry.action, entry.select, entry.keySeq, entry.appName, entry.appParms);
}

void DeleteActionSubkeys() {
  for (int n = 1; n <= kMaxActions; ++n)
    modRegistry::DeleteKey(kHkcu, kSettingsKeyPath, Numbered(kKeyActionSubkeyFormat, n));
  for (int n = 1; n <= kMaxActions; ++n)
    modRegistry::DeleteKey(kHkcu, kSettingsKeyPath, Numbered(kButtonActionSubkeyFormat, n));
}

// A numeric field's number; a text that is not a number, or one that does
// not fit its model field, puts the fallback text into the field and uses it.
int64_t FieldNumber(TextField field, const std::string& text, const char* fallbackText, bool (*fits)(int64_t)) {
  std::optional<int64_t> number = ParseWholeNumberText(text);
  if (number && fits(*number)) return *number;
  SetFieldText(field, fallbackText);
  return *ParseWholeNumberText(fallbackText);
}

bool FitsInt16Field(int64_t n) { return FitsInt16(n); }
bool FitsInt32Field(int64_t n) { return FitsInt32(n); }

// The four texts that keyboard and controller entries share.
template <typename Entry>
void ReadEntryTexts(const std::string& key, Entry& entry) {
  entry.select = modRegistry::ReadText(kHkcu, key, kSelectValue, "");
  entry.keySeq = modRegistry::ReadText(kHkcu, key, kKeySeqValue, "");
  entry.appName = modRegistry::ReadText(kHkcu, key, kAppNameValue, "");
  entry.appParms = modRegistry::ReadText(kHkcu, key, kAppParmsValue, "");
}

}  // namespace

void FillDefaultConfigNames() {
  for (auto& name : g_model.defaultConfigNames) name.clear();
  int slot = 0;
  for (const char* name : kFactoryConfigNames) g_model.defaultConfigNames[slot++] = name;
}

void WriteDefaultSettings() {
  for (int i = 0; i < kMaxConfigs; ++i)
    modRegistry::WriteText(kHkcu, kSettingsKeyPath, Numbered(kConfigValueFormat, i), g_model.defaultConfigNames[i]);

  std::string programFiles;
  if (!GetSpecialFolder(MainWindowHandle(), kFolderProgramFilesX86, &programFiles) || programFiles.empty()) {
    programFiles.clear();
    if (!GetSpecialFolder(MainWindowHandle(), kFolderProgramFiles, &programFiles) || programFiles.empty())
      programFiles = g_model.dataFolder;
  }
  modRegistry::WriteText(kHkcu, kSettingsKeyPath, kUltraMapPathValue,
                         JoinPath(JoinPath(programFiles, "UltraMap"), kUltraMapProgramName));
  modRegistry::WriteText(kHkcu, kSettingsKeyPath, kUltraMapOptionsValue, kFactoryUltraMapOptions);
  modRegistry::DeleteValue(kHkcu, kSettingsKeyPath, kSwitchDeviceValue);

  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kDefaultConfigValue, 0);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kChangeTimeoutValue, kFactoryChangeTimeout);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kUseHookValue, 0);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kPollPerSecondValue, kFactoryPollPerSecond);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kUseJoystickValue, 0);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kUseKeyboardValue, kFactoryUseKeyboard);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kApplyOnStartValue, 1);

  DeleteActionSubkeys();

  KeyActionEntry entry;
  entry.virtualKey = 106;  // keypad multiply
  entry.action = NextMap;
  WriteKeyAction(1, entry);
  entry.virtualKey = 107;  // keypad plus
  entry.action = ShowSwitcher;
  WriteKeyAction(2, entry);
  entry.virtualKey = 109;  // keypad minus: the game-controller control panel
  entry.action = RunApplication;
  entry.appName = JoinPath(GetSystemFolder(), "rundll32.exe");
  entry.appParms = "shell32.dll,Control_RunDLL joy.cpl";
  WriteKeyAction(3, entry);
}

void LoadFromRegistry() {
  std::string entries;
  if (modRegistry::ListValues(kHkcu, kSettingsKeyPath, &entries) != modRegistry::kStatusOk) WriteDefaultSettings();

  for (int i = 0; i < kMaxConfigs; ++i)
    g_model.configNames[i] = MainText(Numbered(kConfigValueFormat, i).c_str(), g_model.defaultConfigNames[i]);
  g_model.configNames[kConfigSlots - 1].clear();
  g_model.ultraMapPath = MainText(kUltraMapPathValue, JoinPath(g_model.dataFolder, kUltraMapProgramName));
  g_model.ultraMapOptions = MainText(kUltraMapOptionsValue, kFactoryUltraMapOptions);
  g_model.switchDevice = MainText(kSwitchDeviceValue, "");
  g_model.defaultConfig = Number16(kSettingsKeyPath, kDefaultConfigValue, 0);
  g_model.changeTimeout = Number32(kSettingsKeyPath, kChangeTimeoutValue, int32_t(kFactoryChangeTimeout));
  g_model.useHook = Number16(kSettingsKeyPath, kUseHookValue, 0);
  g_model.pollPerSecond = Number16(kSettingsKeyPath, kPollPerSecondValue, int16_t(kFactoryPollPerSecond));
  g_model.useJoystick = Number16(kSettingsKeyPath, kUseJoystickValue, 0);
  g_model.useKeyboard = Number16(kSettingsKeyPath, kUseKeyboardValue, 1);
  g_model.applyOnStart = Number16(kSettingsKeyPath, kApplyOnStartValue, 1);

  g_model.keyCount = 0;
  for (int n = 1; n <= kMaxActions; ++n) {
    const std::string key = KeyActionKey(n);
    KeyActionEntry entry;
    long status = 0;
    entry.modifier = Number16(key, kModifierValue, 0, &status);
    if (status != modRegistry::kStatusOk) continue;
    entry.virtualKey = Number16(key, kVirtualKeyValue, 13);
    entry.sendType = Number16(key, kSendTypeValue, 0);
    entry.action = Number16(key, kActionValue, NextMap);
    ReadEntryTexts(key, entry);
    g_model.keyActions[g_model.keyCount++] = entry;
  }

  g_model.buttonCount = 0;
  for (int n = 1; n <= kMaxActions; ++n) {
    const std::string key = ButtonActionKey(n);
    ButtonActionEntry entry;
    long status = 0;
    entry.buttons = Number32(key, kButtonsValue, 0, &status);
    if (status != modRegistry::kStatusOk) continue;
    entry.sendType = Number16(key, kSendTypeValue, 0);
    entry.action = Number16(key, kActionValue, NextMap);
    ReadEntryTexts(key, entry);
    g_model.buttonActions[g_model.buttonCount++] = entry;
  }

  RefreshFromModel();
}

void CollectGlobalSettings() {
  GlobalFields fields = ReadGlobalFields();
  for (auto& name : g_model.configNames) name.clear();
  for (size_t i = 0; i < fields.activeConfigs.size() && i < size_t(kMaxConfigs); ++i)
    g_model.configNames[i] = fields.activeConfigs[i];

  g_model.changeTimeout = int32_t(
      FieldNumber(TextField::ChangeTimeout, fields.changeTimeoutText, kChangeTimeoutFallbackText, FitsInt32Field));
  g_model.useHook = fields.hotKeyMode ? 0 : 1;
  g_model.useJoystick = fields.useJoystick ? 1 : 0;
  g_model.useKeyboard = fields.useKeyboard ? 1 : 0;
  g_model.applyOnStart = fields.applyOnStart ? 1 : 0;
  g_model.switchDevice = fields.selectedController;
  g_model.pollPerSecond = int16_t(
      FieldNumber(TextField::PollPerSecond, fields.pollPerSecondText, kPollPerSecondFallbackText, FitsInt16Field));
  g_model.ultraMapPath = fields.ultraMapPath;
  g_model.ultraMapOptions = fields.ultraMapOptions;
}

void ApplyToRegistry() {
  for (int i = 0; i < kMaxConfigs; ++i)
    modRegistry::WriteText(kHkcu, kSettingsKeyPath, Numbered(kConfigValueFormat, i), g_model.configNames[i]);
  modRegistry::WriteText(kHkcu, kSettingsKeyPath, kUltraMapPathValue, g_model.ultraMapPath);
  modRegistry::WriteText(kHkcu, kSettingsKeyPath, kUltraMapOptionsValue, g_model.ultraMapOptions);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kUseJoystickValue, g_model.useJoystick);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kUseKeyboardValue, g_model.useKeyboard);
  if (!g_model.switchDevice.empty())
    modRegistry::WriteText(kHkcu, kSettingsKeyPath, kSwitchDeviceValue, g_model.switchDevice);
  else
    modRegistry::DeleteValue(kHkcu, kSettingsKeyPath, kSwitchDeviceValue);
  // The topmost active configuration is always the default one.
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kDefaultConfigValue, 0);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kChangeTimeoutValue, g_model.changeTimeout);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kUseHookValue, g_model.useHook);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kPollPerSecondValue, g_model.pollPerSecond);
  modRegistry::WriteNumber(kHkcu, kSettingsKeyPath, kApplyOnStartValue, g_model.applyOnStart);

  DeleteActionSubkeys();
  for (int k = 0; k < g_model.keyCount && k < kMaxActions; ++k) WriteKeyAction(k + 1, g_model.keyActions[k]);
  for (int k = 0; k < g_model.buttonCount && k < kMaxActions; ++k) WriteButtonAction(k + 1, g_model.buttonActions[k]);
}

void CommitKeyEditorIfOpen() {
  if (g_model.currentKeyIndex >= 0 && g_model.currentKeyIndex < kActionSlots)
    CommitKeyEditor(g_model.keyActions[g_model.currentKeyIndex]);
}

void CommitButtonEditorIfOpen() {
  if (g_model.currentButtonIndex >= 0 && g_model.currentButtonIndex < kActionSlots)
    CommitButtonEditor(g_model.buttonActions[g_model.currentButtonIndex]);
}

bool ApplySettings() {
  std::string path = TrimBlanks(ReadGlobalFields().ultraMapPath);
  SetFieldText(TextField::UltraMapPath, path);
  if (!FileExists(path)) {
    ShowMessageBox("Check UltraMap path: file not found.", "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  CollectGlobalSettings();
  if (SelectedActionPage() == ActionPage::Keyboard) CommitKeyEditorIfOpen();
  else CommitButtonEditorIfOpen();
  ApplyToRegistry();
  SignalRuntime();
  return true;
}

void ReloadSettings() {
  g_model.currentKeyIndex = -1;
  g_model.currentButtonIndex = -1;
  RebuildLists();
  LoadFromRegistry();
}

}  // namespace quillon

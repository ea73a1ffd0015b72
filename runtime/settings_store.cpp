#include "runtime/settings_store.h"

#include <cstdio>
#include <cstring>

#include "runtime/seams/process_services.h"
#include "runtime/seams/registry_reader.h"

namespace quillon {

RuntimeSettings g_settings;

namespace {

// Texts are read through a buffer of this size: a longer value counts as
// missing rather than being cut.
constexpr uint32_t kTextBufferSize = 1024;

// A text value, or nothing when it is missing, unreadable, zero bytes long or
// longer than 1023 characters. The stored type is not checked, so the bytes
// need not end in a zero: the text ends at the first zero or at the last byte.
std::optional<std::string> ReadText(RegistryKeyHandle key, const char* name) {
  if (key == nullptr) return std::nullopt;
  char buffer[kTextBufferSize];
  uint32_t size = sizeof buffer;
  if (!QueryRegistryValue(key, name, buffer, &size)) return std::nullopt;
  if (size == 0 || size > sizeof buffer) return std::nullopt;
  // A full buffer without a terminating zero held 1024 characters or more.
  if (size == sizeof buffer && buffer[size - 1] != '\0') return std::nullopt;
  return std::string(buffer, strnlen(buffer, size));
}

std::string ReadTextOr(RegistryKeyHandle key, const char* name, const char* fallback) {
  std::optional<std::string> text = ReadText(key, name);
  return text ? *text : std::string(fallback);
}

// A 32-bit number read as up to 4 little-endian bytes, whatever its type; a
// missing, unreadable, empty or longer value takes the fallback.
uint32_t ReadNumber(RegistryKeyHandle key, const char* name, uint32_t fallback) {
  if (key == nullptr) return fallback;
  unsigned char bytes[4] = {0, 0, 0, 0};
  uint32_t size = sizeof bytes;
  if (!QueryRegistryValue(key, name, bytes, &size) || size == 0 || size > sizeof bytes) return fallback;
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

std::string DirectoryOf(const std::string& path) {
  size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string ActionSubkeyPath(const std::string& subkey) { return std::string(kSettingsKeyPath) + "\\" + subkey; }

void ReadGlobals(RegistryKeyHandle key) {
  RuntimeSettings& s = g_settings;
  for (int slot = 0; slot < kMaxConfigs; ++slot) {
    std::optional<std::string> name = ReadText(key, ConfigValueName(slot).c_str());
    if (name && !name->empty()) s.configNames[s.configCount++] = *name;
  }
  s.defaultConfig = ReadNumber(key, kDefaultConfigValue, 0);
  s.changeTimeout = ReadNumber(key, kChangeTimeoutValue, kRuntimeDefaultChangeTimeout);
  std::optional<std::string> ultraMapPath = ReadText(key, kUltraMapPathValue);
  // The directory already ends in a separator; the doubled separator that
  // this gives is accepted by Windows and kept as it always was.
  s.ultraMapPath = ultraMapPath ? *ultraMapPath : s.programDirectory + "\\" + kUltraMapProgramName;
  s.ultraMapOptions = ReadTextOr(key, kUltraMapOptionsValue, "");
  s.useHook = ReadNumber(key, kUseHookValue, 0);
  s.useJoystick = ReadNumber(key, kUseJoystickValue, 0);
  s.useKeyboard = ReadNumber(key, kUseKeyboardValue, 0);
  s.applyOnStart = ReadNumber(key, kApplyOnStartValue, kRuntimeDefaultApplyOnStart);
  s.switchDevice = ReadTextOr(key, kSwitchDeviceValue, "");
  s.pollPerSecond = ReadNumber(key, kPollPerSecondValue, 0);
  s.showTrayIcon = ReadNumber(key, kShowTrayIconValue, 0);
  s.showMapName = ReadNumber(key, kShowMapNameValue, 0);
}

void ReadActionTexts(RegistryKeyHandle key, std::string& select, std::optional<std::string>& keySeq,
                     std::string& appName, std::string& appParms) {
  select = ReadTextOr(key, kSelectValue, "");
  keySeq = ReadText(key, kKeySeqValue);
  if (keySeq && keySeq->empty()) keySeq.reset();
  appName = ReadTextOr(key, kAppNameValue, "");
  appParms = ReadTextOr(key, kAppParmsValue, "");
}

void ReadKeyActions() {
  RuntimeSettings& s = g_settings;
  for (int n = 1; n <= kMaxActions; ++n) {
    RegistryKeyHandle key = OpenUserKeyForReading(ActionSubkeyPath(KeyActionSubkey(n)).c_str());
    if (key == nullptr) break;
    KeyAction& entry = s.keyActions[n];
    entry.modifier = ReadNumber(key, kModifierValue, 0);
    // Without a VirtualKey the entry captures nothing (0 is never armed).
    entry.virtualKey = ReadNumber(key, kVirtualKeyValue, 0);
    entry.sendType = ReadNumber(key, kSendTypeValue, 0);
    entry.action = ReadNumber(key, kActionValue, 0);
    ReadActionTexts(key, entry.select, entry.keySeq, entry.appName, entry.appParms);
    s.keyCount = uint32_t(n);
    CloseRegistryKey(key);
  }
}

void ReadButtonActions() {
  RuntimeSettings& s = g_settings;
  for (int n = 1; n <= kMaxActions; ++n) {
    RegistryKeyHandle key = OpenUserKeyForReading(ActionSubkeyPath(ButtonActionSubkey(n)).c_str());
    if (key == nullptr) break;
    ButtonAction& entry = s.buttonActions[s.buttonCount];
    entry.buttons = ReadNumber(key, kButtonsValue, 0);
    entry.sendType = ReadNumber(key, kSendTypeValue, 0);
    entry.action = ReadNumber(key, kActionValue, 0);
    ReadActionTexts(key, entry.select, entry.keySeq, entry.appName, entry.appParms);
    ++s.buttonCount;
    CloseRegistryKey(key);
  }
}

}  // namespace

void ReadSettings() {
  RuntimeSettings& s = g_settings;
  s = RuntimeSettings{};
  s.programDirectory = DirectoryOf(ExecutablePath());
  s.lastAnnounce = ProcessClockMs();

  RegistryKeyHandle key = OpenUserKeyForReading(kSettingsKeyPath);
  ReadGlobals(key);
  if (key != nullptr) CloseRegistryKey(key);

  ReadKeyActions();
  ReadButtonActions();
}

void ClearSettings() {
  RuntimeSettings& s = g_settings;
  // Give every text's memory back, not just its length.
  s.programDirectory = std::string();
  s.ultraMapOptions = std::string();
  s.ultraMapPath = std::string();
  s.switchDevice = std::string();
  for (std::string& name : s.configNames) name = std::string();
  for (uint32_t n = 1; n <= s.keyCount; ++n) s.keyActions[n] = KeyAction{};
  for (uint32_t n = 0; n < s.buttonCount; ++n) s.buttonActions[n] = ButtonAction{};
  s.keyCount = 0;
  s.buttonCount = 0;
  s.configCount = 0;
}

const char* CurrentMapName() {
  const RuntimeSettings& s = g_settings;
  if (s.currentConfig >= s.configCount) return nullptr;
  return s.configNames[s.currentConfig].c_str();
}

}  // namespace quillon

#include "runtime/settings_store.h"

#include "runtime/seams/process_services.h"
#include "runtime/seams/registry_reader.h"
#include "shared/text_helpers.h"

namespace quillon {

namespace {

// Where each stored global goes in the runtime's record.
struct GlobalBinding {
  Field field;
  uint32_t RuntimeSettings::*number;
  std::string RuntimeSettings::*text;
};
constexpr GlobalBinding kGlobals[] = {
    {Field::UltraMapPath, nullptr, &RuntimeSettings::ultraMapPath},
    {Field::UltraMapOptions, nullptr, &RuntimeSettings::ultraMapOptions},
    {Field::UseJoystick, &RuntimeSettings::useJoystick, nullptr},
    {Field::UseKeyboard, &RuntimeSettings::useKeyboard, nullptr},
    {Field::ApplyOnStart, &RuntimeSettings::applyOnStart, nullptr},
    {Field::SwitchDevice, nullptr, &RuntimeSettings::switchDevice},
    {Field::DefaultConfig, &RuntimeSettings::defaultConfig, nullptr},
    {Field::ChangeTimeout, &RuntimeSettings::changeTimeout, nullptr},
    {Field::UseHook, &RuntimeSettings::useHook, nullptr},
    {Field::PollPerSecond, &RuntimeSettings::pollPerSecond, nullptr},
    {Field::ShowTrayIcon, &RuntimeSettings::showTrayIcon, nullptr},
    {Field::ShowMapName, &RuntimeSettings::showMapName, nullptr},
};

template <typename Entry>
void CopyEntry(const FieldValues& values, Entry& entry) {
  if constexpr (requires { entry.modifier; }) {
    entry.modifier = uint32_t(values[Field::Modifier].number);
    entry.virtualKey = uint32_t(values[Field::VirtualKey].number);
  } else {
    entry.buttons = uint32_t(values[Field::Buttons].number);
  }
  entry.sendType = uint32_t(values[Field::SendType].number);
  entry.action = uint32_t(values[Field::Action].number);
  entry.select = values[Field::Select].text;
  const std::string& keySeq = values[Field::KeySeq].text;
  if (!keySeq.empty()) entry.keySeq = keySeq;
  entry.appName = values[Field::AppName].text;
  entry.appParms = values[Field::AppParms].text;
}

}  // namespace

void ReadSettings(RuntimeSettings& s) {
  s = RuntimeSettings{};
  s.programDirectory = FolderOf(ExecutablePath(), "\\/");

  TreeStore registry;
  static const std::vector<std::string> names[] = {StoredNamesOf(Group::Main), StoredNamesOf(Group::Keyboard),
                                                   StoredNamesOf(Group::Controller)};
  registry.read = [](GroupAddress at, StoredGroup* values) {
    return ReadUserKey(RegistryPath(at), names[size_t(at.group)], values);
  };
  ReadOptions options;
  options.maxTextLength = kRegistryValueBuffer - 1;
  // The directory already ends in a separator; the doubled separator that
  // this gives is accepted by Windows and kept as it always was.
  options.mapperPath = s.programDirectory + "\\" + kUltraMapProgramName;
  const TreeValues tree = ReadTree(registry, options);

  // Empty or missing slots close up: list index k is the k-th named one.
  for (const std::optional<std::string>& name : tree.configNames)
    if (name && !name->empty()) s.configNames[s.configCount++] = *name;
  for (const GlobalBinding& global : kGlobals) {
    if (global.number != nullptr) s.*global.number = uint32_t(tree.main[global.field].number);
    if (global.text != nullptr) s.*global.text = tree.main[global.field].text;
  }
  // Keyboard entry n sits in slot n; slot 0 stays unused.
  for (const FieldValues& entry : tree.keys) CopyEntry(entry, s.keyActions[++s.keyCount]);
  for (const FieldValues& entry : tree.buttons) CopyEntry(entry, s.buttonActions[s.buttonCount++]);
}

void ClearSettings(RuntimeSettings& s) {
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

}  // namespace quillon

#include "configurator/settings_model.h"

#include <cstdlib>
#include <type_traits>

#include "configurator/env_helpers.h"
#include "configurator/export_file.h"
#include "configurator/mod_registry.h"
#include "configurator/numeric_text.h"
#include "configurator/path_helpers.h"
#include "configurator/runtime_control.h"
#include "configurator/seams/main_window.h"
#include "configurator/seams/message_boxes.h"

namespace quillon {

ConfiguratorSettings g_model;
ConfiguratorSession g_session;

namespace {

// Where the tree is read from or written to: the registry, or an export
// file whose sections stand for the keys.
struct Place {
  std::string root;
  bool file = false;
  std::string main;
  std::string (*keyEntry)(int number);
  std::string (*buttonEntry)(int number);
};

Place InRegistry() {
  return {"HKCU", false, kSettingsKeyPath,
          [](int n) { return std::string(kSettingsKeyPath) + "\\" + KeyActionSubkey(n); },
          [](int n) { return std::string(kSettingsKeyPath) + "\\" + ButtonActionSubkey(n); }};
}
Place InFile(const std::string& file) { return {file, true, kExportSection, ExportKeySection, ExportJoySection}; }

// One field of the model, whatever its type.
struct FieldRef {
  std::string* text = nullptr;
  int16_t* small = nullptr;
  int32_t* wide = nullptr;
};

FieldRef Bind(ConfiguratorSettings& m, GlobalField field) {
  switch (field) {
    case GlobalField::UltraMapPath: return {&m.ultraMapPath};
    case GlobalField::UltraMapOptions: return {&m.ultraMapOptions};
    case GlobalField::UseJoystick: return {nullptr, &m.useJoystick};
    case GlobalField::UseKeyboard: return {nullptr, &m.useKeyboard};
    case GlobalField::ApplyOnStart: return {nullptr, &m.applyOnStart};
    case GlobalField::SwitchDevice: return {&m.switchDevice};
    case GlobalField::DefaultConfig: return {nullptr, &m.defaultConfig};
    case GlobalField::ChangeTimeout: return {nullptr, nullptr, &m.changeTimeout};
    case GlobalField::UseHook: return {nullptr, &m.useHook};
    case GlobalField::PollPerSecond: return {nullptr, &m.pollPerSecond};
  }
  return {};
}

template <typename Entry>
FieldRef Bind(Entry& entry, ActionField field) {
  switch (field) {
    case ActionField::Modifier:
      if constexpr (requires { entry.modifier; }) return {nullptr, &entry.modifier};
      break;
    case ActionField::VirtualKey:
      if constexpr (requires { entry.virtualKey; }) return {nullptr, &entry.virtualKey};
      break;
    case ActionField::Buttons:
      if constexpr (requires { entry.buttons; }) return {nullptr, nullptr, &entry.buttons};
      break;
    case ActionField::SendType: return {nullptr, &entry.sendType};
    case ActionField::Action: return {nullptr, &entry.action};
    case ActionField::Select: return {&entry.select};
    case ActionField::KeySeq: return {&entry.keySeq};
    case ActionField::AppName: return {&entry.appName};
    case ActionField::AppParms: return {&entry.appParms};
  }
  return {};
}

template <typename Entry>
constexpr bool Holds(const ActionFieldSpec& row) {
  return std::is_same_v<Entry, KeyActionEntry> ? row.keyboard : row.controller;
}

int64_t NumberOf(const char* text) { return std::strtoll(text, nullptr, 10); }

// A number goes into its field only when it fits; the caller's fallback
// stays otherwise.
void SetNumber(FieldRef field, int64_t number) {
  if (field.small != nullptr && FitsInt16(number)) *field.small = int16_t(number);
  if (field.wide != nullptr && FitsInt32(number)) *field.wide = int32_t(number);
}

std::string TextOf(FieldRef field) {
  if (field.text != nullptr) return *field.text;
  return std::to_string(field.small != nullptr ? int64_t(*field.small) : int64_t(*field.wide));
}

// Reads one value into its field, which holds the fallback on return when
// the value is missing or does not fit. The registry's status comes back; a
// file always answers 0. A number in a file is the one at the start of its
// text.
long ReadField(const Place& at, const std::string& path, const char* name, const std::string& fallback,
               FieldRef field) {
  long status = 0;
  if (field.text != nullptr) {
    *field.text = modRegistry::ReadText(at.root, path, name, fallback, &status);
    return status;
  }
  SetNumber(field, NumberOf(fallback.c_str()));
  if (at.file) {
    std::optional<int64_t> number = LeadingNumber(modRegistry::ReadText(at.root, path, name, fallback, &status));
    if (number) SetNumber(field, *number);
  } else {
    SetNumber(field, modRegistry::ReadNumber(at.root, path, name, NumberOf(fallback.c_str()), &status));
  }
  return status;
}

std::string Resolved(const char* fallback) {
  if (fallback == kMapperInDataFolder) return JoinPath(g_session.dataFolder, kUltraMapProgramName);
  return fallback;
}

bool SectionHasLines(const std::string& file, const std::string& section) {
  std::string entries;
  return modRegistry::ListValues(file, section, &entries) == modRegistry::kStatusOk;
}

// Reads entries 1..99 of one kind into `entries`; the loaded list has no
// holes. In the registry the first value of the kind decides whether a
// subkey counts; in a file, whether its section has any line.
template <typename Entry>
int16_t ReadEntries(const Place& at, std::string (*pathOf)(int), std::array<Entry, kActionSlots>& entries) {
  int16_t count = 0;
  for (int n = 1; n <= kMaxActions; ++n) {
    const std::string path = pathOf(n);
    if (at.file && !SectionHasLines(at.root, path)) continue;
    Entry entry;
    bool first = true, counts = true;
    for (const ActionFieldSpec& row : kActionFields) {
      if (!Holds<Entry>(row)) continue;
      long status = ReadField(at, path, row.name, row.fallback, Bind(entry, row.field));
      if (first && status != modRegistry::kStatusOk) {
        counts = false;
        break;
      }
      first = false;
    }
    if (!counts) continue;
    if constexpr (requires { entry.buttons; }) entry.buttons &= int32_t(kButtonsMask);  // buttons 1 to 10 only
    entries[size_t(count++)] = entry;
  }
  return count;
}

void ReadTree(const Place& at, ConfiguratorSettings& m) {
  for (int i = 0; i < kMaxConfigs; ++i)
    m.configNames[i] = modRegistry::ReadText(at.root, at.main, ConfigValueName(i), g_session.defaultConfigNames[i]);
  m.configNames[kConfigSlots - 1].clear();
  for (const GlobalFieldSpec& row : kGlobalFields)
    ReadField(at, at.main, row.name, Resolved(at.file ? row.fileDefault : row.registryDefault),
              Bind(m, row.field));
  m.keyCount = ReadEntries(at, at.keyEntry, m.keyActions);
  m.buttonCount = ReadEntries(at, at.buttonEntry, m.buttonActions);
}

// Writes values in order and keeps the first failure.
struct Writer {
  const Place& at;
  long failure = modRegistry::kStatusOk;
  void Put(const std::string& path, const std::string& name, FieldRef field) {
    long status = field.text != nullptr || at.file
                      ? modRegistry::WriteText(at.root, path, name, TextOf(field))
                      : modRegistry::WriteNumber(at.root, path, name, field.small ? *field.small : *field.wide);
    if (failure == modRegistry::kStatusOk) failure = status;
  }
  template <typename Entry>
  void PutEntries(std::string (*pathOf)(int), const std::array<Entry, kActionSlots>& entries, int count) {
    for (int k = 0; k < count && k < kMaxActions; ++k) {
      Entry entry = entries[size_t(k)];
      for (const ActionFieldSpec& row : kActionFields)
        if (Holds<Entry>(row)) Put(pathOf(k + 1), row.name, Bind(entry, row.field));
    }
  }
};

long WriteTree(const Place& at, const ConfiguratorSettings& model) {
  ConfiguratorSettings m = model;
  m.defaultConfig = 0;  // the topmost active configuration is always the default one
  Writer out{at};
  for (int i = 0; i < kMaxConfigs; ++i) out.Put(at.main, ConfigValueName(i), {&m.configNames[i]});
  for (const GlobalFieldSpec& row : kGlobalFields) {
    if (row.field == GlobalField::SwitchDevice && m.switchDevice.empty()) {
      if (!at.file) modRegistry::DeleteValue(at.root, at.main, row.name);
      continue;
    }
    out.Put(at.main, row.name, Bind(m, row.field));
  }
  if (!at.file) {
    for (int n = 1; n <= kMaxActions; ++n) modRegistry::DeleteKey(at.root, at.main, KeyActionSubkey(n));
    for (int n = 1; n <= kMaxActions; ++n) modRegistry::DeleteKey(at.root, at.main, ButtonActionSubkey(n));
  }
  out.PutEntries(at.keyEntry, m.keyActions, m.keyCount);
  out.PutEntries(at.buttonEntry, m.buttonActions, m.buttonCount);
  return out.failure;
}

// The program-files folder for the mapping program: the 32-bit one, the
// plain one, or the data folder.
std::string ProgramFilesFolder() {
  std::string folder;
  if (GetSpecialFolder(MainWindowHandle(), kFolderProgramFilesX86, &folder) && !folder.empty()) return folder;
  folder.clear();
  if (GetSpecialFolder(MainWindowHandle(), kFolderProgramFiles, &folder) && !folder.empty()) return folder;
  return g_session.dataFolder;
}

ConfiguratorSettings FactoryModel() {
  ConfiguratorSettings m;
  for (int i = 0; i < kMaxConfigs; ++i) m.configNames[i] = g_session.defaultConfigNames[i];
  for (const GlobalFieldSpec& row : kGlobalFields) {
    FieldRef field = Bind(m, row.field);
    if (field.text != nullptr) *field.text = row.factory;
    else SetNumber(field, NumberOf(row.factory));
  }
  m.ultraMapPath = JoinPath(JoinPath(ProgramFilesFolder(), "UltraMap"), kUltraMapProgramName);

  m.keyCount = 3;
  m.keyActions[0].virtualKey = 106;  // keypad multiply
  m.keyActions[0].action = NextMap;
  m.keyActions[1].virtualKey = 107;  // keypad plus
  m.keyActions[1].action = ShowSwitcher;
  m.keyActions[2].virtualKey = 109;  // keypad minus: the game-controller control panel
  m.keyActions[2].action = RunApplication;
  m.keyActions[2].appName = JoinPath(GetSystemFolder(), "rundll32.exe");
  m.keyActions[2].appParms = "shell32.dll,Control_RunDLL joy.cpl";
  return m;
}

// A numeric field's number; a text that is not a number, or one that does
// not fit its model field, puts the fallback text into the field and uses it.
int64_t FieldNumber(std::string& text, const char* fallbackText, bool (*fits)(int64_t)) {
  std::optional<int64_t> number = ParseWholeNumberText(text);
  if (number && fits(*number)) return *number;
  text = fallbackText;
  return *ParseWholeNumberText(fallbackText);
}
bool Fits16(int64_t n) { return FitsInt16(n); }

}  // namespace

void FillDefaultConfigNames() {
  for (auto& name : g_session.defaultConfigNames) name.clear();
  int slot = 0;
  for (const char* name : kFactoryConfigNames) g_session.defaultConfigNames[slot++] = name;
}

void WriteDefaultSettings() { WriteTree(InRegistry(), FactoryModel()); }

void LoadFromRegistry() {
  std::string entries;
  if (modRegistry::ListValues("HKCU", kSettingsKeyPath, &entries) != modRegistry::kStatusOk) WriteDefaultSettings();
  ReadTree(InRegistry(), g_model);
}

void ApplyToRegistry() { WriteTree(InRegistry(), g_model); }

void ReadFromFile(const std::string& file) { ReadTree(InFile(file), g_model); }

long WriteToFile(const std::string& file) { return WriteTree(InFile(file), g_model); }

void CollectGlobalSettings(WindowFields& fields) {
  for (auto& name : g_model.configNames) name.clear();
  for (size_t i = 0; i < fields.activeConfigs.size() && i < size_t(kMaxConfigs); ++i)
    g_model.configNames[i] = fields.activeConfigs[i];
  // Stored numbers are 16 bits wide (the writer leaves a wider one's value as
  // it was), so a timeout that would not be stored falls back like the rest.
  g_model.changeTimeout = int32_t(FieldNumber(fields.changeTimeoutText, kChangeTimeoutFallbackText, Fits16));
  g_model.useHook = fields.hotKeyMode ? 0 : 1;
  g_model.useJoystick = fields.useJoystick ? 1 : 0;
  g_model.useKeyboard = fields.useKeyboard ? 1 : 0;
  g_model.applyOnStart = fields.applyOnStart ? 1 : 0;
  g_model.switchDevice = fields.selectedController;
  g_model.pollPerSecond = int16_t(FieldNumber(fields.pollPerSecondText, kPollPerSecondFallbackText, Fits16));
  g_model.ultraMapPath = fields.ultraMapPath;
  g_model.ultraMapOptions = fields.ultraMapOptions;
}

void CommitEditorEntry(const EditorEntry& editor) {
  if (editor.index < 0 || editor.index >= kActionSlots) return;
  if (editor.list == ActionList::Keyboard) g_model.keyActions[size_t(editor.index)] = editor.key;
  else g_model.buttonActions[size_t(editor.index)] = editor.button;
}

bool ApplySettings(WindowFields& fields, const EditorEntry& editor) {
  fields.ultraMapPath = TrimBlanks(fields.ultraMapPath);
  // A pattern can match a file and still name no program to start.
  if (HasWildcards(fields.ultraMapPath) || !FileExists(fields.ultraMapPath)) {
    ShowMessageBox("Check UltraMap path: file not found.", "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  CollectGlobalSettings(fields);
  CommitEditorEntry(editor);
  ApplyToRegistry();
  SignalRuntime();
  return true;
}

}  // namespace quillon

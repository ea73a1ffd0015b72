#include "configurator/settings_model.h"

#include "configurator/env_helpers.h"
#include "configurator/mod_registry.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/main_window.h"
#include "shared/numeric_text.h"

namespace quillon {

ConfiguratorSettings g_model;
ConfiguratorSession g_session;

namespace {

// Where each stored field goes in a record of the model, by its type.
template <typename Record>
struct Binding {
  Field field;
  std::string Record::*text;
  int16_t Record::*small;
  int32_t Record::*wide;
};
using M = ConfiguratorSettings;
using K = KeyActionEntry;
using B = ButtonActionEntry;
constexpr Binding<M> kBindings[] = {
    {Field::UltraMapPath, &M::ultraMapPath, nullptr, nullptr},
    {Field::UltraMapOptions, &M::ultraMapOptions, nullptr, nullptr},
    {Field::UseJoystick, nullptr, &M::useJoystick, nullptr},
    {Field::UseKeyboard, nullptr, &M::useKeyboard, nullptr},
    {Field::ApplyOnStart, nullptr, &M::applyOnStart, nullptr},
    {Field::SwitchDevice, &M::switchDevice, nullptr, nullptr},
    {Field::DefaultConfig, nullptr, &M::defaultConfig, nullptr},
    {Field::ChangeTimeout, nullptr, nullptr, &M::changeTimeout},
    {Field::UseHook, nullptr, &M::useHook, nullptr},
    {Field::PollPerSecond, nullptr, &M::pollPerSecond, nullptr},
    {Field::ShowTrayIcon, nullptr, &M::showTrayIcon, nullptr},
    {Field::ShowMapName, nullptr, &M::showMapName, nullptr},
};
constexpr Binding<K> kKeyBindings[] = {
    {Field::Modifier, nullptr, &K::modifier, nullptr}, {Field::VirtualKey, nullptr, &K::virtualKey, nullptr},
    {Field::SendType, nullptr, &K::sendType, nullptr}, {Field::Action, nullptr, &K::action, nullptr},
    {Field::Select, &K::select, nullptr, nullptr},     {Field::KeySeq, &K::keySeq, nullptr, nullptr},
    {Field::AppName, &K::appName, nullptr, nullptr},   {Field::AppParms, &K::appParms, nullptr, nullptr},
};
constexpr Binding<B> kButtonBindings[] = {
    {Field::Buttons, nullptr, nullptr, &B::buttons},   {Field::SendType, nullptr, &B::sendType, nullptr},
    {Field::Action, nullptr, &B::action, nullptr},     {Field::Select, &B::select, nullptr, nullptr},
    {Field::KeySeq, &B::keySeq, nullptr, nullptr},     {Field::AppName, &B::appName, nullptr, nullptr},
    {Field::AppParms, &B::appParms, nullptr, nullptr},
};
const auto& BindingsOf(const M&) { return kBindings; }
const auto& BindingsOf(const K&) { return kKeyBindings; }
const auto& BindingsOf(const B&) { return kButtonBindings; }

// The reader has fitted every number to its field's width.
template <typename Record>
void Take(const FieldValues& values, Record& record) {
  for (const auto& bound : BindingsOf(record)) {
    const FieldValue& value = values[bound.field];
    if (bound.text != nullptr) record.*bound.text = value.text;
    if (bound.small != nullptr) record.*bound.small = int16_t(value.number);
    if (bound.wide != nullptr) record.*bound.wide = int32_t(value.number);
  }
}

template <typename Record>
FieldValues Give(const Record& record) {
  FieldValues values;
  for (const auto& bound : BindingsOf(record)) {
    FieldValue& value = values[bound.field];
    if (bound.text != nullptr) value.text = record.*bound.text;
    if (bound.small != nullptr) value.number = record.*bound.small;
    if (bound.wide != nullptr) value.number = record.*bound.wide;
  }
  return values;
}

template <typename Entry>
int16_t TakeEntries(const std::vector<FieldValues>& read, std::array<Entry, kActionSlots>& entries) {
  int16_t count = 0;
  for (const FieldValues& values : read) {
    Entry& entry = entries[size_t(count++)];
    entry = Entry{};
    Take(values, entry);
    if constexpr (requires { entry.buttons; }) entry.buttons &= int32_t(kButtonsMask);  // buttons 1 to 10 only
  }
  return count;
}

template <typename Entry>
std::vector<FieldValues> GiveEntries(const std::array<Entry, kActionSlots>& entries, int count) {
  std::vector<FieldValues> values;
  for (int k = 0; k < count && k < kMaxActions; ++k) values.push_back(Give(entries[size_t(k)]));
  return values;
}

ReadOptions ConfiguratorReadOptions(const TreeStore& store, Defaults defaults) {
  ReadOptions options;
  options.defaults = defaults;
  options.gaps = Gaps::CloseUp;
  options.entryNeedsFirstField = !store.textOnly;
  options.leadingNumbers = store.textOnly;
  options.fitWidths = true;
  options.mapperPath = JoinPath(g_session.dataFolder, kUltraMapProgramName);
  return options;
}

// Set while the model's lists are not the registry's yet.
bool g_entriesUnread = false;

void ReadEntries(const TreeStore& store, const ReadOptions& options, ConfiguratorSettings& m) {
  m.keyCount = TakeEntries(ReadList(store, Group::Keyboard, options), m.keyActions);
  m.buttonCount = TakeEntries(ReadList(store, Group::Controller, options), m.buttonActions);
  g_entriesUnread = false;
}

// False when the tree has no main group.
bool ReadTree(const TreeStore& store, Defaults defaults, ConfiguratorSettings& m, EntriesRead entries) {
  ReadOptions options = ConfiguratorReadOptions(store, defaults);
  options.withLists = false;
  const TreeValues tree = quillon::ReadTree(store, options);
  for (int i = 0; i < kMaxConfigs; ++i)
    m.configNames[size_t(i)] = tree.configNames[size_t(i)].value_or(g_session.defaultConfigNames[size_t(i)]);
  m.configNames[kConfigSlots - 1].clear();
  Take(tree.main, m);
  g_entriesUnread = true;
  if (entries == EntriesRead::Now) ReadEntries(store, options, m);
  return tree.mainFound;
}

WriteFailure WriteTree(const TreeStore& store, const ConfiguratorSettings& m) {
  TreeValues tree;
  for (int i = 0; i < kMaxConfigs; ++i) tree.configNames[size_t(i)] = m.configNames[size_t(i)];
  tree.main = Give(m);
  tree.keys = GiveEntries(m.keyActions, m.keyCount);
  tree.buttons = GiveEntries(m.buttonActions, m.buttonCount);
  return quillon::WriteTree(store, tree);
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
  FieldValues factory;
  for (const FieldRow& row : kFields) {
    factory[row.field].text = row.factory;
    factory[row.field].number = ParseWholeNumberText(row.factory).value_or(0);
  }
  Take(factory, m);
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

// A numeric field's number; a text that is not a number, or one that would
// not be stored (stored numbers are 16 bits wide, and the writer leaves a
// wider one's value as it was), puts the default text into the field and
// uses it.
int64_t FieldNumber(std::string& text, Field field) {
  const FieldRow& row = RowOf(field);
  std::optional<int64_t> number = ParseWholeNumberText(text);
  if (number && FitsInt16(*number)) return *number;
  text = row.registryDefault;
  return ParseWholeNumberText(text).value_or(0);
}

}  // namespace

void FillDefaultConfigNames() {
  for (auto& name : g_session.defaultConfigNames) name.clear();
  int slot = 0;
  for (const char* name : kFactoryConfigNames) g_session.defaultConfigNames[slot++] = name;
}

WriteFailure WriteDefaultSettings() { return WriteTree(modRegistry::RegistryTree(), FactoryModel()); }

void LoadFromRegistry(EntriesRead entries) {
  const TreeStore registry = modRegistry::RegistryTree();
  if (ReadTree(registry, Defaults::Registry, g_model, entries)) return;
  WriteDefaultSettings();
  ReadTree(registry, Defaults::Registry, g_model, entries);
}

void ReadEntriesLeftUnread() {
  if (!g_entriesUnread) return;
  const TreeStore registry = modRegistry::RegistryTree();
  ReadEntries(registry, ConfiguratorReadOptions(registry, Defaults::Registry), g_model);
}

// Writing lists that were never read would delete every stored entry.
WriteFailure ApplyToRegistry() {
  ReadEntriesLeftUnread();
  return WriteTree(modRegistry::RegistryTree(), g_model);
}

void ReadFromFile(const std::string& file) {
  ReadTree(modRegistry::ExportFileTree(file), Defaults::ExportFile, g_model, EntriesRead::Now);
}

WriteFailure WriteToFile(const std::string& file) {
  ReadEntriesLeftUnread();
  return WriteTree(modRegistry::ExportFileTree(file), g_model);
}

void CollectGlobalSettings(WindowFields& fields) {
  for (auto& name : g_model.configNames) name.clear();
  for (size_t i = 0; i < fields.activeConfigs.size() && i < size_t(kMaxConfigs); ++i)
    g_model.configNames[i] = fields.activeConfigs[i];
  g_model.changeTimeout = int32_t(FieldNumber(fields.changeTimeoutText, Field::ChangeTimeout));
  g_model.useHook = fields.hotKeyMode ? 0 : 1;
  g_model.useJoystick = fields.useJoystick ? 1 : 0;
  g_model.useKeyboard = fields.useKeyboard ? 1 : 0;
  g_model.applyOnStart = fields.applyOnStart ? 1 : 0;
  g_model.switchDevice = fields.selectedController;
  g_model.pollPerSecond = int16_t(FieldNumber(fields.pollPerSecondText, Field::PollPerSecond));
  g_model.ultraMapPath = fields.ultraMapPath;
  g_model.ultraMapOptions = fields.ultraMapOptions;
  g_model.showTrayIcon = fields.showTrayIcon ? 1 : 0;
  g_model.showMapName = fields.showMapName ? 1 : 0;
}

void CommitEditorEntry(const EditorEntry& editor) {
  if (editor.index < 0 || editor.index >= kActionSlots) return;
  if (editor.list == ActionList::Keyboard) g_model.keyActions[size_t(editor.index)] = editor.key;
  else g_model.buttonActions[size_t(editor.index)] = editor.button;
}

}  // namespace quillon

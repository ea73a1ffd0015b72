#include "configurator/settings_model.h"

#include "configurator/path_helpers.h"
#include "configurator/seams/main_window_host.h"
#include "configurator/system_services.h"
#include "configurator/tree_stores.h"
#include "shared/numeric_text.h"

namespace quillon {

namespace {

// The reader has fitted every number to its field's width.
void Assign(std::string& member, const FieldValue& value) { member = value.text; }
void Assign(int16_t& member, const FieldValue& value) { member = int16_t(value.number); }
void Assign(int32_t& member, const FieldValue& value) { member = int32_t(value.number); }
void Put(FieldValue& value, const std::string& member) { value.text = member; }
void Put(FieldValue& value, int64_t member) { value.number = member; }

template <typename Record>
void Take(const FieldValues& values, Record& record) {
  VisitFields(record, [&](Field field, auto& member) { Assign(member, values[field]); });
}

template <typename Record>
FieldValues Give(const Record& record) {
  FieldValues values;
  VisitFields(record, [&](Field field, const auto& member) { Put(values[field], member); });
  return values;
}

template <typename Entry>
int16_t TakeEntries(const std::vector<FieldValues>& read, std::array<Entry, kActionSlots>& entries) {
  int16_t count = 0;
  for (const FieldValues& values : read) {
    Entry& entry = entries[size_t(count++)];
    entry = Entry{};
    Take(values, entry);
  }
  return count;
}

template <typename Entry>
std::vector<FieldValues> GiveEntries(const std::array<Entry, kActionSlots>& entries, int count) {
  std::vector<FieldValues> values;
  for (int k = 0; k < count && k < kMaxActions; ++k) values.push_back(Give(entries[size_t(k)]));
  return values;
}

// `dataFolder` stands for the mapping program's default folder; reading the
// entries alone needs none.
ReadOptions ConfiguratorReadOptions(const TreeStore& store, Defaults defaults, const std::string& dataFolder = {}) {
  ReadOptions options;
  options.defaults = defaults;
  options.gaps = Gaps::CloseUp;
  options.entryNeedsFirstField = !store.textOnly;
  options.leadingNumbers = store.textOnly;
  options.fitWidths = true;
  options.mapperPath = JoinPath(dataFolder, kUltraMapProgramName);
  return options;
}

void ReadEntries(const TreeStore& store, const ReadOptions& options, ConfiguratorSettings& m) {
  m.keyCount = TakeEntries(ReadList(store, Group::Keyboard, options), m.keyActions);
  m.buttonCount = TakeEntries(ReadList(store, Group::Controller, options), m.buttonActions);
  m.entriesUnread = false;
}

// False when the tree has no main group.
bool ReadTree(const TreeStore& store, Defaults defaults, ConfiguratorSettings& m, const ConfiguratorSession& session,
              EntriesRead entries) {
  ReadOptions options = ConfiguratorReadOptions(store, defaults, session.dataFolder);
  options.withLists = false;
  const TreeValues tree = quillon::ReadTree(store, options);
  for (int i = 0; i < kMaxConfigs; ++i) {
    m.configNames[size_t(i)] = tree.configNames[size_t(i)].value_or(session.defaultConfigNames[size_t(i)]);
    m.configWindows[size_t(i)] = tree.configWindows[size_t(i)].value_or("");
  }
  m.configNames[kConfigSlots - 1].clear();
  m.configWindows[kConfigSlots - 1].clear();
  Take(tree.main, m);
  m.entriesUnread = true;
  if (entries == EntriesRead::Now) ReadEntries(store, options, m);
  return tree.mainFound;
}

WriteFailure WriteTree(const TreeStore& store, const ConfiguratorSettings& m) {
  TreeValues tree;
  for (int i = 0; i < kMaxConfigs; ++i) {
    tree.configNames[size_t(i)] = m.configNames[size_t(i)];
    tree.configWindows[size_t(i)] = m.configWindows[size_t(i)];
  }
  tree.main = Give(m);
  tree.keys = GiveEntries(m.keyActions, m.keyCount);
  tree.buttons = GiveEntries(m.buttonActions, m.buttonCount);
  return quillon::WriteTree(store, tree);
}

// The program-files folder for the mapping program: the 32-bit one, the
// plain one, or the data folder.
std::string ProgramFilesFolder(const ConfiguratorSession& session) {
  std::string folder;
  if (GetSpecialFolder(MainWindowHandle(), kFolderProgramFilesX86, &folder) && !folder.empty()) return folder;
  folder.clear();
  if (GetSpecialFolder(MainWindowHandle(), kFolderProgramFiles, &folder) && !folder.empty()) return folder;
  return session.dataFolder;
}

ConfiguratorSettings FactoryModel(const ConfiguratorSession& session) {
  ConfiguratorSettings m;
  for (int i = 0; i < kMaxConfigs; ++i) m.configNames[i] = session.defaultConfigNames[i];
  FieldValues factory;
  for (const FieldRow& row : kFields) {
    factory[row.field].text = row.factory;
    factory[row.field].number = ParseWholeNumberText(row.factory).value_or(0);
  }
  Take(factory, m);
  m.ultraMapPath = JoinPath(JoinPath(ProgramFilesFolder(session), "UltraMap"), kUltraMapProgramName);

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

void FillDefaultConfigNames(ConfiguratorSession& session) {
  for (auto& name : session.defaultConfigNames) name.clear();
  int slot = 0;
  for (const char* name : kFactoryConfigNames) session.defaultConfigNames[slot++] = name;
}

WriteFailure WriteDefaultSettings(const ConfiguratorSession& session) {
  return WriteTree(treeStores::RegistryTree(), FactoryModel(session));
}

void LoadFromRegistry(ConfiguratorSettings& model, const ConfiguratorSession& session, EntriesRead entries) {
  const TreeStore registry = treeStores::RegistryTree();
  if (ReadTree(registry, Defaults::Registry, model, session, entries)) return;
  WriteDefaultSettings(session);
  ReadTree(registry, Defaults::Registry, model, session, entries);
}

void ReadEntriesLeftUnread(ConfiguratorSettings& model) {
  if (!model.entriesUnread) return;
  const TreeStore registry = treeStores::RegistryTree();
  ReadEntries(registry, ConfiguratorReadOptions(registry, Defaults::Registry), model);
}

// Writing lists that were never read would delete every stored entry.
WriteFailure ApplyToRegistry(ConfiguratorSettings& model) {
  ReadEntriesLeftUnread(model);
  return WriteTree(treeStores::RegistryTree(), model);
}

void ReadFromFile(const std::string& file, ConfiguratorSettings& model, const ConfiguratorSession& session) {
  ReadTree(treeStores::ExportFileTree(file), Defaults::ExportFile, model, session, EntriesRead::Now);
}

WriteFailure WriteToFile(const std::string& file, ConfiguratorSettings& model) {
  ReadEntriesLeftUnread(model);
  return WriteTree(treeStores::ExportFileTree(file), model);
}

FieldValues MainFieldValues(const ConfiguratorSettings& model) { return Give(model); }

ConfiguratorSettings CandidateSettings(const ConfiguratorSettings& stored, WindowFields& fields,
                                       const EditorEntry& editor) {
  ConfiguratorSettings candidate = stored;
  for (auto& name : candidate.configNames) name.clear();
  for (auto& window : candidate.configWindows) window.clear();
  for (size_t i = 0; i < fields.activeConfigs.size() && i < size_t(kMaxConfigs); ++i) {
    const std::string& name = fields.activeConfigs[i];
    candidate.configNames[i] = name;
    // The pattern goes with its map's name, not with the slot it was in.
    if (auto shown = fields.windowPatterns.find(name); shown != fields.windowPatterns.end())
      candidate.configWindows[i] = shown->second;
    else
      for (size_t k = 0; k < size_t(kMaxConfigs); ++k)
        if (stored.configNames[k] == name) candidate.configWindows[i] = stored.configWindows[k];
  }
  FieldValues values = Give(candidate);
  for (const FieldRow& row : kFields) {
    std::optional<std::string>& shown = fields[row.field];
    if ((row.home & InMain) == 0 || !shown) continue;
    if (row.type == FieldType::Text) values[row.field].text = *shown;
    else values[row.field].number = FieldNumber(*shown, row.field);
  }
  Take(values, candidate);
  if (editor.index >= 0 && editor.index < kActionSlots) {
    if (editor.list == ActionList::Keyboard) candidate.keyActions[size_t(editor.index)] = editor.key;
    else candidate.buttonActions[size_t(editor.index)] = editor.button;
  }
  return candidate;
}

}  // namespace quillon

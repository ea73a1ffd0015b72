#include "runtime/settings_store.h"

#include "runtime/seams/process_services.h"
#include "runtime/seams/registry_reader.h"
#include "runtime/seams/sound_player.h"
#include "shared/program_folders.h"
#include "shared/seams/settings_lock.h"
#include "shared/text_helpers.h"

namespace quillon {

namespace {

// The codec has read every number into 64 bits and every text whole.
void Assign(uint32_t& member, const FieldValue& value) { member = uint32_t(value.number); }
void Assign(std::string& member, const FieldValue& value) { member = value.text; }

template <typename Record>
void Take(const FieldValues& values, Record& record) {
  VisitFields(record, [&](Field field, auto& member) { Assign(member, values[field]); });
}

// Texts give their memory back; numbers stay as read until the next load.
void Forget(std::string& member) { member = std::string(); }
void Forget(uint32_t&) {}

// An installed runtime lies beside the configurator in the program folder,
// where no user's files are: it reads them from the configurator's data
// folder. A runtime on its own keeps its files beside it.
std::string FilesFolder() {
  const std::string own = FolderOf(ExecutablePath(), "\\/");
  if (own.empty()) return own;
  return RuntimeFilesFolder(own, FileAttributesReadable(own + kConfiguratorProgramFile), CommonAppDataFolder());
}

}  // namespace

void ReadSettings(RuntimeSettings& s) {
  s = RuntimeSettings{};
  s.programDirectory = FilesFolder();

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
  for (size_t slot = 0; slot < tree.configNames.size(); ++slot) {
    const std::optional<std::string>& name = tree.configNames[slot];
    if (!name || name->empty()) continue;
    s.configWindows[s.configCount] = tree.configWindows[slot].value_or("");
    s.configNames[s.configCount++] = *name;
  }
  // Read at every load, so that a list the configurator just wrote counts.
  for (uint32_t k = 0; k < s.configCount; ++k)
    s.gamesLists.push_back(ReadGamesList(GamesListPath(s.programDirectory, s.configNames[k])));
  Take(tree.main, s);
  // Keyboard entry n sits in slot n; slot 0 stays unused.
  for (const FieldValues& entry : tree.keys) Take(entry, s.keyActions[++s.keyCount]);
  for (const FieldValues& entry : tree.buttons) Take(entry, s.buttonActions[s.buttonCount++]);
}

bool ReadSettingsWhole(RuntimeSettings& s) {
  const SettingsLock lock = TakeSettingsLock(kSettingsLockWaitMs);
  if (lock == SettingsLock::TimedOut) return false;
  ReadSettings(s);
  if (Held(lock)) ReleaseSettingsLock();
  return true;
}

void ClearSettings(RuntimeSettings& s) {
  // Give every text's memory back, not just its length.
  s.programDirectory = std::string();
  VisitFields(s, [](Field, auto& member) { Forget(member); });
  for (std::string& name : s.configNames) name = std::string();
  for (std::string& window : s.configWindows) window = std::string();
  s.gamesLists = std::vector<GamesList>();
  for (uint32_t n = 1; n <= s.keyCount; ++n) s.keyActions[n] = KeyAction{};
  for (uint32_t n = 0; n < s.buttonCount; ++n) s.buttonActions[n] = ButtonAction{};
  s.keyCount = 0;
  s.buttonCount = 0;
  s.configCount = 0;
}

}  // namespace quillon

// The one reader and the one writer of the settings tree, over the table of
// its fields in settings_tree.h. A store hands over, or takes, one whole
// group at a time: the main key or an action subkey of the registry, or a
// section of an export file. The runtime, the configurator's load, its Apply,
// and export and import all go through here, each with its named options.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shared/settings_tree.h"

namespace quillon {

// One group of values: the main key, or entry `number` (1..99) of a list.
enum class Group : uint8_t { Main, Keyboard, Controller };
struct GroupAddress {
  Group group = Group::Main;
  int number = 0;
};
// "Software\KWP\Quillon", "Software\KWP\Quillon\01", "...\J01".
std::string RegistryPath(GroupAddress at);
// "Quillon", "Key 01", "Joy 01".
std::string ExportSection(GroupAddress at);

// One value as a store holds it. Registry strings keep their terminating
// zero; an export file's text is handed over with one added, so that a line
// "Select=" reads as present and empty, as a stored "" does.
enum class StoredType : uint8_t { Text, Number, Other };
struct RawValue {
  std::string name;
  StoredType type = StoredType::Other;
  std::string bytes;  // a number: its 4 bytes, little-endian
};
using StoredGroup = std::vector<RawValue>;
// REG_SZ and REG_EXPAND_SZ are texts, REG_DWORD a number.
inline StoredType StoredTypeOfRegistryType(uint32_t type) {
  return type == 1 || type == 2 ? StoredType::Text : type == 4 ? StoredType::Number : StoredType::Other;
}

// A field's value once read: text or number by the field's type.
struct FieldValue {
  std::string text;
  int64_t number = 0;
};
struct FieldValues {
  std::array<FieldValue, kFieldCount> of;
  FieldValue& operator[](Field field) { return of[size_t(field)]; }
  const FieldValue& operator[](Field field) const { return of[size_t(field)]; }
};
// The whole tree, every field defaulted. A missing configuration name is
// nullopt; the entries are in list order.
struct TreeValues {
  std::array<std::optional<std::string>, kMaxConfigs> configNames;
  // configWindows[k]: the window pattern of the name in slot k; nullopt
  // when it is missing.
  std::array<std::optional<std::string>, kMaxConfigs> configWindows;
  FieldValues main;
  std::vector<FieldValues> keys;
  std::vector<FieldValues> buttons;
  bool mainFound = false;  // the main group exists
};

// The store: `read` fills a group whole and is false when the group does not
// exist; `write` replaces the fields that it is given and deletes the owned
// values in `removed`, leaving values it does not know alone; `trim` deletes
// the entries of a list numbered above `count`. Both answer 0 or an error.
struct TreeStore {
  std::function<bool(GroupAddress, StoredGroup*)> read;
  std::function<long(GroupAddress, const StoredGroup& values, const std::vector<std::string>& removed)> write;
  std::function<long(Group list, int count)> trim;
  // An export file holds texts only: numbers are written in decimal.
  bool textOnly = false;
};

// The names of the values that the tree keeps in a group, for a store that
// asks for values by name.
std::vector<std::string> StoredNamesOf(Group group);

enum class Defaults : uint8_t { Runtime, Registry, ExportFile };
// The runtime's list ends at the first missing entry; the configurator passes
// over missing ones, so that its next Apply numbers the list from 1 again.
enum class Gaps : uint8_t { EndList, CloseUp };
struct ReadOptions {
  Defaults defaults = Defaults::Runtime;
  Gaps gaps = Gaps::EndList;
  // The configurator's registry rule: an entry without its first field
  // (Modifier, Buttons) does not count.
  bool entryNeedsFirstField = false;
  // An export file's number is the one at the start of its text (none gives
  // 0); elsewhere a text counts as a number only when it is one whole.
  bool leadingNumbers = false;
  // The configurator's rule: a number that does not fit its field's width
  // takes the default; the runtime takes every 32-bit number as stored.
  bool fitWidths = false;
  // A longer text counts as missing (the runtime reads through a buffer).
  size_t maxTextLength = SIZE_MAX;
  // The mapping program's path, where a default stands for it.
  std::string mapperPath;
  // Off: the main key only, the lists left empty.
  bool withLists = true;
};
TreeValues ReadTree(const TreeStore& store, const ReadOptions& options);
// The entries of one list, in list order.
std::vector<FieldValues> ReadList(const TreeStore& store, Group list, const ReadOptions& options);

// The first value that could not be written, named by its group's path (or
// section) and its name, with the store's error; empty `what` when none.
struct WriteFailure {
  std::string what;
  long status = 0;
};
// Writes every group whole, entries in list order from 1, then trims each
// list; stops at the first failure, so that no entry is deleted unless all
// were written. Numbers that do not fit 16 bits keep the stored value (sets
// of bits are stored whole);
// `DefaultConfig` is always 0 and an empty `SwitchDevice` is removed.
WriteFailure WriteTree(const TreeStore& store, const TreeValues& tree);

}  // namespace quillon

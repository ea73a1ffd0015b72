#include "shared/settings_codec.h"

#include "shared/numeric_text.h"
#include "shared/text_helpers.h"

namespace quillon {

std::string RegistryPath(GroupAddress at) {
  switch (at.group) {
    case Group::Main: return kSettingsKeyPath;
    case Group::Keyboard: return std::string(kSettingsKeyPath) + "\\" + KeyActionSubkey(at.number);
    case Group::Controller: return std::string(kSettingsKeyPath) + "\\" + ButtonActionSubkey(at.number);
  }
  return {};
}

std::string ExportSection(GroupAddress at) {
  switch (at.group) {
    case Group::Main: return "Quillon";
    case Group::Keyboard: return "Key " + TwoDigits(at.number);
    case Group::Controller: return "Joy " + TwoDigits(at.number);
  }
  return {};
}

namespace {

const char* DefaultOf(const FieldRow& row, Defaults defaults) {
  switch (defaults) {
    case Defaults::Runtime: return row.runtimeFallback;
    case Defaults::Registry: return row.registryDefault;
    case Defaults::ExportFile: return row.exportDefault;
  }
  return row.registryDefault;
}

// The table's FieldHome bit of a group.
uint8_t HomeOf(Group group) { return uint8_t(1u << unsigned(group)); }

bool SameName(const std::string& stored, const char* name, bool withCase) {
  return withCase ? stored == name : SameTextIgnoringCase(stored, name);
}

// The first value of that name: registry names compare without case, an
// export file's with case, and its first line of a name wins.
const RawValue* Find(const StoredGroup& group, const char* name, bool withCase) {
  for (const RawValue& value : group)
    if (SameName(value.name, name, withCase)) return &value;
  return nullptr;
}

// A text ends at its first zero byte. A value of no bytes at all, one too
// long, or a number is missing.
std::optional<std::string> TextOf(const RawValue* value, const ReadOptions& options) {
  if (value == nullptr || value->type == StoredType::Number || value->bytes.empty()) return std::nullopt;
  std::string text = UpToFirstZero(value->bytes);
  if (text.size() > options.maxTextLength) return std::nullopt;
  return text;
}

// A number stored as a number is its bytes, little-endian, taken as a
// signed 32-bit number. A text is read for the number it spells, never for
// its bytes: "112" typed by hand into VirtualKey is F1, not the key that its
// first bytes would name.
std::optional<int64_t> NumberOf(const RawValue* value, const ReadOptions& options) {
  if (value == nullptr) return std::nullopt;
  if (value->type == StoredType::Text) {
    std::string text = UpToFirstZero(value->bytes);
    return options.leadingNumbers ? LeadingNumber(text) : ParseWholeNumberText(text);
  }
  if (value->bytes.empty() || value->bytes.size() > 4) return std::nullopt;
  uint32_t number = 0;
  for (size_t i = value->bytes.size(); i-- > 0;) number = number << 8 | uint8_t(value->bytes[i]);
  return int64_t(int32_t(number));
}

// Any 32 bits, whether read as signed or not.
bool FitsBits32(int64_t number) { return number >= INT32_MIN && number <= int64_t(UINT32_MAX); }

bool Fits(const FieldRow& row, int64_t number, const ReadOptions& options) {
  if (!options.fitWidths || row.type == FieldType::Bits32) return FitsBits32(number);
  return row.type == FieldType::Number16 ? FitsInt16(number) : FitsInt32(number);
}

std::string DefaultText(const FieldRow& row, const ReadOptions& options) {
  const char* text = DefaultOf(row, options.defaults);
  if (text == kMapperInProgramFolder || text == kMapperInDataFolder || text == kMapperInProgramFiles)
    return options.mapperPath;
  return text;
}

FieldValues ReadFields(const StoredGroup& group, Group home, const ReadOptions& options, bool withCase) {
  FieldValues values;
  for (const FieldRow& row : kFields) {
    if ((row.home & HomeOf(home)) == 0) continue;
    const RawValue* stored = Find(group, row.name, withCase);
    FieldValue& value = values[row.field];
    if (row.type == FieldType::Text) {
      std::optional<std::string> text = TextOf(stored, options);
      value.text = text ? *text : DefaultText(row, options);
      continue;
    }
    std::optional<int64_t> number = NumberOf(stored, options);
    if (number && Fits(row, *number, options)) value.number = *number;
    else value.number = ParseWholeNumberText(DefaultText(row, options)).value_or(0);
  }
  return values;
}

const FieldRow& FirstFieldOf(Group list) {
  for (const FieldRow& row : kFields)
    if ((row.home & HomeOf(list)) != 0) return row;
  return kFields[0];
}

RawValue Text(const char* name, const std::string& text) { return {name, StoredType::Text, text + '\0'}; }

RawValue Number(const char* name, uint32_t number) {
  return {name, StoredType::Number, {char(number), char(number >> 8), char(number >> 16), char(number >> 24)}};
}

// Numbers are stored 16 bits wide; one that does not fit is left out, so the
// stored value stays. A set of bits is stored whole, and written in a file
// as the unsigned number it is.
void Encode(const FieldRow& row, const FieldValue& value, bool textOnly, StoredGroup* out) {
  if (row.type == FieldType::Text) {
    out->push_back(Text(row.name, value.text));
  } else if (row.type == FieldType::Bits32) {
    if (!FitsBits32(value.number)) return;
    const uint32_t bits = uint32_t(value.number);
    out->push_back(textOnly ? Text(row.name, std::to_string(bits)) : Number(row.name, bits));
  } else if (textOnly) {
    out->push_back(Text(row.name, std::to_string(value.number)));
  } else if (FitsInt16(value.number)) {
    out->push_back(Number(row.name, uint32_t(int32_t(int16_t(value.number)))));
  }
}

StoredGroup Encoded(const FieldValues& values, Group home, bool textOnly) {
  StoredGroup group;
  for (const FieldRow& row : kFields)
    if ((row.home & HomeOf(home)) != 0) Encode(row, values[row.field], textOnly, &group);
  return group;
}

}  // namespace

std::vector<FieldValues> ReadList(const TreeStore& store, Group list, const ReadOptions& options) {
  std::vector<FieldValues> entries;
  StoredGroup group;
  for (int n = 1; n <= kMaxActions; ++n) {
    group.clear();
    if (!store.read({list, n}, &group)) {
      if (options.gaps == Gaps::EndList) break;
      continue;
    }
    if (options.entryNeedsFirstField && Find(group, FirstFieldOf(list).name, store.textOnly) == nullptr) continue;
    entries.push_back(ReadFields(group, list, options, store.textOnly));
  }
  return entries;
}

std::vector<std::string> StoredNamesOf(Group group) {
  std::vector<std::string> names;
  if (group == Group::Main)
    for (int slot = 0; slot < kMaxConfigs; ++slot) {
      names.push_back(ConfigValueName(slot));
      names.push_back(ConfigWindowValueName(slot));
    }
  for (const FieldRow& row : kFields)
    if ((row.home & HomeOf(group)) != 0) names.push_back(row.name);
  return names;
}

TreeValues ReadTree(const TreeStore& store, const ReadOptions& options) {
  TreeValues tree;
  StoredGroup main;
  tree.mainFound = store.read({Group::Main, 0}, &main);
  if (!tree.mainFound) main.clear();
  for (int slot = 0; slot < kMaxConfigs; ++slot) {
    tree.configNames[size_t(slot)] = TextOf(Find(main, ConfigValueName(slot).c_str(), store.textOnly), options);
    tree.configWindows[size_t(slot)] = TextOf(Find(main, ConfigWindowValueName(slot).c_str(), store.textOnly), options);
  }
  tree.main = ReadFields(main, Group::Main, options, store.textOnly);
  if (!options.withLists) return tree;
  tree.keys = ReadList(store, Group::Keyboard, options);
  tree.buttons = ReadList(store, Group::Controller, options);
  return tree;
}

WriteFailure WriteTree(const TreeStore& store, const TreeValues& tree) {
  auto failed = [&](GroupAddress at, long status) {
    return WriteFailure{store.textOnly ? ExportSection(at) : RegistryPath(at), status};
  };
  FieldValues main = tree.main;
  main[Field::DefaultConfig].number = 0;  // the topmost active configuration is the default one
  StoredGroup group;
  std::vector<std::string> removed;
  for (int slot = 0; slot < kMaxConfigs; ++slot) {
    group.push_back(Text(ConfigValueName(slot).c_str(), tree.configNames[size_t(slot)].value_or("")));
    // A map without a window pattern stores none, so that trees and files
    // of maps that follow no window look as they always did.
    const std::string window = tree.configWindows[size_t(slot)].value_or("");
    if (window.empty()) removed.push_back(ConfigWindowValueName(slot));
    else group.push_back(Text(ConfigWindowValueName(slot).c_str(), window));
  }
  StoredGroup fields = Encoded(main, Group::Main, store.textOnly);
  for (RawValue& value : fields) {
    if (SameName(value.name, RowOf(Field::SwitchDevice).name, true) && main[Field::SwitchDevice].text.empty())
      removed.push_back(value.name);
    else group.push_back(std::move(value));
  }
  if (long status = store.write({Group::Main, 0}, group, removed)) return failed({Group::Main, 0}, status);

  for (Group list : {Group::Keyboard, Group::Controller}) {
    const std::vector<FieldValues>& entries = list == Group::Keyboard ? tree.keys : tree.buttons;
    for (size_t k = 0; k < entries.size() && k < size_t(kMaxActions); ++k) {
      GroupAddress at{list, int(k) + 1};
      if (long status = store.write(at, Encoded(entries[k], list, store.textOnly), {})) return failed(at, status);
    }
  }
  for (Group list : {Group::Keyboard, Group::Controller}) {
    int count = int(list == Group::Keyboard ? tree.keys.size() : tree.buttons.size());
    if (!store.trim) continue;
    if (long status = store.trim(list, count)) return failed({list, count + 1}, status);
  }
  return {};
}

}  // namespace quillon

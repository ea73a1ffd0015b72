// The store layer over the registry (in-memory natively, Wine's in the
// windows build) and over INI files (the portable profile store natively,
// the system's profile functions in the windows build).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "configurator/mod_registry.h"
#include "runtime/seams/registry_reader.h"
#include "tests/configurator/test_files.h"
#include "tests/kit/test_registry.h"
#if QUILLON_FAKE_REGISTRY
#include "tests/fakes/fake_registry.h"
#endif

namespace quillon {
namespace {

namespace reg = test_registry;
using modRegistry::StoredValue;

std::string Text(const char* text) { return text; }

// The entries of a NUL-separated name list.
std::multiset<std::string> Entries(const std::string& list) {
  std::multiset<std::string> entries;
  size_t start = 0;
  for (size_t at = list.find('\0'); at != std::string::npos && at != start; at = list.find('\0', start)) {
    entries.insert(list.substr(start, at - start));
    start = at + 1;
  }
  return entries;
}

// The raw bytes of a value, read the way the runtime reads them.
std::vector<uint8_t> RawBytes(const std::string& path, const std::string& name) {
  StoredGroup values;
  ReadUserKey(path, &values);
  for (const RawValue& value : values)
    if (value.name == name) return std::vector<uint8_t>(value.bytes.begin(), value.bytes.end());
  return {};
}

class ModRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reg::DeleteSettingsTree();
    folder_ = test_files::MakeScratchFolder("layer");
    ini_ = test_files::InFolder(folder_, "layer.ini");
  }
  void TearDown() override {
    reg::DeleteSettingsTree();
    test_files::RemoveScratchFolder(folder_);
#if QUILLON_FAKE_REGISTRY
    EXPECT_EQ(fake_registry::OpenHandleCount(), 0) << "a registry key was left open";
#endif
  }
  const std::string key_ = reg::SettingsPath() + "\\LayerTest";
  std::string folder_;
  std::string ini_;
};

TEST_F(ModRegistryTest, RootNamesAndTypeLettersIgnoreCase) {
  EXPECT_EQ(modRegistry::ResolveRoot("hkcu").kind, modRegistry::RootKind::Hive);
  EXPECT_EQ(modRegistry::ResolveRoot("HKLM").hive, RegistryHive::LocalMachine);
  EXPECT_EQ(modRegistry::ResolveRoot("Hkcr").hive, RegistryHive::ClassesRoot);
  EXPECT_EQ(modRegistry::ResolveRoot("HKEY").kind, modRegistry::RootKind::Invalid);
  StoredValue value;
  value.text = "Fly";
  EXPECT_EQ(modRegistry::WriteValue("hkcu", key_, "Config0", "s", value), 0);
  EXPECT_EQ(modRegistry::ReadText("HKCU", key_, "Config0", "none"), "Fly");
  EXPECT_EQ(RawBytes(key_, "Config0"), (std::vector<uint8_t>{'F', 'l', 'y', 0})) << "stored with its NUL";
}

TEST_F(ModRegistryTest, AnInvalidRootDoesNothingAndCreatesNoFile) {
  const std::string missing = test_files::InFolder(folder_, "missing.qlf");
  StoredValue value;
  value.text = "x";
  std::string list;
  EXPECT_EQ(modRegistry::ReadValue(missing, "Quillon", "A", "S", &value), 99);
  EXPECT_EQ(value.text, "x");
  EXPECT_EQ(modRegistry::WriteValue(missing, "Quillon", "A", "S", value), 99);
  EXPECT_EQ(modRegistry::DeleteValue(missing, "Quillon", "A"), 99);
  EXPECT_EQ(modRegistry::DeleteKey(missing, "Quillon", "A"), 99);
  EXPECT_EQ(modRegistry::ListSubkeys(missing, "Quillon", &list), 99);
  EXPECT_EQ(modRegistry::ListValues(missing, "Quillon", &list), 99);
  EXPECT_FALSE(test_files::Exists(missing));
}

TEST_F(ModRegistryTest, AMissingValueKeepsTheDefaultWithItsStatus) {
  long status = 0;
  EXPECT_EQ(modRegistry::ReadNumber("HKCU", key_, "VirtualKey", 13, &status), 13);
  EXPECT_EQ(status, 2);
  reg::CreateKey(key_);
  EXPECT_EQ(modRegistry::ReadNumber("HKCU", key_, "VirtualKey", 13, &status), 13);
  EXPECT_EQ(status, 2);
}

TEST_F(ModRegistryTest, NumbersAreSixteenBitsWidenedWithTheirSign) {
  struct {
    int64_t written;
    std::vector<uint8_t> stored;
    int64_t read;
  } const cases[] = {
      {2048, {0x00, 0x08, 0, 0}, 2048},
      {-1, {0xFF, 0xFF, 0xFF, 0xFF}, -1},
      {32767, {0xFF, 0x7F, 0, 0}, 32767},
      {-32768, {0x00, 0x80, 0xFF, 0xFF}, -32768},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(modRegistry::WriteNumber("HKCU", key_, "N", c.written), 0);
    EXPECT_EQ(RawBytes(key_, "N"), c.stored) << c.written;
    EXPECT_EQ(modRegistry::ReadNumber("HKCU", key_, "N", 0), c.read);
  }
  for (int64_t outside : {int64_t(40000), int64_t(32768), int64_t(-32769), int64_t(1) << 40}) {
    EXPECT_EQ(modRegistry::WriteNumber("HKCU", key_, "N", outside), 0) << "no error is reported";
    EXPECT_EQ(modRegistry::ReadNumber("HKCU", key_, "N", 0), -32768) << "the old value stays for " << outside;
  }
}

TEST_F(ModRegistryTest, TextsWithAndWithoutTheirNul) {
  reg::WriteBytes(key_, "NoNul", reg::kString, {'a', 'b'});
  reg::WriteBytes(key_, "Empty", reg::kString, {});
  reg::WriteBytes(key_, "Long", reg::kString, std::vector<uint8_t>(5000, 'x'));
  EXPECT_EQ(modRegistry::ReadText("HKCU", key_, "NoNul", ""), "ab");
  EXPECT_EQ(modRegistry::ReadText("HKCU", key_, "Empty", "default"), "");
  EXPECT_EQ(modRegistry::ReadText("HKCU", key_, "Long", ""), std::string(5000, 'x'));
}

TEST_F(ModRegistryTest, BooleansAreTwoBytes) {
  StoredValue value;
  value.flag = true;
  EXPECT_EQ(modRegistry::WriteValue("HKCU", key_, "Flag", "B", value), 0);
  EXPECT_EQ(RawBytes(key_, "Flag"), (std::vector<uint8_t>{0xFF, 0xFF}));
  reg::WriteBytes(key_, "Odd", reg::kBinary, {0x00, 0x01});
  value.flag = false;
  EXPECT_EQ(modRegistry::ReadValue("HKCU", key_, "Odd", "b", &value), 0);
  EXPECT_TRUE(value.flag);
}

TEST_F(ModRegistryTest, DataTooLongForItsTypeIsAFailedRead) {
  reg::WriteBytes(key_, "Wide", reg::kBinary, {1, 2, 3, 4, 5, 6, 7, 8});
  long status = 0;
  EXPECT_EQ(modRegistry::ReadNumber("HKCU", key_, "Wide", 13, &status), 13);
  EXPECT_NE(status, 0);
  StoredValue value;
  EXPECT_NE(modRegistry::ReadValue("HKCU", key_, "Wide", "B", &value), 0);
  EXPECT_FALSE(value.flag);
}

TEST_F(ModRegistryTest, AnUnknownTypeLetterReadsAndWritesNothing) {
  StoredValue value;
  value.text = "kept";
  reg::WriteText(key_, "A", "stored");
  EXPECT_EQ(modRegistry::ReadValue("HKCU", key_, "A", "X", &value), 0);
  EXPECT_EQ(value.text, "kept");
  EXPECT_EQ(modRegistry::WriteValue("HKCU", key_, "B", "Q", value), 0);
  long status = 0;
  modRegistry::ReadText("HKCU", key_, "B", "", &status);
  EXPECT_EQ(status, 2);
}

TEST_F(ModRegistryTest, DeletingWhatIsMissingSucceeds) {
  EXPECT_EQ(modRegistry::DeleteValue("HKCU", key_, "Nothing"), 0);
  EXPECT_EQ(modRegistry::DeleteKey("HKCU", key_, "07"), 0);
  reg::CreateKey(key_);
  EXPECT_EQ(modRegistry::DeleteValue("HKCU", key_, "Nothing"), 0);
  EXPECT_EQ(modRegistry::DeleteKey("HKCU", key_, "07"), 0);
  reg::WriteText(key_, "Gone", "x");
  EXPECT_EQ(modRegistry::DeleteValue("HKCU", key_, "Gone"), 0);
  long status = 0;
  modRegistry::ReadText("HKCU", key_, "Gone", "", &status);
  EXPECT_EQ(status, 2);
}

TEST_F(ModRegistryTest, DeleteKeyRemovesAnActionKeyButNeverAWholeSubtreeOrTheKeyItself) {
  reg::WriteNumber(key_ + "\\01", "Modifier", 0);
  reg::WriteNumber(key_ + "\\02\\deeper", "X", 1);
  EXPECT_EQ(modRegistry::DeleteKey("HKCU", key_, "01"), 0);
  EXPECT_NE(modRegistry::DeleteKey("HKCU", key_, "02"), 0);
  EXPECT_NE(modRegistry::DeleteKey("HKCU", key_, ""), 0);
  std::string names;
  EXPECT_EQ(modRegistry::ListSubkeys("HKCU", key_, &names), 0);
  EXPECT_EQ(Entries(names), (std::multiset<std::string>{"02"}));
  EXPECT_EQ(modRegistry::ReadNumber("HKCU", key_ + "\\02\\deeper", "X", 0), 1);
}

TEST_F(ModRegistryTest, NameListsEndWithAnExtraNul) {
  std::string names;
  EXPECT_EQ(modRegistry::ListSubkeys("HKCU", key_, &names), 2);
  reg::CreateKey(key_);
  EXPECT_EQ(modRegistry::ListSubkeys("HKCU", key_, &names), 0);
  EXPECT_EQ(names, Text("") + '\0' + '\0');
  EXPECT_EQ(modRegistry::ListValues("HKCU", key_, &names), 0);
  EXPECT_EQ(names, Text("") + '\0' + '\0');
  reg::CreateKey(key_ + "\\01");
  reg::CreateKey(key_ + "\\J01");
  EXPECT_EQ(modRegistry::ListSubkeys("HKCU", key_, &names), 0);
  EXPECT_EQ(Entries(names), (std::multiset<std::string>{"01", "J01"}));
  EXPECT_EQ(names.substr(names.size() - 2), Text("") + '\0' + '\0');
}

TEST_F(ModRegistryTest, ListValuesShowsTextsNumbersAndShortBinaries) {
  reg::WriteText(key_, "UltraMapPath", "C:\\U\\UltraMap.exe");
  reg::WriteNumber(key_, "PollPerSecond", uint32_t(-5));
  reg::WriteBytes(key_, "Flag", reg::kBinary, {0x34, 0x12});
  reg::WriteBytes(key_, "Big", reg::kBinary, {1, 2, 3});
  reg::WriteBytes(key_, "Expand", 2, {'%', 'x', '%', 0});
  reg::WriteBytes(key_, "Split", reg::kString, {'a', 0, 'b', 0});
  std::string entries;
  EXPECT_EQ(modRegistry::ListValues("HKCU", key_, &entries), 0);
  EXPECT_EQ(Entries(entries), (std::multiset<std::string>{"UltraMapPath=C:\\U\\UltraMap.exe", "PollPerSecond=-5",
                                                          "Flag=4660", "Split=a"}));
  EXPECT_EQ(entries.substr(entries.size() - 2), Text("") + '\0' + '\0');
}

// --- INI mode --------------------------------------------------------------

TEST_F(ModRegistryTest, IniValuesKeepEveryEqualsSignAfterTheFirst) {
  test_files::WriteFile(ini_,
                        "[Key 01]\r\nAppParms=--config=x.ini\r\nSelect=\r\nmodifier=4\r\nKeySeq=a=b=c\r\n"
                        "NoEquals\r\n");
  EXPECT_EQ(modRegistry::ReadText(ini_, "Key 01", "AppParms", "default"), "--config=x.ini");
  EXPECT_EQ(modRegistry::ReadText(ini_, "Key 01", "KeySeq", "default"), "a=b=c");
  EXPECT_EQ(modRegistry::ReadText(ini_, "Key 01", "Select", "default"), "");
  EXPECT_EQ(modRegistry::ReadText(ini_, "Key 01", "Modifier", "0"), "0") << "names compare with case on read";
  EXPECT_EQ(modRegistry::ReadText(ini_, "key 01", "AppParms", ""), "--config=x.ini") << "sections without";
  EXPECT_EQ(modRegistry::ReadText(ini_, "Key 02", "AppParms", "default"), "default");
}

TEST_F(ModRegistryTest, IniWritesReplaceInPlaceAndAppendAtTheEnd) {
  test_files::WriteFile(ini_, "[Quillon]\r\nConfig0=Old\r\nUseHook=0\r\n\r\n[Key 01]\r\nAction=2\r\n");
  EXPECT_EQ(modRegistry::WriteText(ini_, "Quillon", "CONFIG0", "New"), 0);
  EXPECT_EQ(modRegistry::WriteText(ini_, "quillon", "PollPerSecond", "16"), 0);
  EXPECT_EQ(modRegistry::WriteText(ini_, "Joy 01", "Buttons", "3"), 0);
  std::string quillon, joy;
  EXPECT_EQ(modRegistry::ListValues(ini_, "Quillon", &quillon), 0);
  EXPECT_EQ(quillon, Text("Config0=New") + '\0' + "UseHook=0" + '\0' + "PollPerSecond=16" + '\0' + '\0');
  EXPECT_EQ(modRegistry::ListValues(ini_, "Joy 01", &joy), 0);
  EXPECT_EQ(joy, Text("Buttons=3") + '\0' + '\0');
  const std::string content = test_files::ReadFile(ini_);
  EXPECT_LT(content.find("[Key 01]"), content.find("[Joy 01]")) << "a new section goes to the end";
}

TEST_F(ModRegistryTest, IniSectionsWithoutLinesListAsMinusOne) {
  test_files::WriteFile(ini_, "[Joy 02]\r\n[Joy 03]\r\nButtons=1\r\n");
  std::string entries;
  EXPECT_EQ(modRegistry::ListValues(ini_, "Joy 02", &entries), -1);
  EXPECT_EQ(modRegistry::ListValues(ini_, "Joy 09", &entries), -1);
  EXPECT_EQ(modRegistry::ListValues(ini_, "Joy 03", &entries), 0);
}

TEST_F(ModRegistryTest, IniFilesHoldTextOnly) {
  test_files::WriteFile(ini_, "[Quillon]\r\nUseHook=1\r\n");
  StoredValue value;
  value.number = 7;
  EXPECT_EQ(modRegistry::WriteValue(ini_, "Quillon", "UseHook", "D", value), 99);
  EXPECT_EQ(modRegistry::WriteValue(ini_, "Quillon", "UseHook", "B", value), 99);
  EXPECT_EQ(modRegistry::ReadValue(ini_, "Quillon", "UseHook", "D", &value), 99);
  EXPECT_EQ(value.number, 7) << "the default stays";
  std::string names;
  EXPECT_NE(modRegistry::DeleteKey(ini_, "Quillon", "UseHook"), 0);
  EXPECT_NE(modRegistry::ListSubkeys(ini_, "Quillon", &names), 0);
}

TEST_F(ModRegistryTest, IniDeleteValueLeavesTheNameWithAnEmptyValue) {
  test_files::WriteFile(ini_, "[Quillon]\r\nSwitchDevice=Pad\r\n");
  EXPECT_EQ(modRegistry::DeleteValue(ini_, "Quillon", "SwitchDevice"), 0);
  EXPECT_EQ(modRegistry::ReadText(ini_, "Quillon", "SwitchDevice", "default"), "");
}

TEST_F(ModRegistryTest, IniTextsWithLineBreaksAreRefusedAndTheFileStaysAsItWas) {
  test_files::WriteFile(ini_, "[Quillon]\r\nUseHook=0\r\n");
  const std::string before = test_files::ReadFile(ini_);
  EXPECT_NE(modRegistry::WriteText(ini_, "Quillon", "Config0", "x\r\n[Key 01]\r\nAction=6"), 0);
  EXPECT_NE(modRegistry::WriteText(ini_, "Quillon", "Con\nfig0", "x"), 0);
  EXPECT_EQ(test_files::ReadFile(ini_), before);
}

TEST_F(ModRegistryTest, OnlyTheFirst8192CharactersOfASectionAreRead) {
  std::string content = "[Key 01]\r\n";
  for (int i = 0; i < 100; ++i) content += "Filler" + std::to_string(100 + i) + "=" + std::string(90, 'f') + "\r\n";
  content += "AppName=late.exe\r\n";
  test_files::WriteFile(ini_, content);
  EXPECT_EQ(modRegistry::ReadText(ini_, "Key 01", "Filler100", ""), std::string(90, 'f'));
  EXPECT_EQ(modRegistry::ReadText(ini_, "Key 01", "AppName", "none"), "none");
  // The line cut at the buffer's end is not delivered half.
  for (int i = 0; i < 100; ++i) {
    std::string value = modRegistry::ReadText(ini_, "Key 01", "Filler" + std::to_string(100 + i), "none");
    EXPECT_TRUE(value == "none" || value == std::string(90, 'f')) << i << ": " << value.size();
  }
}

}  // namespace
}  // namespace quillon

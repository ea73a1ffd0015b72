// The settings tree's groups in the registry (in-memory natively, Wine's in
// the windows build) and in export files (the portable profile store
// natively, the system's profile functions in the windows build).
#include <gtest/gtest.h>

#include "configurator/tree_stores.h"
#include "tests/configurator/test_files.h"
#include "tests/kit/test_registry.h"
#if QUILLON_FAKE_REGISTRY
#include "tests/fakes/fake_registry.h"
#endif

namespace quillon {
namespace {

namespace reg = test_registry;
constexpr GroupAddress kMain{Group::Main, 0};
constexpr GroupAddress kKey1{Group::Keyboard, 1};
std::string Text(const char* text) { return text; }

// The value of that name as the store hands it over, or `fallback`.
std::string Read(const TreeStore& store, GroupAddress at, const std::string& name, const std::string& fallback) {
  StoredGroup values;
  store.read(at, &values);
  for (const RawValue& value : values)
    if (value.name == name) return value.bytes;
  return fallback;
}
std::vector<uint8_t> RawBytes(const std::string& path, const std::string& name) {
  uint32_t type = 0;
  std::vector<uint8_t> bytes;
  reg::ReadBytes(path, name, &type, &bytes);
  return bytes;
}

class TreeStoresTest : public ::testing::Test {
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
  std::string folder_;
  std::string ini_;
};

TEST_F(TreeStoresTest, NumbersAreSixteenBitsWidenedWithTheirSign) {
  struct {
    int64_t written;
    std::vector<uint8_t> stored;
  } const cases[] = {
      {2048, {0x00, 0x08, 0, 0}},
      {-1, {0xFF, 0xFF, 0xFF, 0xFF}},
      {32767, {0xFF, 0x7F, 0, 0}},
      {-32768, {0x00, 0x80, 0xFF, 0xFF}},
  };
  TreeValues tree;
  for (const auto& c : cases) {
    tree.main[Field::PollPerSecond].number = c.written;
    EXPECT_EQ(WriteTree(treeStores::RegistryTree(), tree).status, 0);
    EXPECT_EQ(RawBytes(reg::SettingsPath(), "PollPerSecond"), c.stored) << c.written;
  }
  for (int64_t outside : {int64_t(40000), int64_t(32768), int64_t(-32769), int64_t(1) << 40}) {
    tree.main[Field::PollPerSecond].number = outside;
    EXPECT_EQ(WriteTree(treeStores::RegistryTree(), tree).status, 0) << "no error is reported";
    EXPECT_EQ(reg::ReadNumber(reg::SettingsPath(), "PollPerSecond", 0), -32768) << "the old value stays";
  }
}

TEST_F(TreeStoresTest, AKeyIsReadWholeWithItsTextsAsStored) {
  StoredGroup values;
  EXPECT_FALSE(treeStores::RegistryTree().read(kMain, &values)) << "a missing key is no group";
  reg::WriteBytes(reg::SettingsPath(), "NoNul", reg::kString, {'a', 'b'});
  reg::WriteBytes(reg::SettingsPath(), "Long", reg::kString, std::vector<uint8_t>(5000, 'x'));
  EXPECT_EQ(Read(treeStores::RegistryTree(), kMain, "NoNul", ""), "ab");
  EXPECT_EQ(Read(treeStores::RegistryTree(), kMain, "nonul", "<none>"), "<none>") << "the name as stored";
  EXPECT_EQ(Read(treeStores::RegistryTree(), kMain, "Long", ""), std::string(5000, 'x'));
}

TEST_F(TreeStoresTest, TrimmingDeletesOnlyTheListsOwnSubkeysAboveTheCount) {
  for (const char* subkey : {"\\01", "\\02", "\\J01", "\\Notes"}) reg::CreateKey(reg::SettingsPath() + subkey);
  EXPECT_EQ(treeStores::RegistryTree().trim(Group::Keyboard, 1), 0);
  EXPECT_TRUE(reg::KeyExists(reg::KeyActionPath(1)));
  EXPECT_FALSE(reg::KeyExists(reg::KeyActionPath(2)));
  EXPECT_TRUE(reg::KeyExists(reg::ButtonActionPath(1)));
  EXPECT_TRUE(reg::KeyExists(reg::SettingsPath() + "\\Notes"));
  reg::WriteNumber(reg::KeyActionPath(2) + "\\deeper", "X", 1);
  EXPECT_NE(treeStores::RegistryTree().trim(Group::Keyboard, 1), 0) << "never a whole subtree";
  EXPECT_EQ(reg::ReadNumber(reg::KeyActionPath(2) + "\\deeper", "X", 0), 1);
}

// --- Export files ------------------------------------------------------------

TEST_F(TreeStoresTest, IniValuesKeepEveryEqualsSignAfterTheFirst) {
  test_files::WriteFile(ini_,
                        "[Key 01]\r\nAppParms=--config=x.ini\r\nSelect=\r\nmodifier=4\r\nKeySeq=a=b=c\r\n"
                        "NoEquals\r\n");
  const TreeStore file = treeStores::ExportFileTree(ini_);
  EXPECT_EQ(Read(file, kKey1, "AppParms", "default"), Text("--config=x.ini") + '\0');
  EXPECT_EQ(Read(file, kKey1, "KeySeq", "default"), Text("a=b=c") + '\0');
  EXPECT_EQ(Read(file, kKey1, "Select", "default"), Text("") + '\0') << "present and empty";
  EXPECT_EQ(Read(file, kKey1, "Modifier", "0"), "0") << "names compare with case on read";
  EXPECT_EQ(Read(file, {Group::Keyboard, 2}, "AppParms", "default"), "default");
}

TEST_F(TreeStoresTest, IniWritesReplaceInPlaceAndAppendAtTheEnd) {
  test_files::WriteFile(ini_, "[Quillon]\r\nConfig0=Old\r\nUseHook=0\r\n\r\n[Key 01]\r\nAction=2\r\n");
  const TreeStore file = treeStores::ExportFileTree(ini_);
  EXPECT_EQ(file.write(kMain, {{"CONFIG0", StoredType::Text, Text("New") + '\0'}}, {}), 0);
  EXPECT_EQ(file.write({Group::Controller, 1}, {{"Buttons", StoredType::Text, Text("3") + '\0'}}, {}), 0);
  EXPECT_EQ(Read(file, kMain, "Config0", ""), Text("New") + '\0');
  EXPECT_EQ(Read(file, kMain, "UseHook", ""), Text("0") + '\0');
  const std::string content = test_files::ReadFile(ini_);
  EXPECT_LT(content.find("[Key 01]"), content.find("[Joy 01]")) << "a new section goes to the end";
}

TEST_F(TreeStoresTest, IniSectionsWithoutLinesDoNotExist) {
  test_files::WriteFile(ini_, "[Joy 02]\r\n[Joy 03]\r\nButtons=1\r\n");
  StoredGroup values;
  const TreeStore file = treeStores::ExportFileTree(ini_);
  EXPECT_FALSE(file.read({Group::Controller, 2}, &values));
  EXPECT_FALSE(file.read({Group::Controller, 9}, &values));
  EXPECT_TRUE(file.read({Group::Controller, 3}, &values));
}

TEST_F(TreeStoresTest, IniTextsWithLineBreaksAreRefusedAndTheFileStaysAsItWas) {
  test_files::WriteFile(ini_, "[Quillon]\r\nUseHook=0\r\n");
  const std::string before = test_files::ReadFile(ini_);
  const TreeStore file = treeStores::ExportFileTree(ini_);
  EXPECT_NE(file.write(kMain, {{"Config0", StoredType::Text, Text("x\r\n[Key 01]\r\nAction=6") + '\0'}}, {}), 0);
  EXPECT_NE(file.write(kMain, {{"Con\nfig0", StoredType::Text, Text("x") + '\0'}}, {}), 0);
  EXPECT_EQ(test_files::ReadFile(ini_), before);
}

// The profile functions cut a section that does not fit their buffer; the
// lengths around the first buffer's end (8,192 with its two closing NULs)
// and far past it must all come through whole, the last line included.
TEST_F(TreeStoresTest, SectionsOfAnyLengthAreReadWhole) {
  const size_t lengths[] = {100, 8189, 8190, 8191, 8192, 16382, 40000};
  for (size_t length : lengths) {
    SCOPED_TRACE(length);
    // "Filler=" and the fill, then "Last=late.exe": each line and its NUL
    // make up the list that the profile function hands out.
    const std::string last = "Last=late.exe";
    const std::string fill(length - (last.size() + 1) - (sizeof("Filler=") - 1) - 1, 'f');
    test_files::WriteFile(ini_, "[Key 01]\r\nFiller=" + fill + "\r\n" + last + "\r\n[Key 02]\r\nLast=next\r\n");
    const TreeStore file = treeStores::ExportFileTree(ini_);
    EXPECT_EQ(Read(file, kKey1, "Filler", "none"), fill + '\0');
    EXPECT_EQ(Read(file, kKey1, "Last", "none"), Text("late.exe") + '\0');
    EXPECT_EQ(Read(file, {Group::Keyboard, 2}, "Last", "none"), Text("next") + '\0');
  }
}

TEST_F(TreeStoresTest, ManyLinesPastTheFirstBufferAreAllRead) {
  std::string content = "[Key 01]\r\n";
  for (int i = 0; i < 300; ++i) content += "Filler" + std::to_string(100 + i) + "=" + std::string(90, 'f') + "\r\n";
  content += "AppName=late.exe\r\n";
  test_files::WriteFile(ini_, content);
  const TreeStore file = treeStores::ExportFileTree(ini_);
  StoredGroup values;
  ASSERT_TRUE(file.read(kKey1, &values));
  EXPECT_EQ(values.size(), 301u);
  EXPECT_EQ(Read(file, kKey1, "Filler399", "none"), std::string(90, 'f') + '\0');
  EXPECT_EQ(Read(file, kKey1, "AppName", "none"), Text("late.exe") + '\0');
}

}  // namespace
}  // namespace quillon

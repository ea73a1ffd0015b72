// Loading the settings tree. Natively the tree lives in the in-memory
// registry; in the windows build the same cases run against Wine's registry.
#include <gtest/gtest.h>

#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_platform.h"
#include "tests/kit/test_registry.h"
#if QUILLON_FAKE_REGISTRY
#include "tests/fakes/fake_registry.h"
#endif

namespace quillon {
namespace {

// The runtime under test, made afresh by every case.
Runtime rt;

namespace reg = test_registry;
using fake_platform::CallsStartingWith;

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt = Runtime{};
    fake_platform::Reset();
#if QUILLON_FAKE_REGISTRY
    fake_registry::Reset();
#endif
    reg::DeleteSettingsTree();
  }
  void TearDown() override {
    UnloadSettings(rt);
    reg::DeleteSettingsTree();
#if QUILLON_FAKE_REGISTRY
    EXPECT_EQ(fake_registry::OpenHandleCount(), 0) << "a registry key was left open";
#endif
  }
  static void KeyEntry(int number, uint32_t modifier, uint32_t virtualKey) {
    reg::WriteNumber(reg::KeyActionPath(number), "Modifier", modifier);
    reg::WriteNumber(reg::KeyActionPath(number), "VirtualKey", virtualKey);
  }
  static void Globals(uint32_t useKeyboard, uint32_t useHook) {
    reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", useKeyboard);
    reg::WriteNumber(reg::SettingsPath(), "UseHook", useHook);
  }
};

TEST_F(SettingsStoreTest, NoTreeGivesTheRuntimeDefaults) {
  LoadSettings(rt);
  const RuntimeSettings& s = rt.settings;
  EXPECT_EQ(s.programDirectory, "C:\\Quillon\\");
  EXPECT_EQ(s.configCount, 0u);
  EXPECT_EQ(s.changeTimeout, 1000u);
  EXPECT_EQ(s.applyOnStart, 1u);
  EXPECT_EQ(s.useKeyboard, 0u);
  EXPECT_EQ(s.useJoystick, 0u);
  EXPECT_EQ(s.ultraMapPath, "C:\\Quillon\\\\UltraMap.exe");
  EXPECT_EQ(s.ultraMapOptions, "");
  EXPECT_EQ(s.keyCount, 0u);
  EXPECT_EQ(s.buttonCount, 0u);
  EXPECT_FALSE(rt.map.firstRequestPending);
  // With no map at all there is nothing to hand over and nothing is armed.
  EXPECT_TRUE(fake_platform::Calls().empty());
}

// Installed beside the configurator in the program folder, the runtime reads
// the user's files from the configurator's data folder; on its own it keeps
// them beside it.
TEST_F(SettingsStoreTest, MapsAndTheMapperDefaultComeFromTheConfiguratorsDataFolderWhenItLiesBeside) {
  const struct {
    const char* label;
    bool configuratorBeside;
    const char* commonAppData;
    const char* folder;
  } rows[] = {
      {"installed", true, "D:\\All Users", "D:\\All Users\\KWP\\QuillonConfig\\"},
      {"alone", false, "D:\\All Users", "C:\\Quillon\\"},
      {"no common folder", true, "", "C:\\Quillon\\"},
  };
  for (const auto& row : rows) {
    fake_platform::Reset();
    fake_platform::SetCommonAppDataFolder(row.commonAppData);
    if (row.configuratorBeside) fake_platform::SetExistingFiles({"C:\\Quillon\\QuillonConfig.exe"});
    LoadSettings(rt);
    EXPECT_EQ(rt.settings.programDirectory, row.folder) << row.label;
    EXPECT_EQ(rt.settings.ultraMapPath, std::string(row.folder) + "\\UltraMap.exe") << row.label;
    UnloadSettings(rt);
  }
}

TEST_F(SettingsStoreTest, EmptyAndMissingConfigSlotsCloseUp) {
  reg::WriteText(reg::SettingsPath(), "Config0", "");
  reg::WriteText(reg::SettingsPath(), "Config1", "A");
  reg::WriteText(reg::SettingsPath(), "Config3", "B");
  reg::WriteText(reg::SettingsPath(), "Config9", "C");
  LoadSettings(rt);
  ASSERT_EQ(rt.settings.configCount, 3u);
  EXPECT_EQ(rt.settings.configNames[0], "A");
  EXPECT_EQ(rt.settings.configNames[1], "B");
  EXPECT_EQ(rt.settings.configNames[2], "C");
}

TEST_F(SettingsStoreTest, ActionListsEndAtTheFirstMissingSubkey) {
  for (int n : {1, 2, 4}) KeyEntry(n, 0, 0x70 + n);
  for (int n : {1, 3}) reg::WriteNumber(reg::ButtonActionPath(n), "Buttons", 1);
  LoadSettings(rt);
  EXPECT_EQ(rt.settings.keyCount, 2u);
  EXPECT_EQ(rt.settings.keyActions[2].virtualKey, 0x72u);
  EXPECT_EQ(rt.settings.buttonCount, 1u);
}

TEST_F(SettingsStoreTest, NinetyNineEntriesLoadAndAHundredthIsNeverRead) {
  for (int n = 1; n <= 100; ++n) {
    KeyEntry(n, 0, 0x41);
    reg::WriteNumber(reg::ButtonActionPath(n), "Buttons", uint32_t(n));
  }
  reg::WriteNumber(reg::SettingsPath() + "\\100", "VirtualKey", 0x42);
  LoadSettings(rt);
  EXPECT_EQ(rt.settings.keyCount, 99u);
  EXPECT_EQ(rt.settings.buttonCount, 99u);
  EXPECT_EQ(rt.settings.buttonActions[98].buttons, 99u);
}

TEST_F(SettingsStoreTest, ActionFieldsAreReadWithTheirDefaults) {
  const std::string key = reg::KeyActionPath(1);
  reg::WriteNumber(key, "Modifier", 6);
  reg::WriteNumber(key, "VirtualKey", 0x74);
  reg::WriteNumber(key, "SendType", 1);
  reg::WriteNumber(key, "Action", 6);
  reg::WriteText(key, "Select", "Notepad*|@Edit");
  reg::WriteText(key, "KeySeq", "");
  reg::WriteText(key, "AppName", "C:\\Games\\mame.exe");
  const std::string joy = reg::ButtonActionPath(1);
  reg::WriteNumber(joy, "Buttons", 3);
  reg::WriteText(joy, "KeySeq", "%{F4}");
  LoadSettings(rt);
  const KeyAction& k = rt.settings.keyActions[1];
  EXPECT_EQ(k.modifier, 6u);
  EXPECT_EQ(k.virtualKey, 0x74u);
  EXPECT_EQ(k.sendType, 1u);
  EXPECT_EQ(k.action, 6u);
  EXPECT_EQ(k.select, "Notepad*|@Edit");
  EXPECT_TRUE(k.keySeq.empty()) << "an empty KeySeq types nothing";
  EXPECT_EQ(k.appName, "C:\\Games\\mame.exe");
  EXPECT_EQ(k.appParms, "");
  const ButtonAction& b = rt.settings.buttonActions[0];
  EXPECT_EQ(b.buttons, 3u);
  EXPECT_EQ(b.sendType, 0u);
  EXPECT_EQ(b.action, 0u);
  EXPECT_EQ(b.select, "");
  EXPECT_EQ(b.keySeq, "%{F4}");
}

// Registry values of any type and length: texts must fit 1023 characters;
// numbers are up to four little-endian bytes, or the number a text spells,
// and a number where a text belongs is missing.
struct RawValueCase {
  const char* label;
  uint32_t type;
  std::vector<uint8_t> bytes;
  const char* expectedSelect;  // for the text case; nullptr: not checked
  int64_t expectedAction;      // for the number case; -1: not checked
};

std::vector<uint8_t> Repeated(size_t count, uint8_t byte, bool terminated) {
  std::vector<uint8_t> bytes(count, byte);
  if (terminated) bytes.push_back(0);
  return bytes;
}

class RawValueTest : public SettingsStoreTest, public ::testing::WithParamInterface<RawValueCase> {};

TEST_P(RawValueTest, IsReadAsDefined) {
  const RawValueCase& c = GetParam();
  KeyEntry(1, 0, 0x41);
  reg::WriteBytes(reg::KeyActionPath(1), c.expectedSelect ? "Select" : "Action", c.type, c.bytes);
  LoadSettings(rt);
  const KeyAction& entry = rt.settings.keyActions[1];
  if (c.expectedSelect) {
    EXPECT_EQ(entry.select, c.expectedSelect);
  }
  if (c.expectedAction >= 0) {
    EXPECT_EQ(entry.action, uint32_t(c.expectedAction));
  }
}

const std::string k1023(1023, 'x');

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Values, RawValueTest,
    ::testing::Values(
        RawValueCase{"text1023", reg::kString, Repeated(1023, 'x', true), k1023.c_str(), -1},
        RawValueCase{"text1024", reg::kString, Repeated(1024, 'x', true), "", -1},
        RawValueCase{"unterminated1023", reg::kBinary, Repeated(1023, 'x', false), k1023.c_str(), -1},
        RawValueCase{"unterminated1024", reg::kBinary, Repeated(1024, 'x', false), "", -1},
        RawValueCase{"huge", reg::kString, Repeated(70000, 'y', true), "", -1},
        RawValueCase{"embeddedZero", reg::kString, {'a', 0, 'b', 0}, "a", -1},
        RawValueCase{"noBytes", reg::kString, {}, "", -1},
        RawValueCase{"dwordAsText", reg::kDword, {'1', '2', 0, 0}, "", -1},
        RawValueCase{"numberAsBinary", reg::kBinary, {6, 0, 0, 0}, nullptr, 6},
        RawValueCase{"shortNumber", reg::kBinary, {0x34, 0x12}, nullptr, 0x1234},
        RawValueCase{"numberAsText", reg::kString, {'1', '1', '2', 0}, nullptr, 112},
        RawValueCase{"textThatIsNoNumber", reg::kString, {'F', '1', 0}, nullptr, 0},
        RawValueCase{"eightByteNumber", 11, {1, 0, 0, 0, 0, 0, 0, 0}, nullptr, 0},
        RawValueCase{"emptyNumber", reg::kDword, {}, nullptr, 0},
        RawValueCase{"largestNumber", reg::kDword, {0xff, 0xff, 0xff, 0xff}, nullptr, 0xffffffff}),
    [](const ::testing::TestParamInfo<RawValueCase>& info) { return std::string(info.param.label); });
// clang-format on

TEST_F(SettingsStoreTest, UltraMapPathEmptyStringIsKeptButNoBytesTakesTheDefault) {
  reg::WriteBytes(reg::SettingsPath(), "UltraMapPath", reg::kString, {0});
  LoadSettings(rt);
  EXPECT_EQ(rt.settings.ultraMapPath, "");
  UnloadSettings(rt);
  reg::WriteBytes(reg::SettingsPath(), "UltraMapPath", reg::kString, {});
  LoadSettings(rt);
  EXPECT_EQ(rt.settings.ultraMapPath, "C:\\Quillon\\\\UltraMap.exe");
}

TEST_F(SettingsStoreTest, HotKeyModeRegistersEveryValidKeyAndUnloadReleasesAllIds) {
  Globals(1, 0);
  KeyEntry(1, 2, 0x74);
  KeyEntry(2, 4, 0x74);
  KeyEntry(3, 0, 0);                                     // no key: never armed
  KeyEntry(4, 0, 256);                                   // outside the key range: never armed
  reg::WriteNumber(reg::KeyActionPath(5), "Action", 0);  // VirtualKey missing
  LoadSettings(rt);
  EXPECT_EQ(CallsStartingWith("RegisterHotKey"),
            (std::vector<std::string>{"RegisterHotKey 100 2 116", "RegisterHotKey 101 4 116"}));
  EXPECT_TRUE(CallsStartingWith("InstallHook").empty());
  fake_platform::ClearCalls();
  UnloadSettings(rt);
  EXPECT_EQ(CallsStartingWith("UnregisterHotKey").size(), 5u);
  EXPECT_TRUE(fake_platform::RegisteredHotKeys().empty());
}

TEST_F(SettingsStoreTest, HookModeIndexesKeysAndTheLaterEntryWins) {
  Globals(1, 1);
  KeyEntry(1, 0, 0x41);
  KeyEntry(2, 0, 0x74);
  KeyEntry(3, 1, 0x74);
  KeyEntry(4, 0, 0);
  KeyEntry(5, 0, 0x100);
  KeyEntry(6, 0, 0xFFFFFFFF);
  LoadSettings(rt);
  EXPECT_EQ(rt.capture.keyIndex[0x41], 1);
  EXPECT_EQ(rt.capture.keyIndex[0x74], 3);
  EXPECT_EQ(rt.capture.keyIndex[0], 0) << "VirtualKey 0 must not be armed";
  EXPECT_EQ(rt.capture.keyIndex[0xFF], 0);
  EXPECT_TRUE(fake_platform::HookInstalled());
  EXPECT_TRUE(CallsStartingWith("RegisterHotKey").empty());
  UnloadSettings(rt);
  EXPECT_FALSE(fake_platform::HookInstalled());
}

struct CaptureCase {
  const char* label;
  uint32_t useKeyboard, useHook;
  int entries;
  bool hook;
  size_t hotKeys;
};

class CaptureArmingTest : public SettingsStoreTest, public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(CaptureArmingTest, ArmsOnlyWhatTheSwitchesAsk) {
  const CaptureCase& c = GetParam();
  Globals(c.useKeyboard, c.useHook);
  for (int n = 1; n <= c.entries; ++n) KeyEntry(n, 0, 0x70 + n);
  LoadSettings(rt);
  EXPECT_EQ(fake_platform::HookInstalled(), c.hook);
  EXPECT_EQ(fake_platform::RegisteredHotKeys().size(), c.hotKeys);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CaptureArmingTest,
    ::testing::Values(CaptureCase{"keyboardOff", 0, 0, 2, false, 0},
                      CaptureCase{"keyboardOffHookOn", 0, 1, 2, false, 0}, CaptureCase{"hotKeys", 1, 0, 2, false, 2},
                      CaptureCase{"hook", 1, 1, 2, true, 0}, CaptureCase{"hookWithoutEntries", 1, 1, 0, false, 0},
                      CaptureCase{"anyNonZeroIsOn", 7, 7, 1, true, 0}),
    [](const ::testing::TestParamInfo<CaptureCase>& info) { return std::string(info.param.label); });

TEST_F(SettingsStoreTest, ControllerPollingStartsAtTheConfiguredRate) {
  struct {
    bool present;
    uint32_t perSecond;
    const char* timer;
  } cases[] = {{true, 16, "StartTimer 2 62"},  {true, 0, "StartTimer 2 62"},   {false, 0, "StartTimer 2 62"},
               {true, 1, "StartTimer 2 1000"}, {true, 1000, "StartTimer 2 1"}, {true, 5000, "StartTimer 2 0"}};
  for (const auto& c : cases) {
    reg::DeleteSettingsTree();
    fake_platform::Reset();
    reg::WriteNumber(reg::SettingsPath(), "UseJoystick", 1);
    if (c.present) reg::WriteNumber(reg::SettingsPath(), "PollPerSecond", c.perSecond);
    LoadSettings(rt);
    EXPECT_EQ(CallsStartingWith("StartTimer 2"), std::vector<std::string>{c.timer}) << c.perSecond;
    UnloadSettings(rt);
    EXPECT_EQ(CallsStartingWith("StopTimer 2").size(), 1u);
  }
}

TEST_F(SettingsStoreTest, LoadHandsTheDefaultMapOverOnlyWhenItNamesAMap) {
  struct {
    int configs;
    bool defaultPresent;
    uint32_t defaultConfig;
    uint32_t applyOnStart;
    const char* expected;  // nullptr: nothing handed over
  } cases[] = {
      {3, false, 0, 1, "\"C:\\Quillon\\Map1.ugc\""},
      {3, true, 2, 1, "\"C:\\Quillon\\Map3.ugc\""},
      {3, true, 3, 1, nullptr},
      {3, true, 0xFFFFFFFF, 1, nullptr},
      {0, true, 0, 1, nullptr},
      {3, true, 1, 0, nullptr},
  };
  for (const auto& c : cases) {
    reg::DeleteSettingsTree();
    fake_platform::Reset();
    for (int i = 0; i < c.configs; ++i)
      reg::WriteText(reg::SettingsPath(), "Config" + std::to_string(i), "Map" + std::to_string(i + 1));
    if (c.defaultPresent) reg::WriteNumber(reg::SettingsPath(), "DefaultConfig", c.defaultConfig);
    reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", c.applyOnStart);
    reg::WriteText(reg::SettingsPath(), "UltraMapPath", "C:\\UM\\UltraMap.exe");
    reg::WriteText(reg::SettingsPath(), "UltraMapOptions", "%s");
    LoadSettings(rt);
    std::vector<std::string> expected;
    if (c.expected) expected.push_back(std::string("StartProgram C:\\UM\\UltraMap.exe| ") + c.expected);
    EXPECT_EQ(CallsStartingWith("StartProgram"), expected) << c.configs << " maps, default " << c.defaultConfig;
    EXPECT_EQ(rt.map.currentConfig, c.defaultPresent ? c.defaultConfig : 0u);
    EXPECT_EQ(rt.map.firstRequestPending, c.applyOnStart == 0);
    EXPECT_TRUE(CallsStartingWith("PlaySound").empty()) << "a load hands over without a sound";
    UnloadSettings(rt);
  }
}

TEST_F(SettingsStoreTest, ReloadRearmsFromTheChangedTreeAndFreesTheOldTexts) {
  Globals(1, 0);
  KeyEntry(1, 0, 0x41);
  KeyEntry(2, 0, 0x42);
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", "Ultrastick 360");
  LoadSettings(rt);
  EXPECT_EQ(fake_platform::RegisteredHotKeys().size(), 2u);
  reg::DeleteSettingsTree();
  Globals(1, 1);
  KeyEntry(1, 0, 0x43);
  UnloadSettings(rt);
  EXPECT_TRUE(fake_platform::RegisteredHotKeys().empty());
  EXPECT_EQ(rt.settings.keyCount, 0u);
  EXPECT_TRUE(rt.settings.keyActions[2].select.empty());
  EXPECT_TRUE(rt.settings.switchDevice.empty());
  LoadSettings(rt);
  EXPECT_TRUE(fake_platform::HookInstalled());
  EXPECT_EQ(rt.capture.keyIndex[0x43], 1);
  EXPECT_EQ(rt.capture.keyIndex[0x41], 0);
  EXPECT_EQ(rt.settings.switchDevice, "");
}

#if QUILLON_FAKE_REGISTRY
TEST_F(SettingsStoreTest, AnUnreadableMainKeyLeavesEveryValueAtItsDefault) {
  reg::WriteNumber(reg::SettingsPath(), "ChangeTimeout", 50);
  KeyEntry(1, 0, 0x41);
  fake_registry::SetOpenFails(true);
  LoadSettings(rt);
  EXPECT_EQ(rt.settings.changeTimeout, 1000u);
  EXPECT_EQ(rt.settings.keyCount, 0u);
}
#endif

}  // namespace
}  // namespace quillon

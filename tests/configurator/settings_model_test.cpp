// The configurator's model: loading with factory defaults, collecting the
// window's fields, writing the tree, Apply and Reload.
#include <gtest/gtest.h>

#include <optional>

#include "configurator/apply_command.h"
#include "configurator/settings_model.h"
#include "tests/configurator/test_files.h"
#include "tests/fakes/fake_configurator_shell.h"
#include "tests/fakes/fake_configurator_messages.h"
#include "tests/kit/test_registry.h"
#if QUILLON_FAKE_REGISTRY
#include "tests/fakes/fake_registry.h"
#endif

namespace quillon {
namespace {

// The model and session that this file's tests hand to the code.
ConfiguratorSettings g_model;
ConfiguratorSession g_session;

namespace reg = test_registry;
namespace shell = fake_configurator_shell;
namespace boxes = fake_configurator_messages;

int64_t Stored(const std::string& path, const char* name, int64_t fallback = -999) {
  return reg::ReadNumber(path, name, fallback);
}
std::string StoredText(const std::string& path, const char* name) { return reg::ReadText(path, name, "<missing>"); }
bool KeyPresent(const std::string& path) { return reg::KeyExists(path); }

class SettingsModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::Reset();
    boxes::Reset();
    reg::DeleteSettingsTree();
    g_model = ConfiguratorSettings{};
    g_session = ConfiguratorSession{};
    FillDefaultConfigNames(g_session);
    g_session.dataFolder = "C:\\ProgramData\\KWP\\QuillonConfig";
    shell::SetSpecialFolder(42, true, "C:\\Program Files (x86)");
  }
  void TearDown() override {
    reg::DeleteSettingsTree();
#if QUILLON_FAKE_REGISTRY
    EXPECT_EQ(fake_registry::OpenHandleCount(), 0) << "a registry key was left open";
#endif
  }
  static void KeyEntry(int number, uint32_t modifier, uint32_t virtualKey) {
    reg::WriteNumber(reg::KeyActionPath(number), "Modifier", modifier);
    reg::WriteNumber(reg::KeyActionPath(number), "VirtualKey", virtualKey);
  }
  // Fields as a user leaves them after loading a typical configuration.
  static WindowFields TypicalFields() {
    WindowFields f;
    f.activeConfigs = {"Analog", "8-Way"};
    f[Field::ChangeTimeout] = "2048";
    f[Field::PollPerSecond] = "16";
    f[Field::UseHook] = "0";
    f[Field::UseKeyboard] = "1";
    f[Field::ApplyOnStart] = "1";
    f[Field::UltraMapPath] = "C:\\U\\UltraMap.exe";
    f[Field::UltraMapOptions] = "%s";
    return f;
  }
  const std::string main_ = reg::SettingsPath();
};

TEST_F(SettingsModelTest, FirstStartWritesAndLoadsTheFactoryDefaults) {
  LoadFromRegistry(g_model, g_session);
  const ConfiguratorSettings& m = g_model;
  EXPECT_EQ(m.configNames[0], "Analog");
  EXPECT_EQ(m.configNames[5], "2-Way, Up & Down");
  EXPECT_EQ(m.configNames[6], "");
  EXPECT_EQ(m.changeTimeout, 2048);
  EXPECT_EQ(m.pollPerSecond, 16);
  EXPECT_EQ(m.useKeyboard, 1);
  EXPECT_EQ(m.useJoystick, 0);
  EXPECT_EQ(m.useHook, 0);
  EXPECT_EQ(m.applyOnStart, 1);
  EXPECT_EQ(m.ultraMapOptions, "%s");
  EXPECT_EQ(m.ultraMapPath, "C:\\Program Files (x86)\\UltraMap\\UltraMap.exe");
  ASSERT_EQ(m.keyCount, 3);
  EXPECT_EQ(m.keyActions[0].virtualKey, 106);
  EXPECT_EQ(m.keyActions[0].action, NextMap);
  EXPECT_EQ(m.keyActions[1].virtualKey, 107);
  EXPECT_EQ(m.keyActions[1].action, ShowSwitcher);
  EXPECT_EQ(m.keyActions[2].virtualKey, 109);
  EXPECT_EQ(m.keyActions[2].action, RunApplication);
  EXPECT_EQ(m.keyActions[2].appName, "C:\\Windows\\system32\\rundll32.exe");
  EXPECT_EQ(m.keyActions[2].appParms, "shell32.dll,Control_RunDLL joy.cpl");
  EXPECT_EQ(m.buttonCount, 0);
  EXPECT_EQ(StoredText(main_, "SwitchDevice"), "<missing>");
}

TEST_F(SettingsModelTest, TheMappingProgramFolderFallsBackStepByStep) {
  shell::SetSpecialFolder(42, false, "");
  shell::SetSpecialFolder(38, true, "C:\\Program Files");
  WriteDefaultSettings(g_session);
  EXPECT_EQ(StoredText(main_, "UltraMapPath"), "C:\\Program Files\\UltraMap\\UltraMap.exe");
  shell::SetSpecialFolder(42, true, "");
  shell::SetSpecialFolder(38, false, "");
  WriteDefaultSettings(g_session);
  EXPECT_EQ(StoredText(main_, "UltraMapPath"), "C:\\ProgramData\\KWP\\QuillonConfig\\UltraMap\\UltraMap.exe");
}

TEST_F(SettingsModelTest, AnExistingEmptyMainKeyIsNotReset) {
  reg::CreateKey(main_);
  LoadFromRegistry(g_model, g_session);
  EXPECT_EQ(g_model.keyCount, 0);
  EXPECT_EQ(g_model.configNames[0], "Analog") << "values load with their defaults";
  EXPECT_EQ(g_model.ultraMapPath, "C:\\ProgramData\\KWP\\QuillonConfig\\UltraMap.exe");
  EXPECT_EQ(StoredText(main_, "Config0"), "<missing>") << "nothing was written";
}

TEST_F(SettingsModelTest, HolesInTheActionListsCloseUpAndApplyRenumbers) {
  reg::WriteText(main_, "Config0", "Fly");
  for (int n : {1, 2, 4}) KeyEntry(n, 0, 0x70 + n);
  reg::WriteNumber(reg::KeyActionPath(3), "VirtualKey", 0x73);  // no Modifier: not an entry
  reg::WriteNumber(reg::ButtonActionPath(2), "Buttons", 3);
  LoadFromRegistry(g_model, g_session);
  ASSERT_EQ(g_model.keyCount, 3);
  EXPECT_EQ(g_model.keyActions[2].virtualKey, 0x74);
  ASSERT_EQ(g_model.buttonCount, 1);
  EXPECT_EQ(g_model.buttonActions[0].buttons, 3);
  ApplyToRegistry(g_model);
  EXPECT_EQ(Stored(reg::KeyActionPath(3), "VirtualKey"), 0x74);
  EXPECT_FALSE(KeyPresent(reg::KeyActionPath(4)));
  EXPECT_EQ(Stored(reg::ButtonActionPath(1), "Buttons"), 3);
  EXPECT_FALSE(KeyPresent(reg::ButtonActionPath(2)));
}

// The runtime takes a missing or unfit VirtualKey or Action for 0 (no key,
// "Stuff keys"); the configurator must read it the same, or one Apply
// stores a key the user never chose.
TEST_F(SettingsModelTest, AKeyEntryWithoutItsKeyOrActionStaysWithoutThemThroughApply) {
  const struct {
    const char* what;
    std::optional<uint32_t> virtualKey, action;
  } rows[] = {
      {"both missing", std::nullopt, std::nullopt},
      {"both too wide for their field", 70000, 0x12345},
      {"a key of 0, the action missing", 0, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    reg::DeleteSettingsTree();
    g_model = ConfiguratorSettings{};
    reg::WriteText(main_, "Config0", "Fly");
    reg::WriteNumber(reg::KeyActionPath(1), "Modifier", 2);
    if (row.virtualKey) reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", *row.virtualKey);
    if (row.action) reg::WriteNumber(reg::KeyActionPath(1), "Action", *row.action);
    LoadFromRegistry(g_model, g_session);
    ASSERT_EQ(g_model.keyCount, 1);
    EXPECT_EQ(g_model.keyActions[0].virtualKey, 0);
    EXPECT_EQ(g_model.keyActions[0].action, StuffKeys);
    ASSERT_TRUE(ApplyToRegistry(g_model).what.empty());
    EXPECT_EQ(Stored(reg::KeyActionPath(1), "VirtualKey"), 0) << "never Enter";
    EXPECT_EQ(Stored(reg::KeyActionPath(1), "Action", 0), StuffKeys) << "never Next map";
  }
}

// The window's start leaves the entries unread; a write before they were
// read must not take the empty lists for the user's.
TEST_F(SettingsModelTest, EntriesLeftForLaterAreReadBeforeTheTreeIsWritten) {
  reg::WriteText(main_, "Config0", "Fly");
  KeyEntry(1, 0, 0x71);
  reg::WriteNumber(reg::ButtonActionPath(1), "Buttons", 3);
  LoadFromRegistry(g_model, g_session, EntriesRead::Later);
  EXPECT_EQ(g_model.configNames[0], "Fly");
  EXPECT_EQ(g_model.keyCount, 0);
  ASSERT_TRUE(ApplyToRegistry(g_model).what.empty());
  EXPECT_EQ(g_model.keyCount, 1);
  EXPECT_EQ(Stored(reg::KeyActionPath(1), "VirtualKey"), 0x71);
  EXPECT_EQ(Stored(reg::ButtonActionPath(1), "Buttons"), 3);
}

TEST_F(SettingsModelTest, StoredNumbersThatDoNotFitTheirFieldKeepTheDefault) {
  reg::WriteText(main_, "Config0", "Fly");
  reg::WriteNumber(main_, "PollPerSecond", 70000);
  reg::WriteNumber(main_, "ChangeTimeout", 70000);
  KeyEntry(1, 0, 70000);
  reg::WriteNumber(reg::KeyActionPath(1), "Action", uint32_t(-1));
  LoadFromRegistry(g_model, g_session);
  EXPECT_EQ(g_model.pollPerSecond, 16);
  EXPECT_EQ(g_model.changeTimeout, 70000) << "the change timeout is a 32-bit field";
  ASSERT_EQ(g_model.keyCount, 1);
  EXPECT_EQ(g_model.keyActions[0].virtualKey, 0) << "as the runtime reads it: no key";
  EXPECT_EQ(g_model.keyActions[0].action, -1);
}

TEST_F(SettingsModelTest, ATextWhereANumberBelongsIsReadForTheNumberItSpells) {
  reg::CreateKey(main_);
  reg::WriteNumber(reg::KeyActionPath(1), "Modifier", 0);
  reg::WriteText(reg::KeyActionPath(1), "VirtualKey", "112");
  reg::WriteText(reg::KeyActionPath(1), "Action", "Next");
  LoadFromRegistry(g_model, g_session);
  ASSERT_EQ(g_model.keyCount, 1);
  EXPECT_EQ(g_model.keyActions[0].virtualKey, 112) << "F1, not the key its bytes would name";
  EXPECT_EQ(g_model.keyActions[0].action, StuffKeys) << "no number: the default, as the runtime's";
}

TEST_F(SettingsModelTest, NumericFieldsThatAreNotNumbersFallBackVisibly) {
  struct {
    const char* timeoutText;
    int32_t timeout;
    const char* timeoutShown;
    const char* pollText;
    int16_t poll;
    const char* pollShown;
  } const cases[] = {
      {"abc", 2048, "2048", "xyz", 16, "16"},
      {" 1500 ", 1500, " 1500 ", "20", 20, "20"},
      {"2.5", 3, "2.5", "-2.5", -3, "-2.5"},
      {"1e3", 2048, "2048", "", 16, "16"},
      {"99999999999", 2048, "2048", "40000", 16, "16"},
      {"40000", 2048, "2048", "32767", 32767, "32767"},
  };
  for (const auto& c : cases) {
    WindowFields f = TypicalFields();
    f[Field::ChangeTimeout] = c.timeoutText;
    f[Field::PollPerSecond] = c.pollText;
    g_model = CandidateSettings(g_model, f, EditorEntry{});
    EXPECT_EQ(g_model.changeTimeout, c.timeout) << c.timeoutText;
    EXPECT_EQ(f[Field::ChangeTimeout], c.timeoutShown) << c.timeoutText;
    EXPECT_EQ(g_model.pollPerSecond, c.poll) << c.pollText;
    EXPECT_EQ(f[Field::PollPerSecond], c.pollShown) << c.pollText;
  }
}

TEST_F(SettingsModelTest, CollectTakesTheSwitchesAndAtMostTenConfigurations) {
  WindowFields f = TypicalFields();
  f.activeConfigs.clear();
  for (int i = 0; i < 14; ++i) f.activeConfigs.push_back("Map" + std::to_string(i));
  f[Field::UseHook] = "1";
  f[Field::UseJoystick] = "1";
  f[Field::UseKeyboard] = "0";
  f[Field::ApplyOnStart] = "0";
  f[Field::SwitchDevice] = "Ultrastick 360";
  g_model.defaultConfig = 4;
  g_model = CandidateSettings(g_model, f, EditorEntry{});
  EXPECT_EQ(g_model.configNames[9], "Map9");
  EXPECT_EQ(g_model.configNames[10], "");
  EXPECT_EQ(g_model.useHook, 1);
  EXPECT_EQ(g_model.useJoystick, 1);
  EXPECT_EQ(g_model.useKeyboard, 0);
  EXPECT_EQ(g_model.applyOnStart, 0);
  EXPECT_EQ(g_model.switchDevice, "Ultrastick 360");
  EXPECT_EQ(g_model.defaultConfig, 4) << "never taken from the window";
}

TEST_F(SettingsModelTest, ApplyToRegistryWritesTheWholeTree) {
  reg::WriteNumber(main_, "DefaultConfig", 3);
  reg::WriteNumber(main_, "ChangeTimeout", 1234);
  reg::WriteText(main_, "SwitchDevice", "Old pad");
  for (int n = 1; n <= 5; ++n) KeyEntry(n, 0, 0x41);
  g_model.configNames[0] = "Fly";
  g_model.changeTimeout = 40000;
  g_model.pollPerSecond = 25;
  g_model.keyCount = 1;
  g_model.keyActions[0].modifier = 6;
  g_model.keyActions[0].virtualKey = 0x74;
  g_model.keyActions[0].keySeq = "%{F4}";
  g_model.buttonCount = 1;
  g_model.buttonActions[0].buttons = int32_t(0x80000201u);  // button 32 too
  g_model.buttonActions[0].directions = StickLeft | HatDown;
  g_model.buttonActions[0].action = RepeatKeys;
  g_model.buttonActions[0].repeat = 250;
  g_model.buttonActions[0].appParms = "--config=x.ini";
  g_model.everyDevice = 1;
  ApplyToRegistry(g_model);
  EXPECT_EQ(StoredText(main_, "Config0"), "Fly");
  EXPECT_EQ(StoredText(main_, "Config1"), "") << "unused slots are written empty";
  EXPECT_EQ(Stored(main_, "DefaultConfig"), 0);
  EXPECT_EQ(Stored(main_, "ChangeTimeout"), 1234) << "40000 does not fit and leaves the old value";
  EXPECT_EQ(Stored(main_, "PollPerSecond"), 25);
  EXPECT_EQ(StoredText(main_, "SwitchDevice"), "<missing>");
  EXPECT_EQ(Stored(reg::KeyActionPath(1), "Modifier"), 6);
  EXPECT_EQ(StoredText(reg::KeyActionPath(1), "KeySeq"), "%{F4}");
  EXPECT_EQ(StoredText(reg::KeyActionPath(1), "Select"), "");
  EXPECT_FALSE(KeyPresent(reg::KeyActionPath(2)));
  EXPECT_FALSE(KeyPresent(reg::KeyActionPath(5)));
  EXPECT_EQ(uint32_t(Stored(reg::ButtonActionPath(1), "Buttons")), 0x80000201u);
  EXPECT_EQ(Stored(reg::ButtonActionPath(1), "Directions"), StickLeft | HatDown);
  EXPECT_EQ(Stored(reg::ButtonActionPath(1), "Action"), RepeatKeys);
  EXPECT_EQ(Stored(reg::ButtonActionPath(1), "Repeat"), 250);
  EXPECT_EQ(Stored(main_, "EveryDevice"), 1);
  EXPECT_EQ(StoredText(reg::ButtonActionPath(1), "AppParms"), "--config=x.ini");
}

class ApplySettingsTest : public SettingsModelTest {
 protected:
  void SetUp() override {
    SettingsModelTest::SetUp();
    folder_ = test_files::MakeScratchFolder("apply");
    mapper_ = test_files::InFolder(folder_, "UltraMap.exe");
    test_files::WriteFile(mapper_, "MZ");
    fields_ = TypicalFields();
    fields_[Field::UltraMapPath] = "  " + mapper_ + "  ";
  }
  void TearDown() override {
    test_files::RemoveScratchFolder(folder_);
    SettingsModelTest::TearDown();
  }
  std::string folder_;
  std::string mapper_;
  WindowFields fields_;
};

TEST_F(ApplySettingsTest, AMissingMappingProgramStopsEverything) {
  fields_[Field::UltraMapPath] = test_files::InFolder(folder_, "Nothing.exe");
  EXPECT_FALSE(ApplySettings(g_model, g_session, fields_, EditorEntry{}));
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].text, "Check UltraMap path: file not found.");
  EXPECT_EQ(boxes::Messages()[0].title, "Error");
  EXPECT_EQ(boxes::Messages()[0].icon, MessageIcon::Critical);
  EXPECT_FALSE(KeyPresent(main_));
  EXPECT_TRUE(shell::Calls().empty()) << "the runtime is not touched";
}

TEST_F(ApplySettingsTest, BlanksAroundThePathAreTrimmedAndTheApplyGoesAhead) {
  shell::SetWindowWithClass("Quillon", true);
  EXPECT_TRUE(ApplySettings(g_model, g_session, fields_, EditorEntry{}));
  EXPECT_EQ(fields_[Field::UltraMapPath], mapper_);
  EXPECT_EQ(StoredText(main_, "UltraMapPath"), mapper_);
  EXPECT_EQ(shell::Calls(), (std::vector<std::string>{"SendMessage Quillon 32769 0 0"}));
}

TEST_F(ApplySettingsTest, WithoutARunningRuntimeItIsStartedHiddenFromBesideTheConfiguratorWithItsQuotedPath) {
  g_session.dataFolder = "C:\\Program Data\\KWP\\QuillonConfig";
  g_session.programFolder = "C:\\Program Files\\Quillon\\";
  EXPECT_TRUE(ApplySettings(g_model, g_session, fields_, EditorEntry{}));
  EXPECT_EQ(shell::Calls(),
            (std::vector<std::string>{"StartProcess \"C:\\Program Files\\Quillon\\quillon.exe\" R|_quillon|0"}));
}

TEST_F(ApplySettingsTest, OnlyTheEntryOfTheListShownIsCommitted) {
  g_model.keyCount = 1;
  g_model.buttonCount = 1;
  g_model.buttonActions[0].buttons = 5;
  EditorEntry editor;
  editor.list = ActionList::Keyboard;
  editor.index = 0;
  editor.key.virtualKey = 0x75;
  editor.button.buttons = 1;  // what the shared controls would give: not a controller entry
  ASSERT_TRUE(ApplySettings(g_model, g_session, fields_, editor));
  EXPECT_EQ(Stored(reg::KeyActionPath(1), "VirtualKey"), 0x75);
  EXPECT_EQ(Stored(reg::ButtonActionPath(1), "Buttons"), 5);
  editor.list = ActionList::Controller;
  editor.key.virtualKey = 0x41;
  ASSERT_TRUE(ApplySettings(g_model, g_session, fields_, editor));
  EXPECT_EQ(Stored(reg::KeyActionPath(1), "VirtualKey"), 0x75);
  EXPECT_EQ(Stored(reg::ButtonActionPath(1), "Buttons"), 1);
}

#if QUILLON_FAKE_REGISTRY
TEST_F(ApplySettingsTest, AFailedWriteIsReportedOnceAndLosesNoEntry) {
  reg::CreateKey(main_);
  for (int n = 1; n <= 3; ++n) KeyEntry(n, 0, 0x70 + n);
  LoadFromRegistry(g_model, g_session);
  g_model.keyActions[0].virtualKey = 0x41;
  fake_registry::RefuseWritesTo(reg::KeyActionPath(2));
  shell::SetWindowWithClass("Quillon", true);
  fields_[Field::PollPerSecond] = "50";
  EXPECT_FALSE(ApplySettings(g_model, g_session, fields_, EditorEntry{}));
  EXPECT_EQ(g_model.pollPerSecond, 16) << "the model is what was stored, not what failed to be";
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_NE(boxes::Messages()[0].text.find("Software\\KWP\\Quillon\\02"), std::string::npos);
  EXPECT_EQ(boxes::Messages()[0].icon, MessageIcon::Critical);
  EXPECT_TRUE(shell::Calls().empty()) << "no reload of a half-written tree";
  EXPECT_EQ(Stored(reg::KeyActionPath(2), "VirtualKey"), 0x72);
  EXPECT_EQ(Stored(reg::KeyActionPath(3), "VirtualKey"), 0x73);
  EXPECT_EQ(g_model.keyActions[0].virtualKey, 0x41) << "the edits stay";
}
#endif

TEST_F(SettingsModelTest, ApplyLeavesValuesThatItDoesNotKnowAlone) {
  reg::WriteText(main_, "ShowsSomethingNewer", "kept");
  KeyEntry(1, 0, 0x70);
  reg::WriteNumber(reg::KeyActionPath(1), "Repeat", 3);
  LoadFromRegistry(g_model, g_session);
  ApplyToRegistry(g_model);
  EXPECT_EQ(StoredText(main_, "ShowsSomethingNewer"), "kept");
  EXPECT_EQ(Stored(reg::KeyActionPath(1), "Repeat"), 3);
}

TEST_F(SettingsModelTest, LoadingAgainForgetsEdits) {
  LoadFromRegistry(g_model, g_session);
  g_model.keyCount = 0;
  LoadFromRegistry(g_model, g_session);
  EXPECT_EQ(g_model.keyCount, 3);
}

TEST_F(SettingsModelTest, StoredButtonsBeyondTenSurviveApplyAsTheRuntimeReadsThem) {
  reg::CreateKey(main_);
  reg::WriteNumber(reg::ButtonActionPath(1), "Buttons", 0x80010003);
  LoadFromRegistry(g_model, g_session);
  ASSERT_EQ(g_model.buttonCount, 1);
  EXPECT_EQ(uint32_t(g_model.buttonActions[0].buttons), 0x80010003u);
  ApplyToRegistry(g_model);
  LoadFromRegistry(g_model, g_session);
  ASSERT_EQ(g_model.buttonCount, 1) << "the entry is still there after an apply";
  EXPECT_EQ(uint32_t(g_model.buttonActions[0].buttons), 0x80010003u);
}

}  // namespace
}  // namespace quillon

// The configurator's model: loading with factory defaults, collecting the
// window's fields, writing the tree, Apply and Reload.
#include <gtest/gtest.h>

#include "configurator/mod_registry.h"
#include "configurator/settings_model.h"
#include "tests/configurator/test_files.h"
#include "tests/fakes/fake_configurator_shell.h"
#include "tests/fakes/fake_configurator_view.h"
#include "tests/kit/test_registry.h"
#if QUILLON_FAKE_REGISTRY
#include "tests/fakes/fake_registry.h"
#endif

namespace quillon {
namespace {

namespace reg = test_registry;
namespace shell = fake_configurator_shell;
namespace view = fake_configurator_view;

int64_t Stored(const std::string& path, const char* name, int64_t fallback = -999) {
  return modRegistry::ReadNumber("HKCU", path, name, fallback);
}
std::string StoredText(const std::string& path, const char* name) {
  return modRegistry::ReadText("HKCU", path, name, "<missing>");
}
bool KeyPresent(const std::string& path) {
  std::string entries;
  return modRegistry::ListValues("HKCU", path, &entries) == 0;
}

class SettingsModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::Reset();
    view::Reset();
    reg::DeleteSettingsTree();
    g_model = ConfiguratorSettings{};
    FillDefaultConfigNames();
    g_model.dataFolder = "C:\\ProgramData\\KWP\\QuillonConfig";
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
  static void TypicalFields() {
    GlobalFields& f = view::Fields();
    f.activeConfigs = {"Analog", "8-Way"};
    f.changeTimeoutText = "2048";
    f.pollPerSecondText = "16";
    f.hotKeyMode = true;
    f.useKeyboard = true;
    f.applyOnStart = true;
    f.ultraMapPath = "C:\\U\\UltraMap.exe";
    f.ultraMapOptions = "%s";
  }
  const std::string main_ = reg::SettingsPath();
};

TEST_F(SettingsModelTest, FirstStartWritesAndLoadsTheFactoryDefaults) {
  LoadFromRegistry();
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
  EXPECT_EQ(view::Refreshes(), 1);
}

TEST_F(SettingsModelTest, TheMappingProgramFolderFallsBackStepByStep) {
  shell::SetSpecialFolder(42, false, "");
  shell::SetSpecialFolder(38, true, "C:\\Program Files");
  WriteDefaultSettings();
  EXPECT_EQ(StoredText(main_, "UltraMapPath"), "C:\\Program Files\\UltraMap\\UltraMap.exe");
  shell::SetSpecialFolder(42, true, "");
  shell::SetSpecialFolder(38, false, "");
  WriteDefaultSettings();
  EXPECT_EQ(StoredText(main_, "UltraMapPath"), "C:\\ProgramData\\KWP\\QuillonConfig\\UltraMap\\UltraMap.exe");
}

TEST_F(SettingsModelTest, AnExistingEmptyMainKeyIsNotReset) {
  reg::CreateKey(main_);
  LoadFromRegistry();
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
  LoadFromRegistry();
  ASSERT_EQ(g_model.keyCount, 3);
  EXPECT_EQ(g_model.keyActions[2].virtualKey, 0x74);
  ASSERT_EQ(g_model.buttonCount, 1);
  EXPECT_EQ(g_model.buttonActions[0].buttons, 3);
  ApplyToRegistry();
  EXPECT_EQ(Stored(reg::KeyActionPath(3), "VirtualKey"), 0x74);
  EXPECT_FALSE(KeyPresent(reg::KeyActionPath(4)));
  EXPECT_EQ(Stored(reg::ButtonActionPath(1), "Buttons"), 3);
  EXPECT_FALSE(KeyPresent(reg::ButtonActionPath(2)));
}

TEST_F(SettingsModelTest, StoredNumbersThatDoNotFitTheirFieldKeepTheDefault) {
  reg::WriteText(main_, "Config0", "Fly");
  reg::WriteNumber(main_, "PollPerSecond", 70000);
  reg::WriteNumber(main_, "ChangeTimeout", 70000);
  KeyEntry(1, 0, 70000);
  reg::WriteNumber(reg::KeyActionPath(1), "Action", uint32_t(-1));
  LoadFromRegistry();
  EXPECT_EQ(g_model.pollPerSecond, 16);
  EXPECT_EQ(g_model.changeTimeout, 70000) << "the change timeout is a 32-bit field";
  ASSERT_EQ(g_model.keyCount, 1);
  EXPECT_EQ(g_model.keyActions[0].virtualKey, 13);
  EXPECT_EQ(g_model.keyActions[0].action, -1);
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
      {"40000", 40000, "40000", "32767", 32767, "32767"},
  };
  for (const auto& c : cases) {
    TypicalFields();
    view::Fields().changeTimeoutText = c.timeoutText;
    view::Fields().pollPerSecondText = c.pollText;
    CollectGlobalSettings();
    EXPECT_EQ(g_model.changeTimeout, c.timeout) << c.timeoutText;
    EXPECT_EQ(view::Fields().changeTimeoutText, c.timeoutShown) << c.timeoutText;
    EXPECT_EQ(g_model.pollPerSecond, c.poll) << c.pollText;
    EXPECT_EQ(view::Fields().pollPerSecondText, c.pollShown) << c.pollText;
  }
}

TEST_F(SettingsModelTest, CollectTakesTheSwitchesAndAtMostTenConfigurations) {
  TypicalFields();
  GlobalFields& f = view::Fields();
  f.activeConfigs.clear();
  for (int i = 0; i < 14; ++i) f.activeConfigs.push_back("Map" + std::to_string(i));
  f.hotKeyMode = false;
  f.useJoystick = true;
  f.useKeyboard = false;
  f.applyOnStart = false;
  f.selectedController = "Ultrastick 360";
  g_model.defaultConfig = 4;
  CollectGlobalSettings();
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
  g_model.buttonActions[0].buttons = 0x201;
  g_model.buttonActions[0].appParms = "--config=x.ini";
  ApplyToRegistry();
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
  EXPECT_EQ(Stored(reg::ButtonActionPath(1), "Buttons"), 0x201);
  EXPECT_EQ(StoredText(reg::ButtonActionPath(1), "AppParms"), "--config=x.ini");
}

class ApplySettingsTest : public SettingsModelTest {
 protected:
  void SetUp() override {
    SettingsModelTest::SetUp();
    folder_ = test_files::MakeScratchFolder("apply");
    mapper_ = test_files::InFolder(folder_, "UltraMap.exe");
    test_files::WriteFile(mapper_, "MZ");
    TypicalFields();
    view::Fields().ultraMapPath = "  " + mapper_ + "  ";
  }
  void TearDown() override {
    test_files::RemoveScratchFolder(folder_);
    SettingsModelTest::TearDown();
  }
  std::string folder_;
  std::string mapper_;
};

TEST_F(ApplySettingsTest, AMissingMappingProgramStopsEverything) {
  view::Fields().ultraMapPath = test_files::InFolder(folder_, "Nothing.exe");
  EXPECT_FALSE(ApplySettings());
  ASSERT_EQ(view::Messages().size(), 1u);
  EXPECT_EQ(view::Messages()[0].text, "Check UltraMap path: file not found.");
  EXPECT_EQ(view::Messages()[0].title, "Error");
  EXPECT_EQ(view::Messages()[0].icon, MessageIcon::Critical);
  EXPECT_FALSE(KeyPresent(main_));
  EXPECT_TRUE(shell::Calls().empty()) << "the runtime is not touched";
}

TEST_F(ApplySettingsTest, BlanksAroundThePathAreTrimmedAndTheApplyGoesAhead) {
  shell::SetWindowWithClass("Quillon", true);
  EXPECT_TRUE(ApplySettings());
  EXPECT_EQ(view::Fields().ultraMapPath, mapper_);
  EXPECT_EQ(StoredText(main_, "UltraMapPath"), mapper_);
  EXPECT_EQ(shell::Calls(), (std::vector<std::string>{"SendMessage Quillon 32769 0 0"}));
}

TEST_F(ApplySettingsTest, WithoutARunningRuntimeItIsStartedHiddenWithItsQuotedPath) {
  g_model.dataFolder = "C:\\Program Data\\KWP\\QuillonConfig";
  EXPECT_TRUE(ApplySettings());
  EXPECT_EQ(shell::Calls(), (std::vector<std::string>{
                                "StartProcess \"C:\\Program Data\\KWP\\QuillonConfig\\quillon.exe\" R|_quillon|0"}));
}

TEST_F(ApplySettingsTest, OnlyTheSelectedEditorPageIsCommitted) {
  g_model.keyCount = 1;
  g_model.buttonCount = 1;
  g_model.currentKeyIndex = 0;
  g_model.currentButtonIndex = 0;
  KeyActionEntry edited;
  edited.virtualKey = 0x75;
  view::SetKeyEditor(edited);
  view::SetSelectedPage(ActionPage::Keyboard);
  ApplySettings();
  EXPECT_EQ(view::KeyCommits(), 1);
  EXPECT_EQ(view::ButtonCommits(), 0);
  EXPECT_EQ(Stored(reg::KeyActionPath(1), "VirtualKey"), 0x75);
  view::SetSelectedPage(ActionPage::Controller);
  ApplySettings();
  EXPECT_EQ(view::KeyCommits(), 1);
  EXPECT_EQ(view::ButtonCommits(), 1);
}

TEST_F(SettingsModelTest, ReloadForgetsEditsAndTheOpenEntries) {
  LoadFromRegistry();
  g_model.keyCount = 0;
  g_model.currentKeyIndex = 2;
  g_model.currentButtonIndex = 0;
  ReloadSettings();
  EXPECT_EQ(g_model.keyCount, 3);
  EXPECT_EQ(g_model.currentKeyIndex, -1);
  EXPECT_EQ(g_model.currentButtonIndex, -1);
  EXPECT_EQ(view::ListRebuilds(), 1);
}

}  // namespace
}  // namespace quillon

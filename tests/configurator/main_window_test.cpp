// The main window's logic against the fake controls: what the window shows
// after its load, the controller selection, the help contexts, the menus,
// Apply, Browse and leaving.
#include <gtest/gtest.h>

#include "configurator/main_window.h"
#include "configurator/other_settings_page.h"
#include "configurator/resource_ids.h"
#include "configurator/settings_model.h"
#include "tests/configurator/test_files.h"
#include "tests/fakes/fake_configurator_messages.h"
#include "tests/fakes/fake_configurator_shell.h"
#include "tests/fakes/fake_window_controls.h"
#include "tests/fakes/fake_controller_list.h"
#include "tests/fakes/fake_help_viewer.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

// The window's model and session, which the window's commands use.
ConfiguratorSettings& g_model = WindowModel();
ConfiguratorSession& g_session = WindowSession();

namespace reg = test_registry;
namespace shell = fake_configurator_shell;
namespace controls = fake_window_controls;
namespace messages = fake_configurator_messages;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::Reset();
    controls::Reset();
    messages::Reset();
    HelpViewerCalls().clear();
    SetAttachedControllers({});
    reg::DeleteSettingsTree();
    g_model = ConfiguratorSettings{};
    FillDefaultConfigNames(g_session);
    g_session.dataFolder = "C:\\ProgramData\\KWP\\QuillonConfig";
    g_session.helpFilePath = "C:\\Program Files\\Quillon\\quillon.chm";
    folder_ = test_files::MakeScratchFolder("main_window");
    mapper_ = test_files::InFolder(folder_, "UltraMap.exe");
    test_files::WriteFile(mapper_, "MZ");
    const std::string main = reg::SettingsPath();
    reg::WriteText(main, "Config0", "Race");
    reg::WriteText(main, "UltraMapPath", mapper_);
    reg::WriteText(main, "UltraMapOptions", "/l %s");
    reg::WriteNumber(main, "UseHook", 1);
    reg::WriteNumber(main, "UseJoystick", 0);
    reg::WriteNumber(main, "UseKeyboard", 1);
    reg::WriteNumber(main, "ApplyOnStart", 1);
    reg::WriteNumber(main, "PollPerSecond", 16);
    reg::WriteNumber(main, "ChangeTimeout", 2048);
  }
  void TearDown() override {
    test_files::RemoveScratchFolder(folder_);
    reg::DeleteSettingsTree();
  }
  static int64_t Stored(const char* name) { return reg::ReadNumber(reg::SettingsPath(), name, -999); }

  std::string folder_;
  std::string mapper_;
};

TEST_F(MainWindowTest, TheLoadShowsTheStoredSettingsAndTheVersion) {
  controls::SetProgramVersion(1, 2);
  LoadMainWindow();
  EXPECT_EQ(ControlText(IDC_labVersion), "Version 1.2");
  EXPECT_TRUE(IsChecked(IDC_optModeHook));
  EXPECT_FALSE(IsChecked(IDC_optModeHotkey));
  EXPECT_FALSE(IsChecked(IDC_chkUseJoystick));
  EXPECT_TRUE(IsChecked(IDC_chkUseKeyboard));
  EXPECT_TRUE(IsChecked(IDC_chkLoadConfigOnApply));
  EXPECT_EQ(ControlText(IDC_txtPollsPerSecond), "16");
  EXPECT_EQ(ControlText(IDC_txtSwitchTimeout), "2048");
  EXPECT_EQ(ControlText(IDC_txtUltraMap), mapper_);
  EXPECT_EQ(ControlText(IDC_txtUltraParameters), "/l %s");

  // A Reload puts the stored values back over unapplied edits, and the
  // other option button is cleared.
  reg::WriteNumber(reg::SettingsPath(), "UseHook", 0);
  SetControlText(IDC_txtSwitchTimeout, "999");
  EXPECT_FALSE(OnMainWindowCommand(IDM_mnuReload));
  EXPECT_EQ(ControlText(IDC_txtSwitchTimeout), "2048");
  EXPECT_TRUE(IsChecked(IDC_optModeHotkey));
  EXPECT_FALSE(IsChecked(IDC_optModeHook));
}

TEST_F(MainWindowTest, TheStoredControllerIsSelectedOnlyWhenAttached) {
  struct Case {
    std::vector<std::string> attached;
    const char* stored;
    int selected;
  };
  const Case cases[] = {
      {{"Pad A", "Pad B"}, "Pad B", 1}, {{"Pad A", "Pad B"}, "pad b", 0},  // the comparison is exact
      {{"Pad A", "Pad B"}, "Pad C", 0},                                    // not attached: the first one
      {{"Pad A", "Pad B"}, "", 0},      {{"Twin", "Twin"}, "Twin", 0},    {{}, "Pad A", -1},
  };
  for (const Case& c : cases) {
    SetAttachedControllers(c.attached);
    reg::WriteText(reg::SettingsPath(), "SwitchDevice", c.stored);
    LoadMainWindow();
    EXPECT_EQ(controls::RowTexts(IDC_cmbDeviceName), c.attached) << c.stored;
    EXPECT_EQ(SelectedRow(IDC_cmbDeviceName), c.selected) << c.stored;
  }
}

TEST_F(MainWindowTest, RefreshKeepsTheSelectedControllerByName) {
  struct Case {
    std::vector<std::string> before;
    int selectedBefore;
    std::vector<std::string> after;
    int selectedAfter;
  };
  const Case cases[] = {
      {{"Pad A", "Pad B"}, 1, {"Pad A", "Pad B"}, 1},
      {{"Pad A", "Pad B"}, 1, {"Pad B", "Pad A"}, 0},
      {{"Twin", "Twin"}, 1, {"Twin", "Twin"}, 0},
      {{"Pad A", "Pad B"}, 1, {"Pad C", "Pad A"}, 0},  // unplugged: the first one
      {{"Pad A"}, 0, {}, -1},
      {{}, -1, {"Pad A"}, 0},
  };
  for (const Case& c : cases) {
    SetAttachedControllers(c.before);
    EnumerateControllers();
    SelectRow(IDC_cmbDeviceName, c.selectedBefore);
    SetAttachedControllers(c.after);
    OnOtherSettingsEvent(IDC_cmdRefreshDevices, ControlEvent::Click);
    EXPECT_EQ(SelectedRow(IDC_cmbDeviceName), c.selectedAfter);
  }
}

TEST_F(MainWindowTest, HelpOpensAtThePageContextAndTheMenuAtTheOverview) {
  for (int page = 0; page < kPageCount; ++page) OnHelpKey(page);
  OnMainWindowCommand(IDM_mnuHelp);
  std::vector<std::pair<std::string, int>> expected;
  for (int context : {3, 4, 5, 6, 1}) expected.emplace_back(g_session.helpFilePath, context);
  EXPECT_EQ(HelpViewerCalls(), expected);
}

TEST_F(MainWindowTest, ApplyWithAMissingMappingProgramWritesNothing) {
  LoadMainWindow();
  const std::string missing = test_files::InFolder(folder_, "Gone.exe");
  SetControlText(IDC_txtUltraMap, "  " + missing + " ");
  SetControlText(IDC_txtSwitchTimeout, "3000");
  EXPECT_FALSE(OnMainWindowCommand(IDC_cmdApply));
  ASSERT_EQ(messages::Messages().size(), 1u);
  EXPECT_EQ(messages::Messages()[0].text, "Check UltraMap path: file not found.");
  EXPECT_EQ(messages::Messages()[0].title, "Error");
  EXPECT_EQ(Stored("ChangeTimeout"), 2048);
  EXPECT_TRUE(shell::Calls().empty()) << "the runtime is not touched";
  EXPECT_EQ(ControlText(IDC_txtUltraMap), missing);
  EXPECT_EQ(ControlText(IDC_txtSwitchTimeout), "3000");
}

TEST_F(MainWindowTest, AMappingProgramPathWithWildcardsFailsTheCheckThoughAFileMatches) {
  LoadMainWindow();
  SetControlText(IDC_txtSwitchTimeout, "3000");
  for (const char* pattern : {"UltraMap.e*", "UltraMap.ex?"}) {
    SetControlText(IDC_txtUltraMap, test_files::InFolder(folder_, pattern));
    EXPECT_FALSE(OnMainWindowCommand(IDC_cmdApply));
  }
  ASSERT_EQ(messages::Messages().size(), 2u);
  EXPECT_EQ(messages::Messages()[1].text, "Check UltraMap path: file not found.");
  EXPECT_EQ(Stored("ChangeTimeout"), 2048);
  EXPECT_TRUE(shell::Calls().empty()) << "the runtime is not touched";
}

TEST_F(MainWindowTest, ASwitchTimeoutTooWideToStoreShowsTheValueStored) {
  reg::WriteNumber(reg::SettingsPath(), "ChangeTimeout", 3000);
  LoadMainWindow();
  SetControlText(IDC_txtSwitchTimeout, "40000");
  EXPECT_FALSE(OnMainWindowCommand(IDC_cmdApply));
  EXPECT_EQ(ControlText(IDC_txtSwitchTimeout), "2048");
  EXPECT_EQ(Stored("ChangeTimeout"), 2048);
}

TEST_F(MainWindowTest, ApplyStoresTheFieldsAndLeavingStoresNothing) {
  LoadMainWindow();
  SetControlText(IDC_txtSwitchTimeout, "fast");
  SetChecked(IDC_optModeHook, false);
  SetChecked(IDC_optModeHotkey, true);
  SetChecked(IDC_chkLoadConfigOnApply, false);
  EXPECT_FALSE(OnMainWindowCommand(IDC_cmdApply));
  EXPECT_TRUE(messages::Messages().empty());
  EXPECT_EQ(ControlText(IDC_txtSwitchTimeout), "2048");
  EXPECT_EQ(Stored("UseHook"), 0);
  EXPECT_EQ(Stored("ApplyOnStart"), 0);

  SetControlText(IDC_txtPollsPerSecond, "50");
  EXPECT_TRUE(OnMainWindowCommand(IDM_Exit));
  EXPECT_EQ(Stored("PollPerSecond"), 16);
}

// Settings from before the notice switches load them off; Apply stores the
// boxes and leaves values that it does not know alone, as an older
// configurator leaves these two.
TEST_F(MainWindowTest, TheNoticeSwitchesAreOffUntilTickedAndApplyKeepsUnknownValues) {
  reg::WriteNumber(reg::SettingsPath(), "LaterSwitch", 5);
  LoadMainWindow();
  EXPECT_FALSE(IsChecked(IDC_chkShowTrayIcon));
  EXPECT_FALSE(IsChecked(IDC_chkShowMapName));
  SetChecked(IDC_chkShowMapName, true);
  EXPECT_FALSE(OnMainWindowCommand(IDC_cmdApply));
  EXPECT_EQ(Stored("ShowTrayIcon"), 0);
  EXPECT_EQ(Stored("ShowMapName"), 1);
  EXPECT_EQ(Stored("LaterSwitch"), 5);
  SetChecked(IDC_chkShowMapName, false);
  SetChecked(IDC_chkShowTrayIcon, true);
  EXPECT_FALSE(OnMainWindowCommand(IDC_cmdApply));
  ReloadWindow();
  EXPECT_TRUE(IsChecked(IDC_chkShowTrayIcon));
  EXPECT_FALSE(IsChecked(IDC_chkShowMapName));
}

// Every global of the field list is shown by a control and stored from it
// again: the window shows one model over a stored one that differs in every
// field, and Apply must store what the window showed. A row added without
// its control keeps the stored value and fails here.
TEST_F(MainWindowTest, EveryStoredGlobalIsShownByAControlAndAppliedFromIt) {
  SetAttachedControllers({"Pad A", "Pad B"});
  const std::string otherMapper = test_files::InFolder(folder_, "Other.exe");
  auto every = [&](int64_t number, const std::string& text, const std::string& path, const char* pad) {
    ConfiguratorSettings m;
    m.configNames[0] = "Race";
    VisitFields(m, [&](Field field, auto& member) {
      if constexpr (std::is_same_v<std::decay_t<decltype(member)>, std::string>)
        member = field == Field::UltraMapPath ? path : field == Field::SwitchDevice ? pad : text;
      else member = decltype(member)(number);
    });
    return m;
  };
  const ConfiguratorSettings shown = every(1, "a", mapper_, "Pad A");
  LoadMainWindow();
  g_model = shown;
  RefreshWindow();
  g_model = every(0, "b", otherMapper, "Pad B");
  EXPECT_FALSE(OnMainWindowCommand(IDC_cmdApply));
  ASSERT_TRUE(messages::Messages().empty());
  LoadFromRegistry(g_model, g_session);
  const FieldValues stored = MainFieldValues(g_model), expected = MainFieldValues(shown);
  for (const FieldRow& row : kFields) {
    // The default map is never shown: it is always stored as 0.
    if ((row.home & InMain) == 0 || row.field == Field::DefaultConfig) continue;
    EXPECT_EQ(stored[row.field].number, expected[row.field].number) << row.name;
    EXPECT_EQ(stored[row.field].text, expected[row.field].text) << row.name;
  }
}

TEST_F(MainWindowTest, BrowseStartsAtTheFieldsProgramAndTakesTheChoice) {
  SetControlText(IDC_txtUltraMap, " C:\\Tools\\Map\\prog.exe ");
  shell::SetDialogAnswer("C:\\New\\mapper.exe");
  OnOtherSettingsEvent(IDC_cmdBrowseUltramap, ControlEvent::Click);
  ASSERT_EQ(shell::DialogsShown().size(), 1u);
  const FileDialogOptions& dialog = shell::DialogsShown()[0];
  EXPECT_EQ(dialog.kind, FileDialogKind::Open);
  EXPECT_EQ(dialog.initialFileName, "prog.exe");
  EXPECT_EQ(dialog.initialFolder, "C:\\Tools\\Map\\");
  EXPECT_EQ(dialog.title, "Select executable");
  EXPECT_EQ(dialog.filters, (std::vector<std::pair<std::string, std::string>>{{"EXE files", "*.exe"}}));
  EXPECT_EQ(ControlText(IDC_txtUltraMap), "C:\\New\\mapper.exe");

  shell::SetDialogCancelled();
  OnOtherSettingsEvent(IDC_cmdBrowseUltramap, ControlEvent::Click);
  EXPECT_EQ(ControlText(IDC_txtUltraMap), "C:\\New\\mapper.exe");
}

TEST_F(MainWindowTest, MenuCommandsReachTheRuntimeAndTheShortcuts) {
  OnMainWindowCommand(IDM_mnuUnloadQuillon);
  ASSERT_EQ(messages::Messages().size(), 1u);
  EXPECT_EQ(messages::Messages()[0].text, "Quillon is not resident.");
  shell::SetFolderPath(16, "C:\\Users\\me\\Desktop");
  OnMainWindowCommand(IDM_mnuAddDesktop);
  ASSERT_EQ(shell::SavedLinks().size(), 1u);
  EXPECT_EQ(shell::SavedLinks()[0].linkPath, "C:\\Users\\me\\Desktop\\Quillon.lnk");
}

}  // namespace
}  // namespace quillon

// Export files: save and load through the store layer's INI mode, with the
// portable profile store natively and the system's in the windows build.
#include <gtest/gtest.h>

#include "configurator/export_file.h"
#include "configurator/path_helpers.h"
#include "configurator/settings_model.h"
#include "configurator/tree_stores.h"
#include "tests/configurator/test_files.h"
#include "tests/fakes/fake_configurator_shell.h"
#include "tests/fakes/fake_configurator_messages.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

// The model and session that this file's tests hand to the code.
ConfiguratorSettings g_model;
ConfiguratorSession g_session;

namespace shell = fake_configurator_shell;
namespace boxes = fake_configurator_messages;

// A section of the file as its lines, each followed by a NUL: "" when it
// has none.
std::string SectionOf(const std::string& file, GroupAddress at) {
  StoredGroup values;
  treeStores::ExportFileTree(file).read(at, &values);
  std::string lines;
  for (const RawValue& value : values) lines += value.name + "=" + value.bytes;
  return lines;
}
std::string FileValue(const std::string& file, GroupAddress at, const std::string& name, const std::string& fallback) {
  StoredGroup values;
  treeStores::ExportFileTree(file).read(at, &values);
  for (const RawValue& value : values)
    if (value.name == name) return value.bytes.substr(0, value.bytes.size() - 1);
  return fallback;
}
constexpr GroupAddress kMain{Group::Main, 0};

class ExportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::Reset();
    boxes::Reset();
    test_registry::DeleteSettingsTree();
    g_model = ConfiguratorSettings{};
    g_session = ConfiguratorSession{};
    FillDefaultConfigNames(g_session);
    folder_ = test_files::MakeScratchFolder("export");
    g_session.dataFolder = folder_;
    file_ = test_files::InFolder(folder_, "arcade.qlf");
  }
  void TearDown() override { test_files::RemoveScratchFolder(folder_); }

  // A configuration with every kind of value, shown in the window's fields.
  static WindowFields RichConfiguration() {
    WindowFields f;
    f.activeConfigs = {"Analog", "4-Way, Diagonals Only", "Fly=High"};
    f[Field::ChangeTimeout] = "1500";
    f[Field::PollPerSecond] = "-20";
    f[Field::UseHook] = "1";
    f[Field::UseJoystick] = "1";
    f[Field::UseKeyboard] = "1";
    f[Field::ApplyOnStart] = "0";
    f[Field::SwitchDevice] = "Ultrastick 360";
    f[Field::UltraMapPath] = "C:\\Tools\\UltraMap.exe";
    f[Field::UltraMapOptions] = "/load %s /quiet=yes";
    f[Field::ShowTrayIcon] = "1";
    f[Field::FollowGame] = "1";
    f[Field::EveryDevice] = "1";
    // Patterns go by map name, here against the list's order.
    f.windowPatterns = {{"Fly=High", "MAME: *[fly]|@Daphne"}, {"Analog", "*Marble*"}};
    g_model.keyCount = 2;
    g_model.keyActions[0] =
        KeyActionEntry{6, 0x74, 1, RunApplication, "Notepad*|@Edit", "", "C:\\mame.exe", "--config=x.ini -y"};
    g_model.keyActions[1] = KeyActionEntry{0, 13, 0, StuffKeys, "title=x*", "a=b{ENTER}", "", ""};
    g_model.buttonCount = 3;
    g_model.buttonActions[0] =
        ButtonActionEntry{int32_t(0x800003FFu), StickUp | HatLeft, 0, HoldKeys, "", "{LEFT}", "", "", 100};
    g_model.buttonActions[1] = ButtonActionEntry{
        1, 0, 1, ChangeConfiguration, "@Class", "%{F4}", "C:\\Q\\QuillonConfig.exe", "C:\\Q\\two=2.qlf"};
    g_model.buttonActions[2] = ButtonActionEntry{512, 0, 0, -1, "", "", "", "", 4999};
    return f;
  }
  std::string folder_;
  std::string file_;
};

TEST_F(ExportFileTest, SaveThenLoadGivesBackEveryValueEvenWithEqualsSigns) {
  WindowFields fields = RichConfiguration();
  g_model.defaultConfig = 2;
  ASSERT_TRUE(ExportToFile(file_, g_model, fields, EditorEntry{}));
  const ConfiguratorSettings saved = g_model;
  g_model = ConfiguratorSettings{};
  ASSERT_TRUE(ImportFromFile(file_, g_model, g_session));
  const ConfiguratorSettings& m = g_model;
  for (int i = 0; i < kConfigSlots; ++i) EXPECT_EQ(m.configNames[i], saved.configNames[i]) << i;
  EXPECT_EQ(m.configNames[2], "Fly=High");
  EXPECT_EQ(m.configWindows[0], "*Marble*");
  EXPECT_EQ(m.configWindows[1], "");
  EXPECT_EQ(m.configWindows[2], "MAME: *[fly]|@Daphne");
  EXPECT_EQ(m.followGame, 1);
  EXPECT_EQ(m.everyDevice, 1);
  EXPECT_EQ(m.ultraMapPath, "C:\\Tools\\UltraMap.exe");
  EXPECT_EQ(m.ultraMapOptions, "/load %s /quiet=yes");
  EXPECT_EQ(m.switchDevice, "Ultrastick 360");
  EXPECT_EQ(m.defaultConfig, 0);
  EXPECT_EQ(m.changeTimeout, 1500);
  EXPECT_EQ(m.pollPerSecond, -20);
  EXPECT_EQ(m.useHook, 1);
  EXPECT_EQ(m.useJoystick, 1);
  EXPECT_EQ(m.useKeyboard, 1);
  EXPECT_EQ(m.applyOnStart, 0);
  EXPECT_EQ(m.showTrayIcon, 1);
  EXPECT_EQ(m.showMapName, 0);
  ASSERT_EQ(m.keyCount, saved.keyCount);
  for (int i = 0; i < m.keyCount; ++i) {
    const KeyActionEntry& a = m.keyActions[i];
    const KeyActionEntry& b = saved.keyActions[i];
    EXPECT_EQ(std::tie(a.modifier, a.virtualKey, a.sendType, a.action, a.select, a.keySeq, a.appName, a.appParms),
              std::tie(b.modifier, b.virtualKey, b.sendType, b.action, b.select, b.keySeq, b.appName, b.appParms))
        << "Key " << i + 1;
  }
  ASSERT_EQ(m.buttonCount, saved.buttonCount);
  for (int i = 0; i < m.buttonCount; ++i) {
    const ButtonActionEntry& a = m.buttonActions[i];
    const ButtonActionEntry& b = saved.buttonActions[i];
    EXPECT_EQ(std::tie(a.buttons, a.directions, a.sendType, a.action, a.select, a.keySeq, a.appName, a.appParms,
                       a.repeat),
              std::tie(b.buttons, b.directions, b.sendType, b.action, b.select, b.keySeq, b.appName, b.appParms,
                       b.repeat))
        << "Joy " << i + 1;
  }
  EXPECT_FALSE(test_files::Exists(ExportWorkFile(file_))) << "no work file is left behind";
}

TEST_F(ExportFileTest, TheFileHoldsTheSectionsAndKeysInOrder) {
  WindowFields fields = RichConfiguration();
  fields[Field::ChangeTimeout] = "soon";
  ASSERT_TRUE(ExportToFile(file_, g_model, fields, EditorEntry{}));
  EXPECT_EQ(fields[Field::ChangeTimeout], "2048") << "the field was mended before saving";
  std::string entries = SectionOf(file_, kMain);
  std::string expected;
  const char* lines[] = {"Config0=Analog",
                         "Config0Window=*Marble*",
                         "Config1=4-Way, Diagonals Only",
                         "Config2=Fly=High",
                         "Config2Window=MAME: *[fly]|@Daphne",
                         "Config3=",
                         "Config4=",
                         "Config5=",
                         "Config6=",
                         "Config7=",
                         "Config8=",
                         "Config9=",
                         "UltraMapPath=C:\\Tools\\UltraMap.exe",
                         "UltraMapOptions=/load %s /quiet=yes",
                         "UseJoystick=1",
                         "UseKeyboard=1",
                         "ApplyOnStart=0",
                         "SwitchDevice=Ultrastick 360",
                         "DefaultConfig=0",
                         "ChangeTimeout=2048",
                         "UseHook=1",
                         "PollPerSecond=-20",
                         "ShowTrayIcon=1",
                         "ShowMapName=0",
                         "FollowGame=1",
                         "EveryDevice=1"};
  for (const char* line : lines) expected += std::string(line) + '\0';
  EXPECT_EQ(entries, expected);
  entries = SectionOf(file_, {Group::Keyboard, 2});
  EXPECT_EQ(entries.substr(0, entries.find('\0')), "Modifier=0");
  entries = SectionOf(file_, {Group::Controller, 3});
  EXPECT_EQ(entries.substr(0, entries.find('\0')), "Buttons=512");
  EXPECT_EQ(SectionOf(file_, {Group::Controller, 4}), "");
}

TEST_F(ExportFileTest, AnEmptyControllerListWritesNoSwitchDevice) {
  WindowFields fields = RichConfiguration();
  fields[Field::SwitchDevice] = "";  // the list is empty, so nothing is selected
  ASSERT_TRUE(ExportToFile(file_, g_model, fields, EditorEntry{}));
  EXPECT_EQ(FileValue(file_, kMain, "SwitchDevice", "<none>"), "<none>");
  g_model.switchDevice = "stale";
  ASSERT_TRUE(ImportFromFile(file_, g_model, g_session));
  EXPECT_EQ(g_model.switchDevice, "");
}

TEST_F(ExportFileTest, OnlyTheEntryOfTheListShownIsCommittedBeforeTheActionsAreWritten) {
  WindowFields fields = RichConfiguration();
  EditorEntry editor;
  editor.list = ActionList::Keyboard;
  editor.index = 1;
  editor.key.virtualKey = 0x7B;
  editor.button.buttons = 4;  // the controller boxes hold nothing of a keyboard entry
  ASSERT_TRUE(ExportToFile(file_, g_model, fields, editor));
  EXPECT_EQ(FileValue(file_, {Group::Keyboard, 2}, "VirtualKey", ""), "123");
  EXPECT_EQ(FileValue(file_, {Group::Controller, 1}, "Buttons", ""), "2147484671")
      << "the controller entry is untouched";
  EXPECT_EQ(FileValue(file_, {Group::Controller, 2}, "Buttons", ""), "1");
}

TEST_F(ExportFileTest, TextsWithOuterQuotesOrBlanksComeBackAsTheyWere) {
  WindowFields fields = RichConfiguration();
  const char* const texts[] = {"\"C:\\My Configs\\race.qlf\"", "  padded  ", "\"", "\"\"", " \"x\" ", "\"a\" b \"c\""};
  ButtonActionEntry& entry = g_model.buttonActions[1];
  for (const char* text : texts) {
    entry.appParms = entry.select = text;
    ASSERT_TRUE(ExportToFile(file_, g_model, fields, EditorEntry{}));
    g_model = ConfiguratorSettings{};
    ASSERT_TRUE(ImportFromFile(file_, g_model, g_session));
    EXPECT_EQ(g_model.buttonActions[1].appParms, text);
    EXPECT_EQ(g_model.buttonActions[1].select, text);
  }
  // Files written before keep loading as they did: quotes stay when the
  // value inside them would not have needed any.
  test_files::WriteFile(file_, "[Joy 01]\r\nAppParms=\"C:\\My Configs\\race.qlf\"\r\n");
  ASSERT_TRUE(ImportFromFile(file_, g_model, g_session));
  EXPECT_EQ(g_model.buttonActions[0].appParms, "\"C:\\My Configs\\race.qlf\"");
}

TEST_F(ExportFileTest, OverwritingAsksAndLeavesOnlyTheNewContent) {
  test_files::WriteFile(file_, "[Quillon]\r\nConfig0=Old\r\n[Key 07]\r\nAction=3\r\n[Notes]\r\nx=1\r\n");
  WindowFields fields = RichConfiguration();
  boxes::SetYesNoAnswer(MessageAnswer::No);
  EXPECT_FALSE(ExportToFile(file_, g_model, fields, EditorEntry{}));
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].text, "Overwrite existing configuration?");
  EXPECT_EQ(boxes::Messages()[0].title, "Request");
  EXPECT_EQ(boxes::Messages()[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(FileValue(file_, kMain, "Config0", ""), "Old");

  boxes::SetYesNoAnswer(MessageAnswer::Yes);
  EXPECT_TRUE(ExportToFile(file_, g_model, fields, EditorEntry{}));
  EXPECT_EQ(SectionOf(file_, {Group::Keyboard, 7}), "");
  EXPECT_EQ(test_files::ReadFile(file_).find("[Notes]"), std::string::npos);
  EXPECT_EQ(FileValue(file_, kMain, "Config0", ""), "Analog");
}

TEST_F(ExportFileTest, AFailedWriteKeepsTheOldFileAndSaysSo) {
  const std::string old = "[Quillon]\r\nConfig0=Old\r\n";
  test_files::WriteFile(file_, old);
  test_files::MakeFolder(ExportWorkFile(file_));  // the work file cannot be created
  WindowFields fields = RichConfiguration();
  EXPECT_FALSE(ExportToFile(file_, g_model, fields, EditorEntry{}));
  EXPECT_EQ(test_files::ReadFile(file_), old);
  ASSERT_EQ(boxes::Messages().size(), 2u);
  EXPECT_EQ(boxes::Messages()[1].text, "File \"" + file_ + "\" could not be written.");
  EXPECT_EQ(boxes::Messages()[1].title, "Error");
  EXPECT_EQ(boxes::Messages()[1].icon, MessageIcon::Critical);
}

TEST_F(ExportFileTest, AValueThatCannotBeWrittenFailsTheWholeSave) {
  WindowFields fields = RichConfiguration();
  g_model.keyActions[0].keySeq = "line one\r\nline two";
  EXPECT_FALSE(ExportToFile(file_, g_model, fields, EditorEntry{}));
  EXPECT_FALSE(test_files::Exists(file_));
  EXPECT_FALSE(test_files::Exists(ExportWorkFile(file_)));
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].title, "Error");
}

TEST_F(ExportFileTest, AMissingFileIsReportedAndChangesNothing) {
  g_model.configNames[0] = "Mine";
  const std::string missing = test_files::InFolder(folder_, "none.qlf");
  EXPECT_FALSE(ImportFromFile(missing, g_model, g_session));
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].text, "File \"" + missing + "\" does not exist.");
  EXPECT_EQ(boxes::Messages()[0].title, "Error");
  EXPECT_EQ(g_model.configNames[0], "Mine");
}

TEST_F(ExportFileTest, LoadingUsesDefaultsAndSkipsMissingAndEmptySections) {
  test_files::WriteFile(file_,
                        "[Quillon]\r\nConfig0=Fly\r\n"
                        "[Key 01]\r\nmodifier=4\r\nVirtualKey=112\r\n"
                        "[Key 03]\r\nVirtualKey=113\r\n"
                        "[Joy 02]\r\n"
                        "[Joy 05]\r\nButtons=3\r\n");
  ASSERT_TRUE(ImportFromFile(file_, g_model, g_session));
  EXPECT_EQ(g_model.configNames[0], "Fly");
  EXPECT_EQ(g_model.configNames[1], "8-Way") << "a missing name takes its factory default";
  EXPECT_EQ(g_model.ultraMapPath, JoinPath(folder_, "UltraMap.exe"));
  EXPECT_EQ(g_model.useKeyboard, 0) << "a file without UseKeyboard turns keyboard capture off";
  EXPECT_EQ(g_model.applyOnStart, 1);
  EXPECT_EQ(g_model.changeTimeout, 2048);
  EXPECT_EQ(g_model.pollPerSecond, 16);
  EXPECT_EQ(g_model.showTrayIcon, 0) << "a file older than the notice switches leaves them off";
  EXPECT_EQ(g_model.showMapName, 0);
  ASSERT_EQ(g_model.keyCount, 2);
  EXPECT_EQ(g_model.keyActions[0].modifier, 0) << "a name in another case is not found";
  EXPECT_EQ(g_model.keyActions[1].virtualKey, 113);
  EXPECT_EQ(g_model.keyActions[1].action, StuffKeys) << "a missing action is read as the runtime reads it";
  ASSERT_EQ(g_model.buttonCount, 1);
  EXPECT_EQ(g_model.buttonActions[0].buttons, 3);
}

TEST_F(ExportFileTest, NumbersAreReadFromTheStartOfTheirText) {
  test_files::WriteFile(file_,
                        "[Quillon]\r\nChangeTimeout=1500ms\r\nPollPerSecond=fast\r\nUseHook=2.5\r\n"
                        "UseJoystick=99999\r\nDefaultConfig=-0\r\n"
                        "[Joy 01]\r\nButtons=70000\r\nAction=12345678901234567890123\r\nSendType=-32768\r\n"
                        "[Key 01]\r\nVirtualKey=  65\r\n");
  ASSERT_TRUE(ImportFromFile(file_, g_model, g_session));
  EXPECT_EQ(g_model.changeTimeout, 1500);
  EXPECT_EQ(g_model.pollPerSecond, 0) << "no number gives 0";
  EXPECT_EQ(g_model.useHook, 3);
  EXPECT_EQ(g_model.useJoystick, 0) << "beyond 16 bits: the default";
  EXPECT_EQ(g_model.defaultConfig, 0);
  EXPECT_EQ(g_model.buttonActions[0].buttons, 70000) << "buttons 1 to 32, as the runtime reads them";
  EXPECT_EQ(g_model.buttonActions[0].action, StuffKeys) << "beyond 64 bits: the default, as the runtime's";
  EXPECT_EQ(g_model.buttonActions[0].sendType, -32768);
  EXPECT_EQ(g_model.keyActions[0].virtualKey, 65);
}

// A section past the profile functions' first buffer: the lines after its
// end must not take their defaults (a lost UseKeyboard=1 turns keyboard
// capture off).
TEST_F(ExportFileTest, SectionsLongerThan8KBAreImportedWhole) {
  const std::string options = "/load %s " + std::string(9000, 'o');
  std::string content = "[Quillon]\r\nConfig0=Fly\r\nUltraMapOptions=" + options + "\r\n";
  for (int i = 0; i < 90; ++i) content += "Note" + std::to_string(10 + i) + "=" + std::string(100, 'n') + "\r\n";
  content += "UseKeyboard=1\r\nChangeTimeout=1500\r\n";
  content += "[Key 01]\r\nModifier=1\r\n";
  for (int i = 0; i < 90; ++i) content += "Note" + std::to_string(10 + i) + "=" + std::string(100, 'n') + "\r\n";
  content += "VirtualKey=112\r\nAppName=late.exe\r\n";
  test_files::WriteFile(file_, content);
  ASSERT_TRUE(ImportFromFile(file_, g_model, g_session));
  EXPECT_EQ(g_model.configNames[0], "Fly");
  EXPECT_EQ(g_model.ultraMapOptions, options);
  EXPECT_EQ(g_model.useKeyboard, 1);
  EXPECT_EQ(g_model.changeTimeout, 1500);
  ASSERT_EQ(g_model.keyCount, 1);
  EXPECT_EQ(g_model.keyActions[0].modifier, 1);
  EXPECT_EQ(g_model.keyActions[0].virtualKey, 112);
  EXPECT_EQ(g_model.keyActions[0].appName, "late.exe");
  EXPECT_TRUE(boxes::Messages().empty());
}

TEST_F(ExportFileTest, LoadingWritesNothingToTheRegistry) {
  WindowFields fields = RichConfiguration();
  ASSERT_TRUE(ExportToFile(file_, g_model, fields, EditorEntry{}));
  ASSERT_TRUE(ImportFromFile(file_, g_model, g_session));
  EXPECT_FALSE(test_registry::KeyExists(test_registry::SettingsPath()));
  EXPECT_TRUE(shell::Calls().empty());
}

TEST_F(ExportFileTest, TheSaveAndLoadCommandsAskForAFile) {
  WindowFields fields = RichConfiguration();
  SaveCommand(g_model, g_session, fields, EditorEntry{});
  EXPECT_FALSE(test_files::Exists(file_)) << "cancelled";
  ASSERT_EQ(shell::DialogsShown().size(), 1u);
  const FileDialogOptions& save = shell::DialogsShown()[0];
  EXPECT_EQ(save.title, "Save configuration");
  EXPECT_EQ(save.kind, FileDialogKind::Save);
  ASSERT_EQ(save.filters.size(), 1u);
  EXPECT_EQ(save.filters[0].first, "Quillon configuration files");
  EXPECT_EQ(save.filters[0].second, "*.qlf");
  EXPECT_EQ(save.defaultExtension, "qlf");
  EXPECT_EQ(save.initialFolder, folder_);

  // The dialog answers with a Windows path, which natively names a file in
  // the scratch folder's parent.
  const std::string chosen = JoinPath(folder_, "chosen.qlf");
  shell::SetDialogAnswer(chosen);
  SaveCommand(g_model, g_session, fields, EditorEntry{});
  EXPECT_TRUE(test_files::Exists(chosen));

  g_model.keyCount = 0;
  EXPECT_TRUE(LoadCommand(g_model, g_session));
  EXPECT_EQ(shell::DialogsShown().back().title, "Load configuration");
  EXPECT_EQ(shell::DialogsShown().back().kind, FileDialogKind::Open);
  EXPECT_EQ(g_model.keyCount, 2);
  test_files::RemoveScratchFolder(chosen);
}

}  // namespace
}  // namespace quillon

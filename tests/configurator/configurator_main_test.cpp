// Start-up: the command line, the data folder, the command-line import, a
// second start, and the runtime and shortcut commands.
#include <gtest/gtest.h>

#include "configurator/app_error.h"
#include "configurator/configurator_main.h"
#include "configurator/export_file.h"
#include "configurator/path_helpers.h"
#include "configurator/runtime_control.h"
#include "configurator/seams/file_system.h"
#include "configurator/settings_model.h"
#include "tests/configurator/test_files.h"
#include "tests/fakes/fake_configurator_shell.h"
#include "tests/fakes/fake_configurator_messages.h"
#include "tests/fakes/fake_settings_lock.h"
#include "tests/kit/test_registry.h"
#if QUILLON_FAKE_REGISTRY
#include "tests/fakes/fake_registry.h"
#endif

namespace quillon {
namespace {

// The session that the start opened the window on, and a model for the
// commands tested here.
ConfiguratorSettings g_model;
ConfiguratorSession g_session;

// The start as the program runs it, with the window (a fake) opened on
// g_session.
int ConfiguratorMain(const std::string& programName, const std::string& commandTail) {
  ConfiguratorStart start = StartConfigurator(programName, commandTail);
  if (!start.window) return start.exitStatus;
  g_session = std::move(*start.window);
  return 0;
}

namespace shell = fake_configurator_shell;
namespace boxes = fake_configurator_messages;
using Args = std::vector<std::string>;

TEST(CommandLineTest, SplitsAtBlanksAndKeepsQuotedTextWhole) {
  struct {
    const char* tail;
    Args expected;
  } const cases[] = {
      {"", {"QC"}},
      {"   ", {"QC"}},
      {"a.qlf", {"QC", "a.qlf"}},
      {"  C:\\My Maps\\a.qlf  ", {"QC", "C:\\My", "Maps\\a.qlf"}},
      {"\"C:\\My Maps\\a.qlf\"", {"QC", "C:\\My Maps\\a.qlf"}},
      {"\"C:\\My Maps\\a.qlf\"   second", {"QC", "C:\\My Maps\\a.qlf", "second"}},
      {"\"ab\"cd", {"QC", "ab", "d"}},
      {"\"unclosed path", {"QC", "\"unclosed", "path"}},
      {"one   two", {"QC", "one", "two"}},
      {"\"\"", {"QC", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine("QC", c.tail), c.expected) << c.tail;
}

class ConfiguratorMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::Reset();
    boxes::Reset();
    test_registry::DeleteSettingsTree();
    g_model = ConfiguratorSettings{};
    g_session = ConfiguratorSession{};
    appData_ = test_files::MakeScratchFolder("appdata");
    shell::SetFolderPath(kFolderCommonAppData, appData_);
    dataFolder_ = JoinPath(JoinPath(appData_, "KWP"), "QuillonConfig");
  }
  void TearDown() override {
    test_registry::DeleteSettingsTree();
#if QUILLON_FAKE_REGISTRY
    fake_registry::Reset();  // a refused write must not outlive its test
#endif
    test_files::RemoveScratchFolder(JoinPath(appData_, "KWP"));  // natively a sibling of the scratch folder
    test_files::RemoveScratchFolder(dataFolder_);
    test_files::RemoveScratchFolder(appData_);
  }
  std::string WriteExport(const std::string& name, const std::string& content) {
    std::string path = test_files::InFolder(appData_, name);
    test_files::WriteFile(path, content);
    return path;
  }
  std::string appData_;
  std::string dataFolder_;
};

TEST_F(ConfiguratorMainTest, FirstStartCreatesBothFolderLevelsAndOpensTheWindow) {
  EXPECT_EQ(ConfiguratorMain("QuillonConfig", ""), 0);
  EXPECT_EQ(g_session.dataFolder, dataFolder_);
  EXPECT_TRUE(PathExists(JoinPath(appData_, "KWP")));
  EXPECT_TRUE(PathExists(dataFolder_));
  EXPECT_EQ(shell::LastFolderIdAsked(), kFolderCommonAppData | kFolderFlagCreate);
  // Never with the permissions the common data folder hands down.
  std::vector<std::string> created;
  for (const std::string& call : shell::Calls())
    if (call.rfind("CreateSharedDataFolder ", 0) == 0) created.push_back(call.substr(23));
  EXPECT_EQ(created, (std::vector<std::string>{JoinPath(appData_, "KWP"), dataFolder_}));
  EXPECT_EQ(g_session.programFolder, "C:\\Program Files\\KWP\\");
  EXPECT_EQ(g_session.defaultConfigNames[3], "4-Way, Diagonals Only");
  EXPECT_EQ(g_session.helpFilePath, "C:\\Program Files\\KWP\\quillon.chm");
  EXPECT_EQ(ArgumentAt(g_session.arguments, 0), "QuillonConfig");
  EXPECT_EQ(ArgumentAt(g_session.arguments, 1), "");
  EXPECT_EQ(ArgumentAt(g_session.arguments, -1), "");
  EXPECT_TRUE(boxes::Messages().empty());
}

// A folder already there (the installer's) is used as it is; one that cannot
// be made stops the start with one box.
TEST_F(ConfiguratorMainTest, AnExistingDataFolderIsKeptAndOneThatCannotBeMadeStopsTheStart) {
  ConfiguratorMain("QuillonConfig", "");
  shell::ClearCalls();
  EXPECT_EQ(ConfiguratorMain("QuillonConfig", ""), 0);
  for (const std::string& call : shell::Calls()) EXPECT_EQ(call.find("CreateSharedDataFolder"), std::string::npos);

  test_files::RemoveScratchFolder(dataFolder_);
  shell::SetSharedFolderCreationFails(true);
  EXPECT_EQ(ConfiguratorMain("QuillonConfig", ""), 1);
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].text, "The data folder \"" + dataFolder_ + "\" could not be created.");
}

TEST_F(ConfiguratorMainTest, ASecondStartFocusesTheFirstAndEnds) {
  shell::SetWindowWithTitle(" Quillon Configurator", true);
  EXPECT_EQ(ConfiguratorMain("QuillonConfig", ""), 0);
  EXPECT_EQ(shell::Calls().back(), "SendMessage  Quillon Configurator 7 0 0");
}

TEST_F(ConfiguratorMainTest, ACommandLineImportWritesTheTreeAndSignalsWithoutAWindow) {
  std::string file = WriteExport("change to fly.qlf",
                                 "[Quillon]\r\nConfig0=Fly\r\nUseKeyboard=1\r\nChangeTimeout=900\r\n"
                                 "[Key 01]\r\nVirtualKey=112\r\nAppParms=--config=x.ini\r\n");
  shell::SetWindowWithTitle(" Quillon Configurator", true);  // the import runs all the same
  EXPECT_EQ(ConfiguratorMain("QuillonConfig", "\"" + file + "\" ignored"), 0);
  const std::string main = test_registry::SettingsPath();
  EXPECT_EQ(test_registry::ReadText(main, "Config0", ""), "Fly");
  EXPECT_EQ(test_registry::ReadNumber(main, "ChangeTimeout", 0), 900);
  EXPECT_EQ(test_registry::ReadNumber(test_registry::KeyActionPath(1), "VirtualKey", 0), 112);
  EXPECT_EQ(test_registry::ReadText(test_registry::KeyActionPath(1), "AppParms", ""), "--config=x.ini");
  ASSERT_FALSE(shell::Calls().empty());
  // The runtime beside the configurator, not one in the data folder.
  EXPECT_EQ(shell::Calls().back(), "StartProcess \"C:\\Program Files\\KWP\\quillon.exe\" R|_quillon|0");
}

#if QUILLON_FAKE_REGISTRY
TEST_F(ConfiguratorMainTest, AnImportThatCannotBeWrittenSaysSoAndTellsNoRuntime) {
  std::string file = WriteExport("fly.qlf", "[Quillon]\r\nConfig0=Fly\r\n[Key 01]\r\nVirtualKey=112\r\n");
  test_registry::CreateKey(test_registry::KeyActionPath(1));
  fake_registry::RefuseWritesTo(test_registry::KeyActionPath(1));
  shell::SetWindowWithClass("Quillon", true);
  EXPECT_NE(ConfiguratorMain("QuillonConfig", file), 0);
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_NE(boxes::Messages()[0].text.find("Software\\KWP\\Quillon\\01"), std::string::npos);
  for (const std::string& call : shell::Calls()) EXPECT_EQ(call.find("SendMessage Quillon"), std::string::npos);
}
#endif

// The runtime is reading the tree and holds its lock: it has read the main
// key and reads the entries in the rest of its hold. An import waits for it,
// so the runtime reads the old entries beside the old main key, and the
// runtime is told only once the lock is let go. A holder that never lets go
// stops the import with one box, and nothing is written.
TEST_F(ConfiguratorMainTest, AnImportWritesOnlyOnceTheRuntimesReadHasLetGo) {
  namespace reg = test_registry;
  std::string file = WriteExport("fly.qlf", "[Quillon]\r\nConfig0=Fly\r\n[Key 01]\r\nVirtualKey=120\r\n");
  for (bool readerLetsGo : {true, false}) {
    fake_settings_lock::Reset();
    shell::ClearCalls();
    boxes::Reset();
    reg::DeleteSettingsTree();
    reg::WriteText(reg::SettingsPath(), "Config0", "Race");
    reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", 112);
    reg::WriteNumber(reg::KeyActionPath(2), "VirtualKey", 113);
    shell::SetWindowWithClass("Quillon", true);
    std::vector<int64_t> entriesRead;
    bool readerRan = false;
    auto restOfRead = [&] {
      readerRan = true;
      for (int n = 1; n <= 2; ++n) entriesRead.push_back(reg::ReadNumber(reg::KeyActionPath(n), "VirtualKey", -1));
    };
    fake_settings_lock::HeldElsewhere(readerLetsGo ? std::function<void()>(restOfRead) : nullptr);
    const int status = ConfiguratorMain("QuillonConfig", file);
    if (!readerLetsGo) {
      EXPECT_EQ(status, 1);
      ASSERT_EQ(boxes::Messages().size(), 1u);
      EXPECT_NE(boxes::Messages()[0].text.find("for more than 5 seconds. Nothing was written"), std::string::npos);
      EXPECT_EQ(reg::ReadText(reg::SettingsPath(), "Config0", ""), "Race");
      EXPECT_EQ(reg::ReadNumber(reg::KeyActionPath(2), "VirtualKey", -1), 113);
      for (const std::string& call : shell::Calls()) EXPECT_EQ(call.find("SendMessage Quillon"), std::string::npos);
      continue;
    }
    if (!readerRan) restOfRead();  // a write that did not wait: the runtime reads after it
    EXPECT_EQ(status, 0);
    EXPECT_EQ(entriesRead, (std::vector<int64_t>{112, 113})) << "the runtime read the entries of another tree";
    EXPECT_EQ(reg::ReadNumber(reg::KeyActionPath(1), "VirtualKey", -1), 120);
    EXPECT_FALSE(reg::KeyExists(reg::KeyActionPath(2)));
    EXPECT_EQ(fake_settings_lock::Calls(), (std::vector<std::string>{"Take 5000", "Release"}));
    EXPECT_FALSE(fake_settings_lock::HeldHere()) << "the runtime's reload would wait for it";
    EXPECT_EQ(shell::Calls().back(), "SendMessage Quillon 32769 0 0");
  }
  fake_settings_lock::Reset();
}

TEST_F(ConfiguratorMainTest, ACommandLineImportTellsARunningRuntime) {
  std::string file = WriteExport("fly.qlf", "[Quillon]\r\nConfig0=Fly\r\n");
  shell::SetWindowWithClass("Quillon", true);
  EXPECT_EQ(ConfiguratorMain("QuillonConfig", file), 0);
  EXPECT_EQ(shell::Calls().back(), "SendMessage Quillon 32769 0 0");

  // A runtime that does not answer is left alone; no second copy is started.
  shell::ClearCalls();
  shell::SetWindowHung("Quillon", true);
  EXPECT_EQ(ConfiguratorMain("QuillonConfig", file), 0);
  EXPECT_EQ(shell::Calls().back(), "SendMessage Quillon 32769 0 0 (timed out)");
}

TEST_F(ConfiguratorMainTest, AMissingImportFileChangesNothing) {
  EXPECT_EQ(ConfiguratorMain("QuillonConfig", "missing.qlf"), 0);
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].text, "File \"missing.qlf\" does not exist.");
  EXPECT_FALSE(test_registry::KeyExists(test_registry::SettingsPath()));
  for (const std::string& call : shell::Calls())
    EXPECT_TRUE(call.rfind("FolderPath", 0) == 0 || call.rfind("CreateSharedDataFolder", 0) == 0) << call;
}

TEST_F(ConfiguratorMainTest, AnImportPathWithWildcardsIsAMissingFileAndWritesNothing) {
  WriteExport("fly.qlf", "[Quillon]\r\nConfig0=Fly\r\n");
  const std::string pattern = test_files::InFolder(appData_, "f*.qlf");
  EXPECT_EQ(ConfiguratorMain("QuillonConfig", pattern), 0);
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].text, "File \"" + pattern + "\" does not exist.");
  EXPECT_FALSE(test_registry::KeyExists(test_registry::SettingsPath()));
}

TEST_F(ConfiguratorMainTest, WithoutItsDataFolderTheConfiguratorStopsWithTheErrorShown) {
  shell::SetFolderResult(kFolderCommonAppData, 1, "");
  std::string file = WriteExport("fly.qlf", "[Quillon]\r\nConfig0=Fly\r\n");
  EXPECT_NE(ConfiguratorMain("QuillonConfig", file), 0);
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].text, "Valid PathId but folder doesn't exist");
  EXPECT_EQ(boxes::Messages()[0].title, "Error");
  EXPECT_FALSE(test_registry::KeyExists(test_registry::SettingsPath())) << "nothing written";
}

TEST_F(ConfiguratorMainTest, UnloadAsksTheRuntimeToQuitOnlyWhenItRuns) {
  g_session.programFolder = "C:\\Program Files\\Quillon";
  UnloadRuntime(g_session.programFolder);
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].text, "Quillon is not resident.");
  EXPECT_EQ(boxes::Messages()[0].title, "Information");
  EXPECT_EQ(boxes::Messages()[0].icon, MessageIcon::Information);
  EXPECT_TRUE(shell::Calls().empty());

  shell::SetWindowWithClass("Quillon", true);
  UnloadRuntime(g_session.programFolder);
  EXPECT_EQ(shell::Calls(),
            (std::vector<std::string>{"StartProcess \"C:\\Program Files\\Quillon\\quillon.exe\" Q|_quillon|0"}));
  EXPECT_EQ(boxes::Messages().size(), 1u);
}

TEST_F(ConfiguratorMainTest, ShortcutsPointAtTheRuntimeBesideTheConfigurator) {
  ConfiguratorMain("QuillonConfig", "");
  shell::SetFolderPath(kFolderStartup, "C:\\Users\\me\\Start Menu\\Programs\\Startup");
  AddShortcut(g_session.programFolder, kFolderStartup);
  EXPECT_EQ(shell::LastFolderIdAsked(), kFolderStartup) << "without creation";
  ASSERT_EQ(shell::SavedLinks().size(), 1u);
  const ShellLinkSpec& link = shell::SavedLinks()[0];
  EXPECT_EQ(link.linkPath, "C:\\Users\\me\\Start Menu\\Programs\\Startup\\Quillon.lnk");
  EXPECT_EQ(link.target, "C:\\Program Files\\KWP\\Quillon.exe");
  // Its own folder as the current one, not a folder every user may add
  // files to: a relative "Run application" path or a library looked for
  // there would be found in it.
  EXPECT_EQ(link.workingFolder, "C:\\Program Files\\KWP\\");
  EXPECT_EQ(link.arguments, "");
  EXPECT_EQ(link.iconFile, link.target);
  EXPECT_EQ(link.iconIndex, 0);
  EXPECT_EQ(link.showCommand, 7);
  EXPECT_TRUE(boxes::Messages().empty());
}

TEST_F(ConfiguratorMainTest, ARuntimeNotStartedOrUnloadedAndALinkNotWrittenEachShowOneError) {
  g_session.programFolder = "C:\\Program Files\\Quillon";
  shell::SetProcessStarts(false);
  EXPECT_FALSE(SignalRuntime(g_session.programFolder));
  shell::SetWindowWithClass("Quillon", true);
  UnloadRuntime(g_session.programFolder);
  shell::SetFolderPath(kFolderDesktopDirectory, "C:\\Users\\me\\Desktop");
  shell::SetShellLinkSaves(false);
  AddShortcut(g_session.programFolder, kFolderDesktopDirectory);
  std::vector<std::string> texts;
  for (const auto& box : boxes::Messages()) {
    texts.push_back(box.text);
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.icon, MessageIcon::Critical);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "Quillon could not be started from \"C:\\Program Files\\Quillon\\quillon.exe\".",
                       "Quillon could not be unloaded: \"C:\\Program Files\\Quillon\\quillon.exe\" could not be "
                       "started.",
                       "The shortcut \"C:\\Users\\me\\Desktop\\Quillon.lnk\" could not be written."}));
}

// A runtime in a folder that other users may write (a copy unpacked at the
// root of a drive) is started, unloaded with, and linked to only when the
// user or an administrator put it there; each refusal is one box naming it.
TEST_F(ConfiguratorMainTest, ARuntimeThatAnotherUserMayHavePutIsNeitherStartedNorLinkedTo) {
  const std::string folder = test_files::MakeScratchFolder("portable");
  const std::string runtime = JoinPath(folder, "quillon.exe");
  test_files::WriteFile(runtime, "MZ");
  shell::SetFolderPath(kFolderStartup, "C:\\Users\\me\\Startup");
  const struct {
    const char* label;
    bool othersMayWrite;
    bool ownedByOthers;
    bool starts;
  } rows[] = {
      {"private folder", false, true, true},
      {"user's own file", true, false, true},
      {"planted file", true, true, false},
  };
  for (const auto& row : rows) {
    shell::ClearCalls();
    boxes::Reset();
    shell::SetWindowWithClass("Quillon", false);
    shell::SetFoldersOthersMayWrite(row.othersMayWrite ? std::set<std::string>{FolderOf(runtime, "\\/")}
                                                       : std::set<std::string>{});
    shell::SetFilesOwnedByOthers(row.ownedByOthers ? std::set<std::string>{runtime} : std::set<std::string>{});
    const size_t linksBefore = shell::SavedLinks().size();
    EXPECT_EQ(SignalRuntime(folder), row.starts) << row.label;
    shell::SetWindowWithClass("Quillon", true);
    UnloadRuntime(folder);
    AddShortcut(folder, kFolderStartup);
    size_t starts = 0;
    for (const std::string& call : shell::Calls()) starts += call.rfind("StartProcess", 0) == 0;
    EXPECT_EQ(starts, row.starts ? 2u : 0u) << row.label;
    EXPECT_EQ(shell::SavedLinks().size() - linksBefore, row.starts ? 1u : 0u) << row.label;
    ASSERT_EQ(boxes::Messages().size(), row.starts ? 0u : 3u) << row.label;
    if (row.starts) continue;
    const std::string why = ": \"" + runtime +
                            "\" lies in a folder where other users may create files, and neither you nor an "
                            "administrator put it there.";
    EXPECT_EQ(boxes::Messages()[0].text, "Quillon was not started" + why);
    EXPECT_EQ(boxes::Messages()[1].text, "Quillon was not unloaded" + why);
    EXPECT_EQ(boxes::Messages()[2].text, "The shortcut \"C:\\Users\\me\\Startup\\Quillon.lnk\" was not written" + why);
    EXPECT_EQ(boxes::Messages()[0].title, "Error");
  }
  DeleteFileAt(runtime);
  test_files::RemoveScratchFolder(folder);
}

TEST_F(ConfiguratorMainTest, AShortcutFolderThatCannotBeHadStopsTheCommandWithItsText) {
  AddShortcut(g_session.programFolder, kFolderDesktopDirectory);  // the fake knows no such folder: invalid id
  EXPECT_TRUE(shell::SavedLinks().empty());
  ASSERT_EQ(boxes::Messages().size(), 1u);
  EXPECT_EQ(boxes::Messages()[0].text, "Invalid PathId for requested function");
  EXPECT_EQ(boxes::Messages()[0].title, "Error");
}

}  // namespace
}  // namespace quillon

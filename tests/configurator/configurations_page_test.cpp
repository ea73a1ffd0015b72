// The configuration lists against fake controls and a data folder in memory
// that tells case apart: stored names as the lists show them, the moves and
// the limit of ten, deleting, and dropped files; the selected map's games
// list and window pattern, the MAME list import, and Apply's games files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "configurator/apply_command.h"
#include "configurator/configurations_page.h"
#include "shared/games_list.h"
#include "configurator/resource_ids.h"
#include "tests/fakes/fake_configurator_files.h"
#include "tests/fakes/fake_configurator_messages.h"
#include "tests/fakes/fake_configurator_shell.h"
#include "tests/fakes/fake_progress_window.h"
#include "tests/fakes/fake_window_controls.h"

namespace quillon {
namespace {

// The model and session that this file's tests hand to the code.
ConfiguratorSettings g_model;
ConfiguratorSession g_session;

namespace files = fake_configurator_files;
namespace messages = fake_configurator_messages;
using Names = std::vector<std::string>;

constexpr int kAvailable = IDC_lstAvailableConfigs;
constexpr int kActive = IDC_lstActiveConfigs;
std::string InData(const std::string& name) { return "C:\\Data\\" + name; }

Names Rows(int list) { return fake_window_controls::RowTexts(list); }
Names Shown() {
  Names texts;
  for (const auto& shown : messages::Messages()) texts.push_back(shown.title + ": " + shown.text);
  return texts;
}

// Map files named `maps`, the model holding `stored`, the lists filled, and
// `selected` selected in `list`.
void Start(const Names& maps, const Names& stored, int list = kAvailable, const std::string& selected = "") {
  fake_window_controls::Reset();
  files::Reset();
  messages::Reset();
  fake_window_controls::State(kAvailable).sorted = true;  // as its template makes it
  g_session.dataFolder = "C:\\Data";
  g_model = ConfiguratorSettings{};
  for (const std::string& name : maps) files::SetFile(InData(name + ".ugc"), "map");
  for (size_t i = 0; i < stored.size(); ++i) g_model.configNames[i] = stored[i];
  FillConfigLists(g_session.dataFolder, g_model);
  const Names rows = Rows(list);
  SelectRow(list, int(std::find(rows.begin(), rows.end(), selected) - rows.begin()));
}

TEST(ConfigurationsPageTest, TheListsShowTheStoredNamesWhoseFilesExist) {
  Start({"Alpha", "Beta", "Gamma", "Delta"}, {"Beta", "Alpha", "", "Gamma", "Beta", "Ghost", "gamma"});
  EXPECT_EQ(Rows(kActive), (Names{"Beta", "Alpha", "Gamma"}));
  files::SetFile(InData("Road.UGC"), "map");
  files::SetFile(InData("Older.ugcx"), "found as OLDER~1.UGC, yet no map");
  RefreshConfigLists(g_session.dataFolder);
  EXPECT_EQ(Rows(kActive), (Names{"Beta", "Alpha", "Gamma"}));
  EXPECT_EQ(Rows(kAvailable), (Names{"Delta", "Road.UGC"}));
  WindowFields fields;
  ReadConfigurationsFields(fields);
  EXPECT_EQ(fields.activeConfigs, (Names{"Beta", "Alpha", "Gamma"}));

  files::Remove(InData("Alpha.ugc"));  // removed outside
  RefreshConfigLists(g_session.dataFolder);
  EXPECT_EQ(Rows(kActive), (Names{"Beta", "Gamma"}));
}

TEST(ConfigurationsPageTest, MovesBetweenAndWithinTheLists) {
  const Names maps = {"Alpha", "beta", "Gamma", "Delta", "Echo", "Fox", "Golf", "Hotel", "India", "Juliet", "Kilo"};
  const Names nine(maps.begin(), maps.begin() + 9), ten(maps.begin(), maps.begin() + 10);
  Names tenth = nine;
  tenth.push_back("Kilo");
  const Names three = {"Alpha", "beta", "Gamma"};
  const auto click = ControlEvent::Click, doubleClick = ControlEvent::DoubleClick;
  const struct {
    Names stored;
    int list;
    const char* selected;
    int control;
    ControlEvent event;
    Names active;
    int activeSelection;
    Names shown;
  } cases[] = {
      {{"Alpha"}, kAvailable, "Kilo", IDC_cmdInsert, click, {"Alpha", "Kilo"}, -1, {}},
      {{"Alpha"}, kAvailable, "Kilo", kAvailable, doubleClick, {"Alpha", "Kilo"}, -1, {}},
      {{"Alpha"}, kAvailable, "", IDC_cmdInsert, click, {"Alpha"}, -1, {}},
      {nine, kAvailable, "Kilo", IDC_cmdInsert, click, tenth, -1, {}},
      {ten,
       kAvailable,
       "Kilo",
       IDC_cmdInsert,
       click,
       ten,
       -1,
       {"Error: There is a limit of 10 active configurations."}},
      {three, kActive, "Alpha", IDC_cmdUp, click, three, 0, {}},
      {three, kActive, "Gamma", IDC_cmdUp, click, {"Alpha", "Gamma", "beta"}, 1, {}},
      {three, kActive, "Gamma", IDC_cmdDown, click, three, 2, {}},
      {three, kActive, "Alpha", IDC_cmdDown, click, {"beta", "Alpha", "Gamma"}, 1, {}},
      {three, kActive, "beta", IDC_cmdRemove, click, {"Alpha", "Gamma"}, -1, {}},
      {three, kActive, "Alpha", kActive, doubleClick, {"beta", "Gamma"}, -1, {}},
  };
  for (const auto& c : cases) {
    Start(maps, c.stored, c.list, c.selected);
    OnConfigurationsEvent(g_session.dataFolder, c.control, c.event);
    const Names& active = c.active;
    const std::string what = std::string(c.selected) + " in list " + std::to_string(c.list);
    EXPECT_EQ(Rows(kActive), active) << what;
    EXPECT_EQ(SelectedRow(kActive), c.activeSelection) << what;
    EXPECT_EQ(Shown(), c.shown) << what;
    // Every name is in one list; an unselected one is back in its sorted
    // place, which for these is the top.
    EXPECT_EQ(Rows(kAvailable).size() + active.size(), maps.size()) << what;
    if (c.list == kActive && active.size() < c.stored.size()) {
      EXPECT_EQ(Rows(kAvailable)[0], c.selected) << what;
    }
  }
}

TEST(ConfigurationsPageTest, DeleteAsksThenRemovesTheListedMapAndItsSound) {
  Start({"Road", "Other"}, {}, kAvailable, "Road");
  files::SetFile(InData("Road.wav"), "sound");
  messages::SetYesNoAnswer(MessageAnswer::No);
  DeleteConfiguration(g_session.dataFolder);
  EXPECT_EQ(Shown(), (Names{"Request: Permanently delete selected configuration?"}));
  EXPECT_TRUE(files::Exists(InData("Road.ugc")));

  messages::SetYesNoAnswer(MessageAnswer::Yes);
  OnConfigurationsEvent(g_session.dataFolder, IDC_cmdDelete, ControlEvent::Click);
  EXPECT_FALSE(files::Exists(InData("Road.ugc")));  // not "ROAD.ugc"
  EXPECT_FALSE(files::Exists(InData("Road.wav")));
  EXPECT_EQ(Rows(kAvailable), (Names{"Other"}));

  // A map that will not go is named; its missing sound is not.
  messages::Reset();
  files::SetLocked(InData("Other.ugc"));
  SelectRow(kAvailable, 0);
  DeleteConfiguration(g_session.dataFolder);
  EXPECT_EQ(Shown(),
            (Names{"Request: Permanently delete selected configuration?", "Error: Other.ugc: error deleting file."}));
  EXPECT_EQ(Rows(kAvailable), (Names{"Other"}));
}

TEST(ConfigurationsPageTest, DroppedMapsAndSoundsAreCopiedAndListed) {
  const Names dropped = {"D:\\Road.ugc", "D:\\Road.wav", "D:\\notes.txt", "D:\\Gone.ugc", InData("Other.ugc")};
  for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
    Start({"Other"}, {});
    files::SetFile(InData("Road.wav"), "old");
    for (const std::string& path : dropped) files::SetFile(path, path == InData("Other.ugc") ? "map" : "new");
    files::Remove("D:\\Gone.ugc");
    messages::SetYesNoAnswer(answer);
    ImportDroppedFiles(g_session.dataFolder, dropped);
    // A file of the data folder itself is in place already: no question.
    EXPECT_EQ(Shown(), (Names{"Warning: Road.wav: file exists, overwrite?", "Error: Gone.ugc: error copying file."}));
    EXPECT_EQ(files::Content(InData("Road.ugc")), "new");
    EXPECT_EQ(files::Content(InData("Road.wav")), answer == MessageAnswer::Yes ? "new" : "old");
    EXPECT_FALSE(files::Exists(InData("notes.txt")));
    EXPECT_EQ(files::Content(InData("Other.ugc")), "map");
    EXPECT_EQ(Rows(kAvailable), (Names{"Other", "Road"}));
  }
}

// Three active maps; Alpha has a window pattern and a games list with bare
// line ends, Beta neither; the page shown as the window shows it.
void StartDetails() {
  Start({"Alpha", "Beta", "Gamma"}, {"Alpha", "Beta", "Gamma"});
  g_model.configWindows[0] = "MAME: *";
  files::SetFile(InData("Alpha.games"), "pacman\nmspacman\n");
  ShowConfigurationsPage(g_session.dataFolder, g_model);
}
void Select(const std::string& map) {
  const Names rows = Rows(kActive);
  SelectRow(kActive, int(std::find(rows.begin(), rows.end(), map) - rows.begin()));
  OnConfigurationsEvent(g_session.dataFolder, kActive, ControlEvent::SelectionChange);
}

TEST(ConfigurationsPageTest, TheFieldsShowTheSelectedMapAndKeepEditsByMap) {
  using Lists = std::map<std::string, std::string>;
  const struct {
    const char* what;
    std::function<void()> act;
    const char* games;   // the games field afterwards
    const char* window;  // the window field afterwards
    Lists written;       // the games lists that Apply would write
    Names windows;       // the stored patterns, slot by slot
  } cases[] = {
      {"nothing selected", [] {}, "", "", {}, {"MAME: *", "", ""}},
      {"a map's file and pattern",
       [] { Select("Alpha"); },
       "pacman\r\nmspacman\r\n",
       "MAME: *",
       {},
       {"MAME: *", "", ""}},
      {"edits kept while another map shows",
       [] {
         Select("Alpha");
         SetControlText(IDC_txtConfigGames, "galaga");
         Select("Beta");
         SetControlText(IDC_txtConfigWindow, "*Defender*");
         Select("Gamma");
         Select("Beta");
       },
       "",
       "*Defender*",
       {{"Alpha", "galaga"}},
       {"MAME: *", "*Defender*", ""}},
      {"the pattern follows its map down the list",
       [] {
         Select("Alpha");
         OnConfigurationsEvent(g_session.dataFolder, IDC_cmdDown, ControlEvent::Click);
       },
       "pacman\r\nmspacman\r\n",
       "MAME: *",
       {},
       {"", "MAME: *", ""}},
      {"an unselected map takes its pattern along",
       [] {
         Select("Alpha");
         OnConfigurationsEvent(g_session.dataFolder, IDC_cmdRemove, ControlEvent::Click);
       },
       "",
       "",
       {},
       {"", "", ""}},
  };
  for (const auto& c : cases) {
    StartDetails();
    c.act();
    EXPECT_EQ(ControlText(IDC_txtConfigGames), c.games) << c.what;
    EXPECT_EQ(ControlText(IDC_txtConfigWindow), c.window) << c.what;
    EXPECT_EQ(fake_window_controls::State(IDC_txtConfigGames).enabled, SelectedRow(kActive) >= 0) << c.what;
    WindowFields fields;
    ReadConfigurationsFields(fields);
    EXPECT_EQ(fields.gamesLists, c.written) << c.what;
    const ConfiguratorSettings candidate = CandidateSettings(g_model, fields, EditorEntry{});
    EXPECT_EQ(Names(candidate.configWindows.begin(), candidate.configWindows.begin() + 3), c.windows) << c.what;
  }
}

// The runtime reads the start of a games file only; the field shows that
// start, and an Apply must not cut the file down to it.
TEST(ConfigurationsPageTest, AGamesFileLongerThanTheRuntimeReadsIsShownButNeverRewritten) {
  StartDetails();
  files::SetFile(InData("Beta.games"), std::string(kGamesListMaxBytes, 'x') + " sf2");
  Select("Beta");
  EXPECT_EQ(ControlText(IDC_txtConfigGames).size(), kGamesListMaxBytes);
  EXPECT_FALSE(fake_window_controls::State(IDC_txtConfigGames).enabled);
  WindowFields fields;
  ReadConfigurationsFields(fields);
  EXPECT_TRUE(fields.gamesLists.empty());
}

// Apply writes the edited lists before the tree; a list that cannot be
// written is named, and neither the tree nor the runtime hears of it.
TEST(ConfigurationsPageTest, ApplyWritesTheEditedGamesListsOrSignalsNothing) {
  for (const bool locked : {false, true}) {
    StartDetails();
    fake_configurator_shell::Reset();
    fake_configurator_shell::SetWindowWithClass("Quillon", true);
    files::SetFile("C:\\UltraMap.exe", "MZ");
    g_model.ultraMapPath = "C:\\UltraMap.exe";
    if (locked) files::SetLocked(InData("Beta.games"));
    Select("Beta");
    SetControlText(IDC_txtConfigGames, "defender\r\nstargate\r\n");
    WindowFields fields;
    ReadConfigurationsFields(fields);
    EXPECT_EQ(ApplySettings(g_model, g_session, fields, EditorEntry{}), !locked);
    const auto& calls = fake_configurator_shell::Calls();
    const bool signalled = std::any_of(calls.begin(), calls.end(), [](const std::string& call) {
      return call.rfind("SendMessage Quillon", 0) == 0;
    });
    EXPECT_EQ(signalled, !locked);
    if (locked) {
      EXPECT_EQ(Shown(), (Names{"Error: Could not write the games list \"C:\\Data\\Beta.games\". Nothing else was "
                                "written, and Quillon keeps the settings it has."}));
      EXPECT_FALSE(files::Exists(InData("Beta.games")));
    } else {
      EXPECT_EQ(Shown(), Names{});
      EXPECT_EQ(files::Content(InData("Beta.games")), "defender\r\nstargate\r\n");
      EXPECT_EQ(files::Content(InData("Alpha.games")), "pacman\nmspacman\n");  // not edited: not written
    }
  }
}

// A small list on disk (the file-reading seam is the real one natively).
std::string WrittenList(const std::string& name, const std::string& content) {
  const auto path = std::filesystem::temp_directory_path() / ("quillon_page_" + name);
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

TEST(ConfigurationsPageTest, AMameListFillsTheActiveStockMapsOrChangesNothing) {
  const std::string list =
      "<?xml version=\"1.0\"?>\n<mame build=\"0.261\">\n"
      "<machine name=\"pacman\"><input players=\"2\"><control type=\"joy\" ways=\"4\"/></input></machine>\n"
      "<machine name=\"qbert\"><input players=\"2\"><control type=\"joy\" ways=\"4\"/></input></machine>\n"
      "<machine name=\"sf2\"><input players=\"2\"><control type=\"joy\" ways=\"8\"/></input></machine>\n"
      "<machine name=\"arkanoid\"><input players=\"2\"><control type=\"paddle\"/></input></machine>\n"
      "<machine name=\"quiz\"><input players=\"2\"><control type=\"only_buttons\"/></input></machine>\n"
      "</mame>\n";
  const struct {
    const char* what;
    std::string content;
    int cancelAt;
    Names shown;
    const char* fourWay;  // the 4-Way field afterwards
  } cases[] = {
      {"a list",
       list,
       0,
       {"Import MAME list: Games found for each stick mode:\n4-Way: 2 games\n8-way: 1 game\n"
        "2-Way, Left & Right: 0 games\n2-Way, Up & Down: 0 games\n"
        "Analog: not an active configuration, 1 game left out\n"
        "Left out: 2 games (controls that no stick mode fits, or their map is not active).\n\nApply writes the lists."},
       "pacman\r\nqbert\r\n"},
      {"no list",
       "<html><body>not a list</body></html>",
       0,
       {"Error: \"" + WrittenList("no list", "") +
        "\" is not a machine list written by \"mame -listxml\". Nothing was changed."},
       "old\r\n"},
      {"cut short",
       list.substr(0, list.size() / 2),
       0,
       {"Error: \"" + WrittenList("cut short", "") +
        "\" is a MAME list that is cut short or broken. Nothing was changed."},
       "old\r\n"},
      {"cancelled", list, 1, {}, "old\r\n"},
  };
  for (const auto& c : cases) {
    Start({"4-Way", "8-way", "2-Way, Left & Right", "2-Way, Up & Down", "Analog"},
          {"4-Way", "8-way", "2-Way, Left & Right", "2-Way, Up & Down"});
    files::SetFile(InData("4-Way.games"), "old\r\n");
    ShowConfigurationsPage(g_session.dataFolder, g_model);
    fake_progress_window::Reset();
    fake_progress_window::CancelAtStep(c.cancelAt);
    fake_configurator_shell::Reset();
    fake_configurator_shell::SetDialogAnswer(WrittenList(c.what, c.content));
    Select("4-Way");
    OnConfigurationsEvent(g_session.dataFolder, IDC_cmdImportMameList, ControlEvent::Click);
    EXPECT_EQ(Shown(), c.shown) << c.what;
    EXPECT_EQ(ControlText(IDC_txtConfigGames), c.fourWay) << c.what;
    EXPECT_EQ(fake_progress_window::Opened(), 1) << c.what;
    EXPECT_FALSE(fake_progress_window::IsOpen()) << c.what;
    EXPECT_GE(fake_progress_window::Steps(), 1) << c.what;
    WindowFields fields;
    ReadConfigurationsFields(fields);
    EXPECT_EQ(fields.gamesLists.size(), c.shown.size() == 1 && c.shown[0][0] == 'I' ? 2u : 0u) << c.what;
    std::filesystem::remove(std::filesystem::temp_directory_path() / (std::string("quillon_page_") + c.what));
  }
}

}  // namespace
}  // namespace quillon

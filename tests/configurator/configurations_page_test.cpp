// The configuration lists against fake controls and a data folder in memory
// that tells case apart: stored names as the lists show them, the moves and
// the limit of ten, deleting, and dropped files.
#include <gtest/gtest.h>

#include <algorithm>

#include "configurator/configurations_page.h"
#include "configurator/resource_ids.h"
#include "tests/fakes/fake_configurator_files.h"
#include "tests/fakes/fake_configurator_messages.h"
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

}  // namespace
}  // namespace quillon

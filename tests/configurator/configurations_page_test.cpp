// The configuration lists against fake controls and a fake data folder that
// tells case apart: the stored names as the lists show them, the moves and
// the limit of ten, deleting, and files dropped on the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "configurator/configurations_page.h"
#include "configurator/resource_ids.h"
#include "configurator/settings_model.h"
#include "tests/fakes/fake_configurator_files.h"
#include "tests/fakes/fake_configurator_messages.h"
#include "tests/fakes/fake_window_controls.h"

namespace quillon {
namespace {

namespace controls = fake_window_controls;
namespace files = fake_configurator_files;
namespace messages = fake_configurator_messages;

using Names = std::vector<std::string>;

constexpr int kAvailable = IDC_lstAvailableConfigs;
constexpr int kActive = IDC_lstActiveConfigs;
const std::string kDataFolder = "C:\\ProgramData\\KWP\\QuillonConfig";

std::string InData(const std::string& name) { return kDataFolder + "\\" + name; }

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

class ConfigurationsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    controls::Reset();
    files::Reset();
    messages::Reset();
    controls::State(kAvailable).sorted = true;  // as the dialog template makes it
    g_model = ConfiguratorSettings{};
    g_session.dataFolder = kDataFolder;
  }
  static void MapFiles(const Names& names) {
    for (const std::string& name : names) files::SetFile(InData(name + ".ugc"), "map " + name);
  }
  static void StoredNames(const Names& names) {
    for (size_t i = 0; i < names.size(); ++i) g_model.configNames[i] = names[i];
  }
  static Names Rows(int list) { return controls::RowTexts(list); }
  static void Select(int list, const std::string& name) {
    const Names rows = Rows(list);
    for (size_t row = 0; row < rows.size(); ++row)
      if (rows[row] == name) SelectRow(list, int(row));
  }
  static Names MessageTexts() {
    Names texts;
    for (const auto& shown : messages::Messages()) texts.push_back(shown.text);
    return texts;
  }
};

TEST_F(ConfigurationsPageTest, TheListsShowTheStoredNamesWhoseFilesExist) {
  MapFiles({"Alpha", "Beta", "Gamma", "Delta"});
  files::SetFile(InData("Road.UGC"), "a map whose extension is upper case");
  files::SetFile(InData("Older.ugcx"), "found by the short name OLDER~1.UGC");
  files::SetFile(InData("Beta.wav"), "a sound only");
  StoredNames({"Beta", "Alpha", "", "Gamma", "Beta", "Ghost", "gamma"});
  FillConfigLists(g_model);
  EXPECT_EQ(Rows(kActive), (Names{"Beta", "Alpha", "Gamma"}));
  // The name is the file's without ".ugc" in exactly that case.
  EXPECT_EQ(Rows(kAvailable), (Names{"Delta", "Road.UGC"}));
  WindowFields fields;
  ReadConfigurationsFields(fields);
  EXPECT_EQ(fields.activeConfigs, (Names{"Beta", "Alpha", "Gamma"}));

  // Files removed outside: Refresh drops their names from both lists.
  files::Remove(InData("Alpha.ugc"));
  files::Remove(InData("Delta.ugc"));
  MapFiles({"Echo"});
  RefreshConfigLists();
  EXPECT_EQ(Rows(kActive), (Names{"Beta", "Gamma"}));
  EXPECT_EQ(Rows(kAvailable), (Names{"Echo", "Road.UGC"}));
  EXPECT_TRUE(MessageTexts().empty());
}

struct MoveCase {
  const char* what;
  Names stored;
  int list;  // where the user selected `selected` ("" for nothing)
  const char* selected;
  int control;
  ControlEvent event;
  Names active;
  int selectedActiveRow;
  const char* message;
};

TEST_F(ConfigurationsPageTest, MovesBetweenAndWithinTheLists) {
  const Names nine = {"Alpha", "beta", "Gamma", "Delta", "Echo", "Foxtrot", "Golf", "Hotel", "India"};
  Names ten = nine;
  ten.push_back("Juliet");
  Names nineAndKilo = nine;
  nineAndKilo.push_back("Kilo");
  const auto Click = ControlEvent::Click;
  const auto DoubleClick = ControlEvent::DoubleClick;
  const MoveCase cases[] = {
      {"Insert appends", {"Alpha"}, kAvailable, "Kilo", IDC_cmdInsert, Click, {"Alpha", "Kilo"}, -1, ""},
      {"a double-click inserts", {"Alpha"}, kAvailable, "Kilo", kAvailable, DoubleClick, {"Alpha", "Kilo"}, -1, ""},
      {"Insert with nothing selected", {"Alpha"}, kAvailable, "", IDC_cmdInsert, Click, {"Alpha"}, -1, ""},
      {"the tenth goes in", nine, kAvailable, "Kilo", IDC_cmdInsert, Click, nineAndKilo, -1, ""},
      {"an eleventh does not", ten, kAvailable, "Kilo", IDC_cmdInsert, Click, ten, -1,
       "There is a limit of 10 active configurations."},
      {"Up on the top row", {"Alpha", "beta", "Gamma"}, kActive, "Alpha", IDC_cmdUp, Click, {"Alpha", "beta", "Gamma"}, 0, ""},
      {"Up", {"Alpha", "beta", "Gamma"}, kActive, "Gamma", IDC_cmdUp, Click, {"Alpha", "Gamma", "beta"}, 1, ""},
      {"Down on the last row", {"Alpha", "beta", "Gamma"}, kActive, "Gamma", IDC_cmdDown, Click, {"Alpha", "beta", "Gamma"}, 2, ""},
      {"Down", {"Alpha", "beta", "Gamma"}, kActive, "Alpha", IDC_cmdDown, Click, {"beta", "Alpha", "Gamma"}, 1, ""},
      {"Unselect", {"Alpha", "beta", "Gamma"}, kActive, "beta", IDC_cmdRemove, Click, {"Alpha", "Gamma"}, -1, ""},
      {"a double-click unselects", {"Alpha", "beta"}, kActive, "Alpha", kActive, DoubleClick, {"beta"}, -1, ""},
  };
  for (const MoveCase& c : cases) {
    SetUp();
    MapFiles(nine);
    MapFiles({"Juliet", "Kilo", "Lima"});
    StoredNames(c.stored);
    FillConfigLists(g_model);
    Select(c.list, c.selected);
    OnConfigurationsEvent(c.control, c.event);
    EXPECT_EQ(Rows(kActive), c.active) << c.what;
    if (c.list == kActive) {
      EXPECT_EQ(SelectedRow(kActive), c.selectedActiveRow) << c.what;
    }
    EXPECT_EQ(MessageTexts(), std::string(c.message).empty() ? Names{} : Names{c.message}) << c.what;
    // A name is in exactly one list, and the available one stays sorted.
    Names available = Rows(kAvailable);
    EXPECT_EQ(available.size() + Rows(kActive).size(), 12u) << c.what;
    EXPECT_TRUE(std::is_sorted(available.begin(), available.end(), LessIgnoringCase)) << c.what;
  }
}

TEST_F(ConfigurationsPageTest, DeleteAsksThenRemovesTheMapAndItsSound) {
  MapFiles({"Road", "Other"});
  files::SetFile(InData("Road.wav"), "sound");
  FillConfigLists(g_model);

  DeleteConfiguration();  // nothing selected: no question
  EXPECT_TRUE(MessageTexts().empty());

  Select(kAvailable, "Road");
  messages::SetYesNoAnswer(MessageAnswer::No);
  DeleteConfiguration();
  EXPECT_EQ(MessageTexts(), (Names{"Permanently delete selected configuration?"}));
  EXPECT_EQ(messages::Messages()[0].title, "Request");
  EXPECT_TRUE(files::Exists(InData("Road.ugc")));

  messages::Reset();
  Select(kAvailable, "Road");
  OnConfigurationsEvent(IDC_cmdDelete, ControlEvent::Click);
  // By the name as listed: on this folder "ROAD.ugc" would be another file.
  EXPECT_FALSE(files::Exists(InData("Road.ugc")));
  EXPECT_FALSE(files::Exists(InData("Road.wav")));
  EXPECT_EQ(Rows(kAvailable), (Names{"Other"}));

  // A map that cannot be removed is named; its missing sound is not.
  messages::Reset();
  files::SetLocked(InData("Other.ugc"));
  Select(kAvailable, "Other");
  DeleteConfiguration();
  EXPECT_EQ(MessageTexts(), (Names{"Permanently delete selected configuration?", "Other.ugc: error deleting file."}));
  EXPECT_EQ(messages::Messages()[1].title, "Error");
  EXPECT_EQ(Rows(kAvailable), (Names{"Other"}));
}

TEST_F(ConfigurationsPageTest, DroppedMapsAndSoundsAreCopiedAndListed) {
  MapFiles({"Other"});
  files::SetFile(InData("Road.wav"), "old sound");
  for (const char* name : {"Road.ugc", "Road.wav", "notes.txt"}) files::SetFile("D:\\Maps\\" + std::string(name), name);
  const Names dropped = {"D:\\Maps\\Road.ugc", "D:\\Maps\\Road.wav", "D:\\Maps\\notes.txt", "D:\\Maps\\Gone.ugc",
                         InData("Other.ugc")};

  // Refusing the overwrite keeps the old sound, silently.
  messages::SetYesNoAnswer(MessageAnswer::No);
  ImportDroppedFiles(dropped);
  EXPECT_EQ(MessageTexts(), (Names{"Road.wav: file exists, overwrite?", "Gone.ugc: error copying file."}));
  EXPECT_EQ(messages::Messages()[0].title, "Warning");
  EXPECT_EQ(files::Content(InData("Road.wav")), "old sound");
  EXPECT_EQ(Rows(kAvailable), (Names{"Other", "Road"}));

  messages::Reset();
  files::Remove(InData("Road.ugc"));
  ImportDroppedFiles(dropped);
  EXPECT_EQ(MessageTexts(), (Names{"Road.wav: file exists, overwrite?", "Gone.ugc: error copying file."}));
  EXPECT_EQ(files::Content(InData("Road.ugc")), "Road.ugc");
  EXPECT_EQ(files::Content(InData("Road.wav")), "Road.wav");
  EXPECT_FALSE(files::Exists(InData("notes.txt")));
  EXPECT_EQ(files::Content(InData("Other.ugc")), "map Other");
  EXPECT_EQ(Rows(kAvailable), (Names{"Other", "Road"}));
}

}  // namespace
}  // namespace quillon

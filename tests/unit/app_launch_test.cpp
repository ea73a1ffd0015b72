// Command lines for launched programs and the map hand-over, and the sound
// that announces a map.
#include <gtest/gtest.h>

#include "runtime/app_launch.h"
#include "runtime/map_switching.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_platform.h"

namespace quillon {
namespace {

// The runtime under test, made afresh by every case.
Runtime rt;

using fake_platform::CallsStartingWith;

TEST(ExpandUltraMapOptions, TreatsTheTemplateAsTextNeverAsAFormat) {
  const std::string path = "\"C:\\Q\\Fly.ugc\"";
  struct {
    const char* options;
    std::string expected;
  } cases[] = {
      {"%s", path},
      {"/load %s /min", "/load " + path + " /min"},
      {"", ""},
      {"/min", "/min"},
      {"100%% %s", "100% " + path},
      {"%s %s", path + " %s"},
      {"%n%s%x", "%n" + path + "%x"},
      {"%d%p%%%", "%d%p%%"},
      {"%", "%"},
      {"%%s", "%s"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandUltraMapOptions(c.options, path), c.expected) << c.options;
}

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_platform::Reset();
    rt = Runtime{};
    rt.settings.programDirectory = "C:\\Q\\";
    rt.settings.configNames[0] = "Race";
    rt.settings.configNames[1] = "Fly";
    rt.settings.configCount = 2;
    rt.map.currentConfig = 1;
    rt.settings.ultraMapPath = "C:\\UM.exe";
  }
};

TEST_F(LaunchTest, CommandLineAlwaysStartsWithASpace) {
  LaunchProgram("C:\\a.exe", "-a 1");
  LaunchProgram("C:\\a.exe", " -b");
  LaunchProgram("C:\\a.exe", "");
  EXPECT_EQ(CallsStartingWith("StartProgram"),
            (std::vector<std::string>{"StartProgram C:\\a.exe| -a 1", "StartProgram C:\\a.exe| -b",
                                      "StartProgram C:\\a.exe| "}));
}

TEST_F(LaunchTest, HandOffPassesTheQuotedMapFileThroughTheTemplate) {
  for (const char* options : {"%s", "/load %s /min", ""}) {
    rt.settings.ultraMapOptions = options;
    HandOffMap(rt);
  }
  EXPECT_EQ(CallsStartingWith("StartProgram"),
            (std::vector<std::string>{"StartProgram C:\\UM.exe| \"C:\\Q\\Fly.ugc\"",
                                      "StartProgram C:\\UM.exe| /load \"C:\\Q\\Fly.ugc\" /min",
                                      "StartProgram C:\\UM.exe| "}));
  EXPECT_TRUE(CallsStartingWith("PlaySound").empty());
}

// The mapping program is started from a folder that others may write to
// only when the user or an administrator put it there; a refusal says so
// once, naming the file.
TEST_F(LaunchTest, TheMappingProgramStartsOnlyWhenItsOwnerCanBeTrusted) {
  const struct {
    const char* label;
    const char* program;
    bool sharedFolder;
    bool ownedByOthers;
    bool starts;
  } rows[] = {
      {"private folder", "C:\\Private\\UM.exe", false, true, true},
      {"user's own file", "C:\\Shared\\Mine.exe", true, false, true},
      {"planted file", "C:\\Shared\\Planted.exe", true, true, false},
      {"missing file", "C:\\Shared\\Missing.exe", true, true, true},
  };
  for (const auto& row : rows) {
    fake_platform::Reset();
    if (row.sharedFolder) fake_platform::SetFoldersOthersMayWrite({"C:\\Shared\\"});
    if (std::string(row.label) != "missing file") fake_platform::SetExistingFiles({row.program});
    if (row.ownedByOthers) fake_platform::SetFilesOwnedByOthers({row.program});
    rt.settings.ultraMapPath = row.program;
    rt.settings.ultraMapOptions = "%s";
    HandOffMap(rt);
    HandOffMap(rt);
    EXPECT_EQ(CallsStartingWith("StartProgram").size(), row.starts ? 2u : 0u) << row.label;
    std::vector<std::string> boxes = CallsStartingWith("RefusedProgramBox");
    ASSERT_EQ(boxes.size(), row.starts ? 0u : 1u) << row.label;
    if (!row.starts) {
      EXPECT_NE(boxes[0].find(row.program), std::string::npos) << boxes[0];
    }
  }
}

TEST_F(LaunchTest, HandOffIsSkippedWhenATextWouldNotFitOrThereIsNoMap) {
  rt.settings.ultraMapOptions = "%s" + std::string(1010, 'x');
  HandOffMap(rt);  // the expanded line is over 1023 characters
  rt.settings.ultraMapOptions = "%s";
  rt.settings.configNames[1] = std::string(1020, 'n');
  HandOffMap(rt);  // the quoted path alone is over 1023 characters
  rt.settings.configNames[1] = "Fly";
  rt.map.currentConfig = 2;
  HandOffMap(rt);  // no map at that position
  EXPECT_TRUE(CallsStartingWith("StartProgram").empty());
  rt.map.currentConfig = 1;
  rt.settings.ultraMapOptions = "%s" + std::string(1023 - 14, 'x');
  HandOffMap(rt);  // exactly 1023 characters still fit
  EXPECT_EQ(CallsStartingWith("StartProgram").size(), 1u);
}

TEST_F(LaunchTest, AnnouncementPlaysTheMapByNameThenByPosition) {
  fake_platform::SetClock(5000);
  fake_platform::SetExistingFiles({"C:\\Q\\Fly.wav"});
  PlayMapSound(rt.settings, rt.map);
  fake_platform::SetExistingFiles({});
  PlayMapSound(rt.settings, rt.map);
  EXPECT_EQ(fake_platform::Calls(),
            (std::vector<std::string>{"StopSound", "PlaySound C:\\Q\\Fly.wav", "StopSound", "PlaySound C:\\Q\\2.wav"}));
  EXPECT_EQ(rt.map.lastAnnounce, 5000u);
}

TEST_F(LaunchTest, AnnouncementWithoutAMapIsSilentButStillRestartsTheWindow) {
  rt.settings.configCount = 0;
  rt.map.currentConfig = 0;
  fake_platform::SetClock(777);
  PlayMapSound(rt.settings, rt.map);
  EXPECT_TRUE(fake_platform::Calls().empty());
  EXPECT_EQ(rt.map.lastAnnounce, 777u);
}

}  // namespace
}  // namespace quillon

// Following the game: which map the window in front chooses, when, and the
// way back to the default map, over the fake desktop and the real load.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "runtime/game_window.h"
#include "runtime/map_switching.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/window_timers.h"
#include "runtime/settings_lifecycle.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_notices.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_window_system.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

Runtime rt;

// The desktop every row starts with, numbered as the fake numbers windows.
void AddWindows() {
  fake_window_system::AddTopLevelWindow("MAME", "MAME: Pac-Man (Midway) [pacman]");  // 1: FourWay's list
  fake_window_system::AddTopLevelWindow("StreetFighter", "SF II");                   // 2: Fighter's pattern
  fake_window_system::AddTopLevelWindow("FrontEnd", "Attract mode");                 // 3: nothing
  fake_window_system::AddTopLevelWindow("MAME", "MAME: Robotron [robotron]");        // 4: in no list
  fake_window_system::AddTopLevelWindow("MAME", "MAME: Ms. Pac-Man [mspacman]  ");   // 5: FourWay's list
}

// The map names in the hand-overs since `from`.
std::vector<std::string> MapsHandedOver(size_t from) {
  std::vector<std::string> maps;
  std::vector<std::string> starts = fake_platform::CallsStartingWith("StartProgram");
  for (size_t i = from; i < starts.size(); ++i) {
    size_t end = starts[i].rfind(".ugc");
    size_t begin = starts[i].find_last_of("\\/", end) + 1;
    maps.push_back(starts[i].substr(begin, end - begin));
  }
  return maps;
}

// One step as the main window would take it: "load", "reload", "front N"
// (the user brings window N to the front), "settle" (SettleTimer fires),
// "close N" (window N is destroyed), "hand next" (a step by hand within the
// change time-out), "change timer" (ChangeTimer fires).
void RunStep(const std::string& step) {
  std::istringstream words(step);
  std::string verb;
  int number = 0;
  words >> verb >> number;
  WindowHandle window = fake_window_system::WindowNumber(number);
  if (verb == "load") LoadSettings(rt);
  else if (verb == "reload") ReloadSettings(rt);
  else if (verb == "front") {
    fake_window_system::PutInFront(window);
    if (fake_window_system::HearingForegroundEvents()) WindowCameToFront(rt, window);
  } else if (verb == "settle") {
    if (fake_platform::RunningTimers().count(SettleTimerId)) WindowSettled(rt);
  } else if (verb == "close") {
    fake_window_system::MarkWindowGone(window);
    if (fake_window_system::WatchedForClosing() == window) WatchedWindowClosed(rt, window);
  } else if (verb == "hand") RequestMapChange(rt, MapRequest::Next, "");
  else if (verb == "change") {
    if (fake_platform::RunningTimers().count(ChangeTimerId)) CompleteMapChange(rt);
  } else FAIL() << "no such step: " << step;
}

class GameWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / "quillon-game-window-test";
    std::filesystem::create_directories(folder_);
    std::FILE* list = std::fopen((folder_ / "FourWay.games").string().c_str(), "wb");
    ASSERT_NE(list, nullptr);
    std::fputs("pacman mspacman\n", list);
    std::fclose(list);
  }
  void TearDown() override {
    UnloadSettings(rt);
    test_registry::DeleteSettingsTree();
    std::filesystem::remove_all(folder_);
  }
  void Prepare(bool followGame, bool applyOnStart) {
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_notices::Reset();
    fake_window_system::Reset();
    AddWindows();
    rt = Runtime{};
    fake_platform::SetExecutablePath((folder_ / "quillon.exe").string());
    fake_platform::SetClock(100000);
    const std::string at = test_registry::SettingsPath();
    test_registry::DeleteSettingsTree();
    test_registry::WriteText(at, "Config0", "Default");
    test_registry::WriteText(at, "Config1", "FourWay");
    test_registry::WriteText(at, "Config2", "Fighter");
    test_registry::WriteText(at, "Config2Window", "Nothing like it|@Street*");
    test_registry::WriteText(at, "UltraMapOptions", "%s");
    test_registry::WriteNumber(at, "DefaultConfig", 0);
    test_registry::WriteNumber(at, "ApplyOnStart", applyOnStart ? 1 : 0);
    test_registry::WriteNumber(at, "ChangeTimeout", 1000);
    test_registry::WriteNumber(at, "FollowGame", followGame ? 1 : 0);
  }
  std::filesystem::path folder_;
};

TEST_F(GameWindowTest, TheWindowInFrontChoosesTheMapAndItsClosingBringsTheDefaultBack) {
  const struct {
    const char* choice;
    std::vector<std::string> steps;
    // "step: map" for each hand-over, in order.
    std::vector<std::string> handOvers;
    bool followGame = true;
    bool applyOnStart = true;
  } rows[] = {
      {"title ends in a short name", {"load", "front 1", "settle"}, {"load: Default", "settle: FourWay"}},
      {"a window that flashes by", {"load", "front 2", "front 3", "settle"}, {"load: Default"}},
      {"pattern", {"load", "front 2", "settle"}, {"load: Default", "settle: Fighter"}},
      {"nothing matches", {"load", "front 3", "settle", "front 4", "settle"}, {"load: Default"}},
      {"the chooser's window closed",
       {"load", "front 1", "settle", "front 3", "settle", "close 1"},
       {"load: Default", "settle: FourWay", "close 1: Default"}},
      {"closed, with a choosing window in front",
       {"load", "front 1", "settle", "front 2", "close 1", "settle"},
       {"load: Default", "settle: FourWay", "close 1: Fighter"}},
      {"another window's closing", {"load", "front 1", "settle", "close 3"}, {"load: Default", "settle: FourWay"}},
      {"a step by hand wins until the next window",
       {"load", "front 1", "settle", "hand next", "change timer", "front 3", "settle", "front 1", "settle", "front 5",
        "settle"},
       {"load: Default", "settle: FourWay", "change timer: Fighter", "settle: FourWay"}},
      {"a step by hand in progress",
       {"load", "front 2", "hand next", "settle", "change timer"},
       {"load: Default", "change timer: FourWay", "change timer: Fighter"}},
      {"the same map twice",
       {"load", "front 1", "settle", "front 5", "settle", "close 1", "reload"},
       {"load: Default", "settle: FourWay"}},
      {"load with a window in front", {"front 2", "load", "close 2"}, {"load: Fighter", "close 2: Default"}},
      {"FollowGame off", {"front 2", "load", "front 1", "settle"}, {"load: Default"}, false},
      {"a reload keeps the window that chose",
       {"load", "front 1", "settle", "reload", "close 1"},
       {"settle: FourWay", "close 1: Default"},
       true,
       false},
  };
  for (const auto& row : rows) {
    Prepare(row.followGame, row.applyOnStart);
    std::vector<std::string> handOvers;
    for (const std::string& step : row.steps) {
      size_t before = MapsHandedOver(0).size();
      RunStep(step);
      for (const std::string& map : MapsHandedOver(before)) handOvers.push_back(step + ": " + map);
    }
    EXPECT_EQ(handOvers, row.handOvers) << row.choice;
    UnloadSettings(rt);
    EXPECT_FALSE(fake_window_system::HearingForegroundEvents()) << row.choice;
    EXPECT_EQ(fake_platform::RunningTimers().count(SettleTimerId), 0u) << row.choice;
    EXPECT_EQ(!fake_window_system::Calls().empty(), row.followGame) << row.choice;
  }
}

}  // namespace
}  // namespace quillon

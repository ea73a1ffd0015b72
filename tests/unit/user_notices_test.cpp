// When the icon and the map's name show, what the icon's tip says, and where
// and how long the name stays on screen.
#include <gtest/gtest.h>

#include "runtime/map_switching.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
#include "runtime/user_notices.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/window_timers.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_notices.h"
#include "tests/fakes/fake_platform.h"
#include "tests/kit/test_registry.h"
#if QUILLON_FAKE_REGISTRY
#include "tests/fakes/fake_registry.h"
#endif

namespace quillon {
namespace {

// The runtime under test, made afresh by every case.
Runtime rt;

namespace reg = test_registry;
using Names = std::vector<std::string>;

class UserNoticesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt = Runtime{};
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_notices::Reset();
#if QUILLON_FAKE_REGISTRY
    fake_registry::Reset();
#endif
    FreshTree();
  }
  static void FreshTree() {
    reg::DeleteSettingsTree();
    reg::WriteText(reg::SettingsPath(), "Config0", "Race");
    reg::WriteText(reg::SettingsPath(), "Config1", "Fly");
    reg::WriteText(reg::SettingsPath(), "UltraMapOptions", "%s");
  }
  void TearDown() override {
    UnloadSettings(rt);
    EndNotices(rt.notices);
    reg::DeleteSettingsTree();
  }
  // A load of the tree with these values (-1: absent).
  static void Load(int showTrayIcon, int showMapName, int applyOnStart) {
    for (auto [name, value] :
         {std::pair{"ShowTrayIcon", showTrayIcon}, {"ShowMapName", showMapName}, {"ApplyOnStart", applyOnStart}})
      if (value >= 0) reg::WriteNumber(reg::SettingsPath(), name, uint32_t(value));
    LoadSettings(rt);
  }
};

TEST_F(UserNoticesTest, TipNamesTheActiveMapAndFitsTheShell) {
  EXPECT_EQ(IconTipFor(""), "Quillon");
  EXPECT_EQ(IconTipFor("Fly"), "Quillon: Fly");
  EXPECT_EQ(IconTipFor(std::string(200, 'x')), "Quillon: " + std::string(118, 'x'));
}

// A tree written before the switches existed loads them off: the runtime
// stays as hidden as it always was.
TEST_F(UserNoticesTest, TheTreesSwitchesDecideAtEveryLoad) {
  struct {
    int showTrayIcon, showMapName;
    std::optional<std::string> tip;
    Names names;
  } cases[] = {{-1, -1, std::nullopt, {}},
               {0, 0, std::nullopt, {}},
               {1, -1, "Quillon: Race", {}},
               {-1, 1, std::nullopt, {"Race"}},
               {7, 7, "Quillon: Race", {"Race"}}};
  for (const auto& c : cases) {
    fake_notices::Reset();
    FreshTree();
    Load(c.showTrayIcon, c.showMapName, 1);
    EXPECT_EQ(fake_notices::IconTip(), c.tip) << c.showTrayIcon << " " << c.showMapName;
    EXPECT_EQ(fake_notices::NamesShown(), c.names) << c.showTrayIcon << " " << c.showMapName;
    UnloadSettings(rt);
    EndNotices(rt.notices);
  }
}

TEST_F(UserNoticesTest, NameAndTipFollowTheHandOversNotThePresses) {
  Load(1, 1, 0);
  EXPECT_EQ(fake_notices::IconTip(), "Quillon") << "nothing was handed over yet";
  RequestMapChange(rt, MapRequest::Next, "");  // the first request keeps the default map
  EXPECT_TRUE(fake_notices::NamesShown().empty()) << "a press only announces";
  CompleteMapChange(rt);
  RequestMapChange(rt, MapRequest::Next, "");
  CompleteMapChange(rt);
  EXPECT_EQ(fake_notices::NamesShown(), (Names{"Race", "Fly"}));
  EXPECT_EQ(fake_notices::IconTip(), "Quillon: Fly");
  // A reload that hands nothing over: the mapping program still has Fly.
  UnloadSettings(rt);
  LoadSettings(rt);
  EXPECT_EQ(fake_notices::IconTip(), "Quillon: Fly");
  // Switched off by the next load, the icon goes; the end takes everything.
  reg::WriteNumber(reg::SettingsPath(), "ShowTrayIcon", 0);
  UnloadSettings(rt);
  LoadSettings(rt);
  EXPECT_EQ(fake_notices::IconTip(), std::nullopt);
  reg::WriteNumber(reg::SettingsPath(), "ShowTrayIcon", 1);
  UnloadSettings(rt);
  LoadSettings(rt);
  EndNotices(rt.notices);
  EXPECT_EQ(fake_notices::IconTip(), std::nullopt);
  EXPECT_EQ(fake_notices::NameShowing(), std::nullopt);
}

// The tip and the name say which map the mapping program has: a step whose
// program was refused (planted in a folder every user may write) or failed
// to start leaves them on the last map actually handed over.
TEST_F(UserNoticesTest, ARefusedOrFailedHandOverLeavesTheTipOnTheLastMapHandedOver) {
  const std::string mapper = "C:\\Maps\\UltraMap.exe";
  for (bool refused : {true, false}) {
    fake_platform::Reset();
    fake_notices::Reset();
    FreshTree();
    reg::WriteText(reg::SettingsPath(), "UltraMapPath", mapper);
    Load(1, 1, 1);
    ASSERT_EQ(fake_notices::IconTip(), "Quillon: Race");
    if (refused) {
      fake_platform::SetExistingFiles({mapper});
      fake_platform::SetFoldersOthersMayWrite({"C:\\Maps\\"});
      fake_platform::SetFilesOwnedByOthers({mapper});
    } else {
      fake_platform::SetProgramsThatFailToStart({mapper});
    }
    RequestMapChange(rt, MapRequest::Next, "");
    CompleteMapChange(rt);
    EXPECT_EQ(fake_notices::IconTip(), "Quillon: Race") << (refused ? "refused" : "failed");
    EXPECT_EQ(fake_notices::NamesShown(), (Names{"Race"})) << (refused ? "refused" : "failed");
    EXPECT_EQ(fake_platform::CallsStartingWith("RefusedProgramBox").size(), refused ? 1u : 0u);
    UnloadSettings(rt);
    EndNotices(rt.notices);
  }
}

// At logon the shell may not take the icon yet: it is tried again every 2 s
// on IconTimer, for a minute at most, a reload does not start the minute
// again, and the end leaves no try behind.
TEST_F(UserNoticesTest, AnIconTheShellDidNotTakeIsTriedAgainForAMinute) {
  auto trying = [] { return fake_platform::RunningTimers().count(IconTimerId) != 0; };
  fake_notices::SetShellMissing(true);
  Load(1, 0, 1);
  EXPECT_EQ(fake_platform::CallsStartingWith("StartTimer 3"), (Names{"StartTimer 3 2000"}));
  for (int i = 0; i < 5; ++i) RetryNotificationIcon(rt);
  fake_notices::SetShellMissing(false);
  RetryNotificationIcon(rt);
  EXPECT_EQ(fake_notices::IconTip(), "Quillon: Race");
  EXPECT_FALSE(trying());

  // A shell that never comes: 30 tries in all, a reload half-way included.
  UnloadSettings(rt);
  EndNotices(rt.notices);
  fake_notices::SetShellMissing(true);
  LoadSettings(rt);
  int tries = 0;
  for (; trying() && tries < 100; ++tries) {
    if (tries == 10) {
      UnloadSettings(rt);
      LoadSettings(rt);
    }
    RetryNotificationIcon(rt);
  }
  EXPECT_EQ(tries, int(kIconTries));

  UnloadSettings(rt);
  LoadSettings(rt);
  ASSERT_TRUE(trying());
  EndNotices(rt.notices);
  EXPECT_FALSE(trying()) << "no try after the end";
}

TEST_F(UserNoticesTest, NoMapShowsNoNameAndAMissingShellIsNoError) {
  reg::WriteNumber(reg::SettingsPath(), "DefaultConfig", 5);  // beyond the list
  fake_notices::SetShellMissing(true);
  Load(1, 1, 1);
  EXPECT_TRUE(fake_notices::NamesShown().empty());
  EXPECT_EQ(fake_notices::IconTip(), std::nullopt);
}

TEST_F(UserNoticesTest, TheNameHoldsFadesAndSitsTopCentreOfItsMonitor) {
  EXPECT_EQ(MapNameOpacityAfter(kMapNameHoldMs - 1), kMapNameOpacity);
  EXPECT_EQ(MapNameOpacityAfter(kMapNameHoldMs + kMapNameFadeMs), 0);
  for (uint32_t t = kMapNameHoldMs; t < kMapNameHoldMs + kMapNameFadeMs; t += 10)
    EXPECT_GT(MapNameOpacityAfter(t), MapNameOpacityAfter(t + 10)) << t;

  // A second monitor left of and above the first, and a name wider than its monitor.
  for (auto [monitor, textWidth] :
       {std::pair{ScreenRect{0, 0, 1280, 1024}, 200}, {{-1920, -200, 0, 880}, 300}, {{0, 0, 800, 600}, 5000}}) {
    ScreenRect placed = MapNamePlacement(monitor, textWidth, 60);
    EXPECT_EQ(placed.left - monitor.left, monitor.right - placed.right) << "centred";
    EXPECT_GE(placed.left, monitor.left);
    EXPECT_GT(placed.top, monitor.top);
    EXPECT_LT(placed.bottom, monitor.top + (monitor.bottom - monitor.top) / 3) << "in the top third";
  }
}

}  // namespace
}  // namespace quillon

// When the icon and the map's name show, what the icon's tip says, and where
// and how long the name stays on screen.
#include <gtest/gtest.h>

#include "runtime/map_switching.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
#include "runtime/user_notices.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_notices.h"
#include "tests/fakes/fake_platform.h"
#include "tests/kit/test_registry.h"
#if QUILLON_FAKE_REGISTRY
#include "tests/fakes/fake_registry.h"
#endif

namespace quillon {
namespace {

class UserNoticesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_notices::Reset();
    StopChangeTimer();
    EndNotices();
    g_settings = RuntimeSettings{};
    RuntimeSettings& s = g_settings;
    s.programDirectory = "C:\\Q\\";
    s.configNames = {"Race", "Fly"};
    s.configCount = 2;
    s.changeTimeout = 1000;
    s.ultraMapPath = "C:\\UM.exe";
    s.ultraMapOptions = "%s";
    fake_platform::SetClock(100000);
    s.lastAnnounce = 100000;
  }
  void TearDown() override { StopChangeTimer(); }

  // A next-map press within the time-out and the hand-over that follows.
  static void StepAndHandOver() {
    RequestMapChange(MapRequest::Next, std::nullopt);
    CompleteMapChange();
  }
};

TEST_F(UserNoticesTest, TipNamesTheActiveMapAndFitsTheShell) {
  struct {
    std::string map;
    std::string tip;
  } cases[] = {
      {"", "Quillon"},
      {"Fly", "Quillon: Fly"},
      {std::string(200, 'x'), "Quillon: " + std::string(118, 'x')},
  };
  for (const auto& c : cases) EXPECT_EQ(IconTipFor(c.map), c.tip) << c.map;
}

TEST_F(UserNoticesTest, BothSwitchesOffShowNothing) {
  ResetToDefaultMap();
  RefreshNotices();
  StepAndHandOver();
  EXPECT_EQ(fake_notices::IconTip(), std::nullopt);
  EXPECT_TRUE(fake_notices::NamesShown().empty());
  EXPECT_EQ(fake_platform::CallsStartingWith("StartProgram").size(), 2u) << "the maps were still handed over";
}

TEST_F(UserNoticesTest, TheNameShowsAtEveryHandOverAndNotAtAPress) {
  g_settings.showMapName = 1;
  g_settings.applyOnStart = 1;
  ResetToDefaultMap();  // a load that applies the first map
  RequestMapChange(MapRequest::Next, std::nullopt);
  EXPECT_EQ(fake_notices::NamesShown(), std::vector<std::string>{"Race"}) << "a press only announces";
  CompleteMapChange();
  EXPECT_EQ(fake_notices::NamesShown(), (std::vector<std::string>{"Race", "Fly"}));
  EXPECT_EQ(fake_notices::IconTip(), std::nullopt) << "the icon has its own switch";
}

TEST_F(UserNoticesTest, TheTipFollowsTheHandOversAndSurvivesAReload) {
  g_settings.showTrayIcon = 1;
  g_settings.applyOnStart = 0;
  g_settings.firstRequestPending = true;  // as a load without ApplyOnStart leaves it
  ResetToDefaultMap();
  RefreshNotices();
  EXPECT_EQ(fake_notices::IconTip(), "Quillon") << "nothing was handed over yet";
  RequestMapChange(MapRequest::Next, std::nullopt);  // the first request keeps the default map
  CompleteMapChange();
  EXPECT_EQ(fake_notices::IconTip(), "Quillon: Race");
  fake_platform::SetClock(100500);
  StepAndHandOver();
  EXPECT_EQ(fake_notices::IconTip(), "Quillon: Fly");
  EXPECT_TRUE(fake_notices::NamesShown().empty());
  // A reload that hands nothing over: the mapping program still has Fly.
  ResetToDefaultMap();
  RefreshNotices();
  EXPECT_EQ(fake_notices::IconTip(), "Quillon: Fly");
}

TEST_F(UserNoticesTest, SwitchingTheIconOffOrEndingTakesEverythingAway) {
  g_settings.showTrayIcon = 1;
  g_settings.showMapName = 1;
  g_settings.applyOnStart = 1;
  ResetToDefaultMap();
  RefreshNotices();
  ASSERT_EQ(fake_notices::IconTip(), "Quillon: Race");
  g_settings.showTrayIcon = 0;
  RefreshNotices();
  EXPECT_EQ(fake_notices::IconTip(), std::nullopt);
  g_settings.showTrayIcon = 1;
  RefreshNotices();
  EndRuntime();
  EXPECT_EQ(fake_notices::IconTip(), std::nullopt);
  EXPECT_EQ(fake_notices::NameShowing(), std::nullopt);
}

TEST_F(UserNoticesTest, NoMapMeansNoNameAndAMissingShellIsNoError) {
  g_settings.showTrayIcon = 1;
  g_settings.showMapName = 1;
  g_settings.applyOnStart = 1;
  g_settings.defaultConfig = 5;  // beyond the list: no map to hand over
  fake_notices::SetShellMissing(true);
  ResetToDefaultMap();
  RefreshNotices();
  EXPECT_TRUE(fake_notices::NamesShown().empty());
  EXPECT_EQ(fake_notices::IconTip(), std::nullopt);
}

// A tree written before the switches existed loads them off: the runtime
// stays as hidden as it always was.
TEST_F(UserNoticesTest, TheTreesSwitchesDecideAtEveryLoad) {
  namespace reg = test_registry;
  struct {
    int showTrayIcon;  // -1: value absent
    int showMapName;
    std::optional<std::string> tip;
    std::vector<std::string> names;
  } cases[] = {
      {-1, -1, std::nullopt, {}},
      {0, 0, std::nullopt, {}},
      {1, -1, "Quillon: Race", {}},
      {-1, 1, std::nullopt, {"Race"}},
      {7, 7, "Quillon: Race", {"Race"}},
  };
#if QUILLON_FAKE_REGISTRY
  fake_registry::Reset();
#endif
  for (const auto& c : cases) {
    reg::DeleteSettingsTree();
    fake_notices::Reset();
    reg::WriteText(reg::SettingsPath(), "Config0", "Race");
    reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 1);
    if (c.showTrayIcon >= 0) reg::WriteNumber(reg::SettingsPath(), "ShowTrayIcon", uint32_t(c.showTrayIcon));
    if (c.showMapName >= 0) reg::WriteNumber(reg::SettingsPath(), "ShowMapName", uint32_t(c.showMapName));
    LoadSettings();
    EXPECT_EQ(fake_notices::IconTip(), c.tip) << c.showTrayIcon << " " << c.showMapName;
    EXPECT_EQ(fake_notices::NamesShown(), c.names) << c.showTrayIcon << " " << c.showMapName;
    UnloadSettings();
    EndNotices();
  }
  reg::DeleteSettingsTree();
}

TEST_F(UserNoticesTest, TheNameHoldsThenFadesOut) {
  struct {
    uint32_t elapsedMs;
    bool full;
    bool gone;
  } cases[] = {{0, true, false}, {kMapNameHoldMs - 1, true, false}, {kMapNameHoldMs + kMapNameFadeMs / 2, false, false},
               {kMapNameHoldMs + kMapNameFadeMs, false, true}, {60000, false, true}};
  for (const auto& c : cases) {
    uint8_t opacity = MapNameOpacityAfter(c.elapsedMs);
    EXPECT_EQ(opacity == kMapNameOpacity, c.full) << c.elapsedMs;
    EXPECT_EQ(opacity == 0, c.gone) << c.elapsedMs;
  }
  for (uint32_t t = kMapNameHoldMs; t < kMapNameHoldMs + kMapNameFadeMs; t += 10)
    EXPECT_GE(MapNameOpacityAfter(t), MapNameOpacityAfter(t + 10)) << t;
}

TEST_F(UserNoticesTest, TheNameSitsTopCentreOfItsMonitorAndNeverWiderThanIt) {
  struct {
    ScreenRect monitor;
    int textWidth;
  } cases[] = {{{0, 0, 1280, 1024}, 200}, {{-1920, -200, 0, 880}, 300}, {{0, 0, 800, 600}, 5000}};
  for (const auto& c : cases) {
    ScreenRect placed = MapNamePlacement(c.monitor, c.textWidth, 60);
    EXPECT_EQ(placed.left - c.monitor.left, c.monitor.right - placed.right) << "centred";
    EXPECT_GE(placed.left, c.monitor.left);
    EXPECT_LE(placed.right, c.monitor.right);
    EXPECT_GT(placed.top, c.monitor.top);
    EXPECT_LT(placed.bottom, c.monitor.top + (c.monitor.bottom - c.monitor.top) / 3) << "in the top third";
    EXPECT_GT(placed.right - placed.left, std::min(c.textWidth, c.monitor.right - c.monitor.left - 1) - 1);
  }
}

}  // namespace
}  // namespace quillon

// The runtime's action code with real Win32 underneath: programs started
// with their exact command lines, and the map hand-over timed by the real
// ChangeTimer of a real main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "runtime/action_dispatch.h"
#include "runtime/app_launch.h"
#include "runtime/map_switching.h"
#include "runtime/seams/process_services.h"
#include "runtime/settings_store.h"
#include "runtime/win32/main_window.h"
#include "runtime/runtime_state.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

// The runtime under test, made afresh by every case.
Runtime rt;

namespace kit = test_kit;

class ActionSystemTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { window_ = CreateMainWindow(GetModuleHandleA(nullptr), rt); }
  static void TearDownTestSuite() {
    StopChangeTimer(rt.map);
    DestroyWindow(window_);
  }
  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    log_ = kit::UseFreshStandInLog("actions");
    StopChangeTimer(rt.map);
    rt = Runtime{};
    RuntimeSettings& s = rt.settings;
    s.programDirectory = kit::ProgramFolder();
    s.configNames = {"Race", "Fly", "Walk"};
    s.configCount = 3;
    s.changeTimeout = 1000;
    s.ultraMapPath = kit::StandInMapperPath();
    s.ultraMapOptions = "%s";
  }
  std::string Quoted(const char* map) const { return "\"" + kit::ProgramFolder() + map + ".ugc\""; }

  static HWND window_;
  std::string log_;
};

HWND ActionSystemTest::window_ = nullptr;

TEST_F(ActionSystemTest, MappingProgramGetsTheExpandedTemplate) {
  rt.map.currentConfig = 1;
  for (const char* options : {"%s", "/load %s /min", ""}) {
    rt.settings.ultraMapOptions = options;
    HandOffMap(rt);
  }
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 3));
  std::vector<std::string> lines = kit::LoggedCommandLines(log_);
  std::sort(lines.begin(), lines.end());  // three programs may finish in any order
  std::vector<std::string> expected = {" " + Quoted("Fly"), " /load " + Quoted("Fly") + " /min", " "};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(lines, expected);
}

TEST_F(ActionSystemTest, RunApplicationPassesParametersAfterOneSpace) {
  ButtonAction run;
  run.buttons = 1;
  run.action = RunApplication;
  run.appName = kit::StandInMapperPath();
  run.appParms = "-a 1";
  RunAction(rt, run);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  run.action = ChangeConfiguration;
  run.appParms = " C:\\configs\\Race night.qlf";
  RunAction(rt, run);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  std::vector<std::string> lines = kit::LoggedCommandLines(log_);
  EXPECT_EQ(lines[0], " -a 1");
  EXPECT_EQ(lines[1], " C:\\configs\\Race night.qlf");
}

TEST_F(ActionSystemTest, TwoPressesAfterAPauseHandTheNextMapOverOneTimeoutAfterTheSecond) {
  rt.map.lastAnnounce = ProcessClockMs() - 60000;  // a long pause
  RequestMapChange(rt, MapRequest::Next, "");      // only names "Race"
  kit::PumpMessagesFor(300);
  RequestMapChange(rt, MapRequest::Next, "");  // steps to "Fly"
  DWORD secondPress = GetTickCount();
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1, 10000)) << "nothing was handed over";
  kit::PumpMessagesFor(1500);
  EXPECT_EQ(kit::LoggedCommandLines(log_), std::vector<std::string>{" " + Quoted("Fly")});
  DWORD delay = kit::LoggedTicks(log_)[0] - secondPress;
  EXPECT_GE(delay, 950u);
  EXPECT_LE(delay, 3000u) << "the hand-over came far later than ChangeTimeout";
}

TEST_F(ActionSystemTest, ASinglePressAfterAPauseHandsNothingOver) {
  rt.map.lastAnnounce = ProcessClockMs() - 60000;
  RequestMapChange(rt, MapRequest::Previous, "");
  kit::PumpMessagesFor(2500);
  EXPECT_TRUE(kit::LoggedCommandLines(log_).empty());
  EXPECT_EQ(rt.map.currentConfig, 0u);
}

TEST_F(ActionSystemTest, AReloadBetweenAStepAndItsHandOverDropsTheChange) {
  namespace reg = test_registry;
  reg::DeleteSettingsTree();
  reg::WriteText(reg::SettingsPath(), "Config0", "Race");
  reg::WriteText(reg::SettingsPath(), "Config1", "Fly");
  reg::WriteText(reg::SettingsPath(), "UltraMapPath", kit::StandInMapperPath());
  reg::WriteText(reg::SettingsPath(), "UltraMapOptions", "%s");
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);  // the reload itself hands nothing over
  rt.map.lastAnnounce = ProcessClockMs();                    // as a load leaves it
  RequestMapChange(rt, MapRequest::Next, "");                // within the time-out: steps
  ASSERT_TRUE(MapChangePending(rt.map));
  SendMessageA(window_, WM_APP + 1, 0, 0);  // the reload request
  kit::PumpMessagesFor(2500);
  EXPECT_TRUE(kit::LoggedCommandLines(log_).empty());
  EXPECT_EQ(rt.settings.configCount, 2u) << "the reload did not read the tree";
  reg::DeleteSettingsTree();
}

}  // namespace
}  // namespace quillon

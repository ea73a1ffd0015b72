// Controller polling in the real quillon.exe under Wine, against the
// DirectInput double beside it: virtual pads whose buttons the test holds,
// entries that start the stand-in program with their own parameters.
#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>

#include <string>
#include <vector>

#include "shared/runtime_messages.h"
#include "shared/settings_tree.h"
#include "tests/kit/controller_double/virtual_pads_control.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

namespace kit = test_kit;
namespace reg = test_registry;
namespace pads = virtual_pads;

constexpr const char* kPadName = "Quillon Pad";

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = kit::kGenerousTimeoutMs) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    kit::PumpMessagesFor(5);
  }
  return true;
}

class ControllerSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    log_ = kit::UseFreshStandInLog("controller");
    pads::ResetSharedBlock();
    ASSERT_TRUE(pads::InstallControllerDoubleInSystemFolder());
    pads::PreferDoubleInRuntime();
    // Loads hand nothing over, so the log holds only what entries started.
    reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
    reg::WriteNumber(reg::SettingsPath(), "UseJoystick", 1);
    reg::WriteText(reg::SettingsPath(), "SwitchDevice", kPadName);
    reg::WriteNumber(reg::SettingsPath(), "PollPerSecond", 16);
  }
  void TearDown() override {
    pads::ReleaseEveryButton();
    kit::StopAnyRuntime();
    if (runtime_.process) kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
    reg::DeleteSettingsTree();
    pads::PreferBuiltInInRuntime();
  }

  // Controller entry `number` starts the stand-in with `label` as its
  // parameters.
  static void Entry(int number, uint32_t buttons, const std::string& label, uint32_t directions = 0) {
    std::string path = reg::ButtonActionPath(number);
    reg::WriteNumber(path, "Buttons", buttons);
    if (directions != 0) reg::WriteNumber(path, "Directions", directions);
    reg::WriteNumber(path, "SendType", CurrentWindow);
    reg::WriteNumber(path, "Action", RunApplication);
    reg::WriteText(path, "AppName", kit::StandInMapperPath());
    reg::WriteText(path, "AppParms", label);
  }

  // Starts the runtime and waits until its first tick has acquired `pad`.
  HWND StartRuntime(int pad = 0) {
    HWND window = kit::StartRuntime(&runtime_);
    EXPECT_NE(window, nullptr) << "the runtime's window never appeared";
    EXPECT_TRUE(WaitFor([&] { return pads::Block().pads[pad].acquired == 1; }))
        << "the pad was never acquired: was the double loaded?";
    return window;
  }

  // Waits until `count` reads of the pad have started after this call, so the
  // runtime has seen the buttons as they are now.
  static bool WaitForFreshReads(int pad, int count) {
    int32_t start = pads::Block().pads[pad].stateReads;
    return WaitFor([&] { return pads::Block().pads[pad].stateReads - start >= count; });
  }

  std::vector<std::string> Logged() const { return kit::LoggedCommandLines(log_); }

  std::string log_;
  kit::Child runtime_;
};

TEST_F(ControllerSystemTest, AHeldCombinationRunsTheFirstMatchingEntryOnceUntilReleased) {
  Entry(1, 1, "One");
  Entry(2, 1 | 2, "OneAndTwo");
  int pad = pads::AddPad(kPadName, 10);
  HWND window = StartRuntime();
  ASSERT_NE(window, nullptr);

  // Button 1, then 2 added while 1 is held: one action only.
  DWORD pressed = GetTickCount();
  pads::HoldButtons(pad, {1});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  DWORD latency = GetTickCount() - pressed;
  pads::HoldButtons(pad, {1, 2});
  ASSERT_TRUE(WaitForFreshReads(pad, 8));
  // Held, the runtime still answers at once: its keyboard hook, hot keys and
  // control messages are served between two reads.
  DWORD_PTR ignored = 0;
  DWORD asked = GetTickCount();
  EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored), 0)
      << "the runtime's message loop waits for the release";
  DWORD answeredIn = GetTickCount() - asked;
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  EXPECT_EQ(Logged(), std::vector<std::string>{" One"});

  // Both pressed together: the earlier entry, once, however long held.
  pads::HoldButtons(pad, {1, 2});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  ASSERT_TRUE(WaitForFreshReads(pad, 8));
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  EXPECT_EQ(Logged(), (std::vector<std::string>{" One", " One"}));
  std::printf("press to start: %lu ms; a message answered in %lu ms while held\n", static_cast<unsigned long>(latency),
              static_cast<unsigned long>(answeredIn));
}

TEST_F(ControllerSystemTest, ButtonsZeroNeverRunsAndButtonThirtyTwoRunsItsEntry) {
  Entry(1, 0, "Zero");
  Entry(2, 0xFC00, "ElevenToSixteen");
  Entry(3, 1u << 31, "ThirtyTwo");
  Entry(4, 1u << 2, "Three");
  int pad = pads::AddPad(kPadName, 32);
  ASSERT_NE(StartRuntime(), nullptr);
  // Buttons that make up no entry run nothing, Buttons 0 included.
  pads::HoldButtons(pad, {1, 2, 4, 5, 6, 7, 8, 9, 10, 31});
  ASSERT_TRUE(WaitForFreshReads(pad, 8));
  EXPECT_TRUE(Logged().empty());
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  // The last of the 32 bound buttons.
  pads::HoldButtons(pad, {32});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  pads::HoldButtons(pad, {11, 12, 13, 14, 15, 16});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  pads::HoldButtons(pad, {3});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 3));
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  EXPECT_EQ(Logged(), (std::vector<std::string>{" ThirtyTwo", " ElevenToSixteen", " Three"}));
  EXPECT_EQ(pads::Block().pads[pad].stateSize, 272u) << "the extended joystick format";
  EXPECT_EQ(pads::Block().lastVersion, 0x0500u);
}

TEST_F(ControllerSystemTest, OfTwoPadsWithTheNameTheFirstIsUsed) {
  Entry(1, 1, "One");
  int other = pads::AddPad("Quillon Pad 2", 10);
  int first = pads::AddPad(kPadName, 10);
  int second = pads::AddPad(kPadName, 10);
  ASSERT_NE(StartRuntime(first), nullptr);
  pads::HoldButtons(other, {1});
  pads::HoldButtons(second, {1});
  ASSERT_TRUE(WaitForFreshReads(first, 8));
  EXPECT_TRUE(Logged().empty());
  EXPECT_EQ(pads::Block().pads[second].acquireCalls, 0);
  EXPECT_EQ(pads::Block().pads[second].openDevices, 0);
  EXPECT_EQ(pads::Block().pads[other].openDevices, 0);
  pads::HoldButtons(first, {1});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  EXPECT_EQ(pads::Block().pads[first].cooperativeFlags, 0x8u | 0x2u) << "background, non-exclusive";
}

TEST_F(ControllerSystemTest, TheFirstTickAfterALoadOnlyAcquires) {
  // One tick a second makes the acquiring tick and the reading tick easy to
  // tell apart.
  reg::WriteNumber(reg::SettingsPath(), "PollPerSecond", 1);
  Entry(1, 1, "One");
  int pad = pads::AddPad(kPadName, 10);
  pads::HoldButtons(pad, {1});
  ASSERT_NE(StartRuntime(), nullptr);
  DWORD acquired = GetTickCount();
  EXPECT_EQ(pads::Block().pads[pad].stateReads, 0) << "the acquiring tick read the pad";
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  EXPECT_GE(GetTickCount() - acquired, 700u) << "the action ran on the acquiring tick";
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 2));
  EXPECT_EQ(Logged().size(), 1u);
}

TEST_F(ControllerSystemTest, APadThatLostItsInputIsAcquiredAgainAndWorks) {
  Entry(1, 1, "One");
  int pad = pads::AddPad(kPadName, 10);
  ASSERT_NE(StartRuntime(), nullptr);
  pads::Pad& state = pads::Block().pads[pad];
  int32_t acquiresBefore = state.acquireCalls;
  // Lost for longer than one tick tries.
  state.lostAcquires = 20;
  state.dropped = 1;
  ASSERT_TRUE(WaitFor([&] { return state.acquired == 0; }));
  ASSERT_TRUE(WaitFor([&] { return state.acquired == 1; })) << "the pad was never acquired again";
  EXPECT_EQ(state.acquireCalls - acquiresBefore, 21);
  EXPECT_EQ(state.lostReports, 21);
  pads::HoldButtons(pad, {1});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  // Lost while held: the loop ends and the pad is acquired again.
  pads::HoldButtons(pad, {1});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  state.dropped = 1;
  ASSERT_TRUE(WaitFor([&] { return state.lostReports == 22 && state.acquired == 1; }));
  // Still held after re-acquiring: the loop had ended, so a later tick takes
  // the held button as a new press.
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 3));
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  EXPECT_EQ(Logged().size(), 3u);
}

TEST_F(ControllerSystemTest, ARefusedDataFormatShowsTheErrorBoxAndPollsNothing) {
  Entry(1, 1, "One");
  int pad = pads::AddPad(kPadName, 10);
  pads::Block().pads[pad].refuseDataFormat = 1;
  runtime_ = kit::StartChild(kit::RuntimePath(), "");
  HWND box = kit::WaitForTopLevelWindow("#32770", "Quillon", runtime_.id);
  ASSERT_NE(box, nullptr) << "no error box";
  EXPECT_NE(FindWindowExA(box, nullptr, "Static", "Error Initializing DirectInput"), nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(kit::WaitForWindowGone(box));
  HWND window = kit::WaitForRuntimeWindow();
  ASSERT_NE(window, nullptr);
  pads::HoldButtons(pad, {1});
  kit::PumpMessagesFor(600);  // ten ticks' worth of time: none may come
  EXPECT_EQ(pads::Block().pads[pad].acquireCalls, 0);
  EXPECT_TRUE(Logged().empty());
  EXPECT_TRUE(kit::IsRunning(runtime_));
  // The next load starts over and works.
  pads::Block().pads[pad].refuseDataFormat = 0;
  pads::HoldButtons(pad, {});
  PostMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return pads::Block().pads[pad].acquired == 1; }));
  pads::HoldButtons(pad, {1});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
}

TEST_F(ControllerSystemTest, AReloadWhileHeldRunsNothingTwiceAndKeepsNothingOld) {
  Entry(1, 1, "Old");
  int pad = pads::AddPad(kPadName, 10);
  HWND window = StartRuntime();
  ASSERT_NE(window, nullptr);
  pads::HoldButtons(pad, {1});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  // New settings while button 1 is held: entry 1 moves to button 2. The
  // tick does not wait for the release, so the reload runs at once.
  Entry(1, 2, "New");
  PostMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return pads::Block().createCalls == 2 && pads::Block().pads[pad].acquired == 1; }))
      << "the reload waited for the release";
  EXPECT_EQ(pads::Block().inputSystems, 1) << "the old input system was kept";
  EXPECT_EQ(pads::Block().pads[pad].openDevices, 1) << "the old device was kept";
  // Button 1 now runs nothing; button 2 runs the new entry once.
  pads::HoldButtons(pad, {1});
  ASSERT_TRUE(WaitForFreshReads(pad, 8));
  EXPECT_EQ(Logged(), std::vector<std::string>{" Old"});
  pads::HoldButtons(pad, {2});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  // Released: nothing more ran.
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  EXPECT_EQ(Logged(), (std::vector<std::string>{" Old", " New"}));
  // Closing releases the controller and the input system.
  kit::StopAnyRuntime();
  kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
  EXPECT_EQ(pads::Block().pads[pad].openDevices, 0);
  EXPECT_EQ(pads::Block().inputSystems, 0);
}

// On Windows the device object of a pad that was unplugged keeps failing
// after the pad is back; the runtime hears of the change and looks again.
TEST_F(ControllerSystemTest, ARepluggedPadWorksAgainWithinASecondWithoutAReload) {
  Entry(1, 1, "Back");
  int pad = pads::AddPad(kPadName, 10);
  HWND window = StartRuntime();
  ASSERT_NE(window, nullptr);
  // Sent, as the system broadcasts it: handled by the time it returns.
  auto devicesChanged = [&] {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, SMTO_NORMAL, 5000, &ignored) != 0;
  };
  pads::Unplug(pad);
  ASSERT_TRUE(devicesChanged());
  pads::HoldButtons(pad, {1});  // held through the return
  pads::PlugIn(pad);
  DWORD back = GetTickCount();
  ASSERT_TRUE(devicesChanged());
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1)) << "the pad never worked again";
  DWORD workedIn = GetTickCount() - back;
  // Aimed at well under a second (the figure is printed below); the bound
  // leaves room for a busy test machine.
  EXPECT_LT(workedIn, 2000u);
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  EXPECT_EQ(Logged(), std::vector<std::string>{" Back"});
  EXPECT_EQ(pads::Block().pads[pad].openDevices, 1) << "the dead device object was kept";
  EXPECT_EQ(pads::Block().createCalls, 1) << "it took a reload";
  std::printf("replugged pad ran its entry %lu ms after its return\n", static_cast<unsigned long>(workedIn));
}

// A "Change configuration" entry's configurator reloads the runtime while
// the button is still held: the entry on that button does not run again
// until the button has been released.
TEST_F(ControllerSystemTest, AHoldAcrossAReloadRunsItsEntryOnce) {
  Entry(1, 1, "One");
  int pad = pads::AddPad(kPadName, 10);
  HWND window = StartRuntime();
  ASSERT_NE(window, nullptr);
  pads::HoldButtons(pad, {1});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  PostMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return pads::Block().createCalls == 2 && pads::Block().pads[pad].acquired == 1; }));
  ASSERT_TRUE(WaitForFreshReads(pad, 8));
  EXPECT_EQ(Logged().size(), 1u) << "the reload took the hold for a new press";
  pads::HoldButtons(pad, {});
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  pads::HoldButtons(pad, {1});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
}

// A script that sends "R" in a loop while the controller refuses to start:
// the reloads that the error box's message loop receives fold into one, so
// there is never more than one box and the runtime keeps answering.
TEST_F(ControllerSystemTest, AThousandReloadsWhileTheErrorBoxIsUpLeaveOneBox) {
  int pad = pads::AddPad(kPadName, 10);
  pads::Block().pads[pad].refuseDataFormat = 1;
  runtime_ = kit::StartChild(kit::RuntimePath(), "");
  HWND box = kit::WaitForTopLevelWindow("#32770", "Quillon", runtime_.id);
  ASSERT_NE(box, nullptr) << "no error box";
  HWND window = kit::WaitForRuntimeWindow();
  ASSERT_NE(window, nullptr);
  for (int reload = 0; reload < 1000; ++reload) PostMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  auto boxes = [&] {
    int count = 0;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", "Quillon")) != nullptr;) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == runtime_.id && IsWindowVisible(w)) ++count;
    }
    return count;
  };
  DWORD_PTR ignored = 0;
  EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kit::kGenerousTimeoutMs, &ignored), 0);
  EXPECT_EQ(boxes(), 1);
  // Closing it runs the folded reload once: one box again, then quiet.
  pads::Block().pads[pad].refuseDataFormat = 0;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(kit::WaitForWindowGone(box));
  ASSERT_TRUE(WaitFor([&] { return pads::Block().pads[pad].acquired == 1; })) << "the folded reload never ran";
  EXPECT_EQ(boxes(), 0);
  EXPECT_EQ(pads::Block().createCalls, 2);
}

// The stick as DirectInput reports it after the runtime set its range, and
// the hat as a POV angle.
TEST_F(ControllerSystemTest, AStickDirectionAndAHatDiagonalRunTheirEntries) {
  Entry(1, 0, "Left", StickLeft);
  Entry(2, 0, "HatUpRight", HatUp | HatRight);
  Entry(3, 0, "HatUp", HatUp);
  Entry(4, 1, "OneAndDown", StickDown);
  int pad = pads::AddPad(kPadName, 10);
  ASSERT_NE(StartRuntime(), nullptr);
  const int32_t quarter = (pads::kAxisMax - pads::kAxisMin) / 4;
  // Less than half way to the left: no direction.
  pads::MoveStick(pad, pads::kAxisCentre - quarter * 4 / 5, pads::kAxisCentre);
  ASSERT_TRUE(WaitForFreshReads(pad, 4));
  EXPECT_TRUE(Logged().empty());
  pads::MoveStick(pad, pads::kAxisMin, pads::kAxisCentre);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  pads::CentreEverything();
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  pads::PushHat(pad, 4500);  // up and right
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  pads::PushHat(pad, pads::kHatUp);  // still a press of the hat: nothing
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  pads::CentreEverything();
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  pads::PushHat(pad, pads::kHatUp);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 3));
  pads::CentreEverything();
  // A button with a direction: the stick down alone runs nothing.
  pads::MoveStick(pad, pads::kAxisCentre, pads::kAxisMax);
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  pads::HoldButtons(pad, {1});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 4));
  pads::CentreEverything();
  ASSERT_TRUE(WaitForFreshReads(pad, 3));
  EXPECT_EQ(Logged(), (std::vector<std::string>{" Left", " HatUpRight", " HatUp", " OneAndDown"}));
}

// A two-player cabinet: both sticks have one name; each runs its own
// entries, two players never make one combination, and a third pad plugged
// in joins without a reload.
TEST_F(ControllerSystemTest, WithEveryDeviceEachPadOfTheNameRunsItsOwnEntries) {
  reg::WriteNumber(reg::SettingsPath(), "EveryDevice", 1);
  Entry(1, 1 | 2, "OneAndTwo");
  Entry(2, 0, "Up", StickUp);
  int first = pads::AddPad(kPadName, 10);
  int second = pads::AddPad(kPadName, 10);
  HWND window = StartRuntime(first);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitFor([&] { return pads::Block().pads[second].acquired == 1; })) << "the second pad was not polled";
  pads::HoldButtons(first, {1});
  pads::HoldButtons(second, {2});
  ASSERT_TRUE(WaitForFreshReads(first, 4));
  ASSERT_TRUE(WaitForFreshReads(second, 4));
  EXPECT_TRUE(Logged().empty()) << "a combination split across two pads ran";
  pads::MoveStick(first, pads::kAxisCentre, pads::kAxisMin);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1));
  pads::HoldButtons(second, {1, 2});
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  pads::CentreEverything();
  ASSERT_TRUE(WaitForFreshReads(second, 3));

  int third = pads::AddPad(kPadName, 10);
  DWORD_PTR ignored = 0;
  ASSERT_NE(SendMessageTimeoutA(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, SMTO_NORMAL, 5000, &ignored), 0);
  ASSERT_TRUE(WaitFor([&] { return pads::Block().pads[third].acquired == 1; })) << "the new pad never joined";
  pads::MoveStick(third, pads::kAxisCentre, pads::kAxisMin);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 3));
  pads::CentreEverything();
  ASSERT_TRUE(WaitForFreshReads(third, 3));
  EXPECT_EQ(Logged(), (std::vector<std::string>{" Up", " OneAndTwo", " Up"}));
  EXPECT_EQ(pads::Block().pads[first].openDevices, 1) << "the device change reopened a pad that answered";
  EXPECT_EQ(pads::Block().createCalls, 1) << "it took a reload";
}

}  // namespace
}  // namespace quillon

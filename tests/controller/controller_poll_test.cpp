// Choosing the controller, the poll tick, the once-per-press rule, the
// stick's and the hat's directions, several pads of one name, the end of a
// press and the recovery from lost input, against the fake input system.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/controller_poll.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/session_events.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_app_switcher.h"
#include "tests/fakes/fake_controller.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_window_system.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

// The runtime under test, made afresh by every case.
Runtime rt;

namespace pad = fake_controller;

constexpr const char* kPadName = "Quillon Pad";
constexpr const char* kErrorBox = "ErrorBox Error Initializing DirectInput";

class ControllerPollTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_window_system::Reset();
    pad::Reset();
    rt = Runtime{};
    rt.settings.useJoystick = 1;
    rt.settings.switchDevice = kPadName;
    rt.settings.pollPerSecond = 16;
  }
  void TearDown() override {
    StopPollTimer(rt.poll);
    ReleaseController(rt.poll);
    EXPECT_EQ(pad::OpenDeviceCount(), 0) << "a device object was left open";
    EXPECT_FALSE(pad::InputSystemExists()) << "the input system was left open";
    EXPECT_EQ(pad::UsesAfterClose(), 0) << "a released controller was used";
    fake_app_switcher::WhileOpen(nullptr);
  }

  // Appends an entry that starts program `name` when `buttons` (and
  // `directions`) are held.
  static void Entry(uint32_t buttons, const std::string& name, uint32_t directions = 0) {
    ButtonAction& entry = rt.settings.buttonActions[rt.settings.buttonCount++];
    entry.buttons = buttons;
    entry.directions = directions;
    entry.action = RunApplication;
    entry.appName = name;
  }

  // Programs started so far, by name.
  static std::vector<std::string> Started() {
    std::vector<std::string> names;
    for (const std::string& call : fake_platform::CallsStartingWith("StartProgram "))
      names.push_back(call.substr(13, call.find('|') - 13));
    return names;
  }

  // Attaches the named pad, loads, and lets the first tick acquire it.
  int StartWithPad(uint32_t buttonCount = 10) {
    int number = pad::AddPad(kPadName, buttonCount);
    InitController(rt);
    PollController(rt);
    EXPECT_TRUE(pad::Acquired(number));
    EXPECT_TRUE(Started().empty());
    return number;
  }
};

TEST_F(ControllerPollTest, LoadOpensTheNamedPadAndStartsTheTimerWithoutAcquiring) {
  pad::AddPad(kPadName, 12);
  InitController(rt);
  EXPECT_EQ(pad::Calls(),
            (std::vector<std::string>{"CreateInputSystem", "List", "Open Quillon Pad", "ButtonCount Quillon Pad",
                                      "DataFormat Quillon Pad", "Cooperate Quillon Pad", "Range Quillon Pad"}));
  EXPECT_EQ(fake_platform::CallsStartingWith("StartTimer"), std::vector<std::string>{"StartTimer 2 62"});
  EXPECT_EQ(pad::OpenDeviceCount(), 1);
}

TEST_F(ControllerPollTest, TheFirstPadWithTheExactNameIsUsedAndTheOthersAreClosed) {
  pad::AddPad("quillon pad", 10);
  pad::AddPad("Quillon Pad ", 10);
  int broken = pad::AddPad(kPadName, 10);
  pad::SetOpenFails(broken, true);
  int first = pad::AddPad(kPadName, 10);
  int second = pad::AddPad(kPadName, 10);
  InitController(rt);
  EXPECT_EQ(pad::CallsStartingWith("Open ").size(), 4u) << "the listing went on after the match";
  EXPECT_EQ(pad::CallsStartingWith("Close "), (std::vector<std::string>{"Close quillon pad", "Close Quillon Pad "}));
  EXPECT_EQ(pad::OpenDeviceCount(), 1);
  EXPECT_TRUE(pad::CallsStartingWith(kErrorBox).empty());
  PollController(rt);
  EXPECT_TRUE(pad::Acquired(first));
  EXPECT_FALSE(pad::Acquired(second));
}

TEST_F(ControllerPollTest, NoPadWithTheNameIsQuietAndTicksDoNothing) {
  for (const char* device : {"Other Pad", ""}) {
    pad::Reset();
    fake_platform::Reset();
    rt.settings.switchDevice = device;
    pad::AddPad("Other Pad ", 10);
    pad::AddPad("Quillon", 10);
    InitController(rt);
    EXPECT_TRUE(pad::CallsStartingWith("ErrorBox").empty()) << device;
    EXPECT_EQ(fake_platform::CallsStartingWith("StartTimer"), std::vector<std::string>{"StartTimer 2 62"});
    EXPECT_EQ(pad::OpenDeviceCount(), 0);
    pad::ClearCalls();
    PollController(rt);
    EXPECT_TRUE(pad::Calls().empty());
    StopPollTimer(rt.poll);
    ReleaseController(rt.poll);
  }
}

struct StartFailure {
  const char* label;
  pad::Failures failures;
  bool padOpen;  // the chosen pad stays open until the release
};
void PrintTo(const StartFailure& c, std::ostream* out) { *out << c.label; }

class ControllerStartFailureTest : public ControllerPollTest, public ::testing::WithParamInterface<StartFailure> {};

TEST_P(ControllerStartFailureTest, ShowsOneBoxAndLeavesTheTimerStopped) {
  pad::AddPad(kPadName, 10);
  pad::SetFailures(GetParam().failures);
  InitController(rt);
  EXPECT_EQ(pad::CallsStartingWith("ErrorBox"), std::vector<std::string>{kErrorBox});
  EXPECT_TRUE(fake_platform::CallsStartingWith("StartTimer").empty());
  EXPECT_EQ(pad::OpenDeviceCount(), GetParam().padOpen ? 1 : 0);
  // Whatever was created goes with the release (checked in TearDown).
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ControllerStartFailureTest,
    ::testing::Values(StartFailure{"create", {true, false, false, false, false, false}, false},
                      StartFailure{"listing", {false, true, false, false, false, false}, false},
                      StartFailure{"dataFormat", {false, false, true, false, false, false}, true},
                      StartFailure{"cooperation", {false, false, false, true, false, false}, true}),
    [](const ::testing::TestParamInfo<StartFailure>& info) { return std::string(info.param.label); });

TEST_F(ControllerPollTest, UnreadableCapabilitiesMeanNoButtonsAndNoBox) {
  pad::SetFailures({false, false, false, false, true, false});
  int number = StartWithPad();
  Entry(1, "One");
  pad::HoldButtons(number, {1});
  PollController(rt);
  EXPECT_TRUE(Started().empty());
  EXPECT_TRUE(pad::CallsStartingWith("ErrorBox").empty());
}

TEST_F(ControllerPollTest, TheFirstTickAcquiresAndRunsNothingEvenWithButtonsHeld) {
  int number = pad::AddPad(kPadName, 10);
  Entry(1, "One");
  pad::HoldButtons(number, {1});
  InitController(rt);
  pad::ClearCalls();
  PollController(rt);
  EXPECT_EQ(pad::Calls(), (std::vector<std::string>{"Poll Quillon Pad", "Acquire Quillon Pad"}));
  EXPECT_TRUE(Started().empty());
  // The next tick sees the held button.
  pad::QueueHeldMasks(number, {1, 0});
  PollController(rt);
  EXPECT_EQ(Started(), std::vector<std::string>{"One"});
}

struct MatchCase {
  const char* label;
  uint32_t padButtons;
  std::vector<int> held;
  const char* runs;  // "" for nothing
};
void PrintTo(const MatchCase& c, std::ostream* out) { *out << c.label; }

class ControllerMatchTest : public ControllerPollTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(ControllerMatchTest, RunsTheFirstFullyHeldEntryInListOrder) {
  const MatchCase& c = GetParam();
  Entry(0, "Never");
  Entry(1, "One");
  Entry(1 | 2, "OneAndTwo");
  Entry(4 | 8, "ThreeAndFour");
  Entry(4, "Three");
  Entry(1u << 9, "Ten");
  Entry(1u << 10, "Eleven");
  Entry(0xFC00, "ElevenToSixteen");
  Entry(1u << 31, "ThirtyTwo");
  int number = StartWithPad(c.padButtons);
  pad::HoldButtons(number, c.held);
  // Held for three reads, then let go.
  uint32_t mask = 0;
  for (int button : c.held) mask |= 1u << (button - 1);
  pad::QueueHeldMasks(number, {mask, mask, mask, 0});
  PollController(rt);
  std::vector<std::string> expected;
  if (*c.runs) expected.push_back(c.runs);
  EXPECT_EQ(Started(), expected);
  EXPECT_EQ(rt.poll.pads[0].buttons, std::min(c.padButtons, 32u));
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, ControllerMatchTest,
    ::testing::Values(
        MatchCase{"oneAndTwoRunsTheEarlierOne", 10, {1, 2}, "One"}, MatchCase{"twoAloneMatchesNothing", 10, {2}, ""},
        MatchCase{"furtherHeldButtonsDoNotMatter", 10, {1, 5, 7}, "One"},
        MatchCase{"threeAndFourBeforeThree", 10, {3, 4}, "ThreeAndFour"}, MatchCase{"threeAlone", 10, {3}, "Three"},
        MatchCase{"buttonTen", 10, {10}, "Ten"},
        MatchCase{"everyButtonOfTenTakesTheFirstEntry", 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "One"},
        MatchCase{"buttonEleven", 16, {11}, "Eleven"}, MatchCase{"twelveToSixteen", 16, {12, 13, 14, 15, 16}, ""},
        MatchCase{"elevenToSixteenTakesTheEarlierEleven", 16, {11, 12, 13, 14, 15, 16}, "Eleven"},
        MatchCase{"buttonThirtyTwo", 32, {32}, "ThirtyTwo"}, MatchCase{"thePadsCountLimitsTheRead", 16, {32}, ""},
        MatchCase{"fortyButtonsReadOnlyThirtyTwo", 40, {32}, "ThirtyTwo"},
        MatchCase{"buttonsBeyondThePadAreNotRead", 2, {3}, ""}, MatchCase{"nothingHeld", 10, {}, ""}),
    [](const ::testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.label); });

TEST_F(ControllerPollTest, OnlyTheHighBitOfAButtonByteMeansHeld) {
  Entry(1, "One");
  int number = StartWithPad();
  pad::SetButtonByte(number, 1, 0x7F);
  PollController(rt);
  EXPECT_TRUE(Started().empty());
  EXPECT_EQ(pad::ReadCount(number), 1);
}

// Each tick reads once and returns, held or not: a tick that waited for the
// release would keep the keyboard hook on the same thread from being served.
TEST_F(ControllerPollTest, AHeldCombinationRunsOncePerPressHoweverLongItIsHeld) {
  Entry(1, "One");
  int number = StartWithPad();
  pad::HoldButtons(number, {1});
  for (int tick = 1; tick <= 500; ++tick) {
    PollController(rt);
    ASSERT_EQ(pad::ReadCount(number), tick) << "a tick must read once and return";
  }
  EXPECT_EQ(Started(), std::vector<std::string>{"One"});
  pad::HoldButtons(number, {});
  PollController(rt);  // released: nothing
  EXPECT_EQ(Started().size(), 1u);
  pad::HoldButtons(number, {1});
  PollController(rt);  // a new press
  EXPECT_EQ(Started(), (std::vector<std::string>{"One", "One"}));
}

TEST_F(ControllerPollTest, AddingAButtonWhileOneIsHeldRunsNothingMoreUntilRelease) {
  Entry(1, "One");
  Entry(1 | 2, "OneAndTwo");
  int number = StartWithPad();
  // 1, then 1+2, then 2 alone (matches nothing: the press ends), 2 again,
  // then 1+2 (a new press, and "One" comes first in the list).
  for (uint32_t mask : {1u, 1u, 3u, 3u, 2u, 2u}) {
    pad::QueueHeldMasks(number, {mask});
    PollController(rt);
    EXPECT_EQ(Started(), std::vector<std::string>{"One"}) << "after mask " << mask;
  }
  pad::QueueHeldMasks(number, {3});
  PollController(rt);
  EXPECT_EQ(Started(), (std::vector<std::string>{"One", "One"}));
}

TEST_F(ControllerPollTest, HeldButtonsWithoutEntriesReturnAtOnce) {
  int number = StartWithPad();
  pad::HoldButtons(number, {1, 2, 3});
  PollController(rt);
  EXPECT_EQ(pad::ReadCount(number), 1);
  Entry(0, "Never");
  PollController(rt);
  EXPECT_EQ(pad::ReadCount(number), 2);
  EXPECT_TRUE(Started().empty());
}

TEST_F(ControllerPollTest, LostInputIsAcquiredAgainAndTheNextTickWorks) {
  Entry(1, "One");
  int number = StartWithPad();
  pad::LoseInput(number, 3);
  pad::HoldButtons(number, {1});
  pad::ClearCalls();
  PollController(rt);
  EXPECT_EQ(pad::CallsStartingWith("Acquire ").size(), 4u);
  EXPECT_TRUE(pad::Acquired(number));
  EXPECT_TRUE(Started().empty());
  pad::QueueHeldMasks(number, {1, 0});
  PollController(rt);
  EXPECT_EQ(Started(), std::vector<std::string>{"One"});
}

TEST_F(ControllerPollTest, AnUnpluggedPadLetsEveryTickReturnAfterBoundedTries) {
  Entry(1, "One");
  int number = StartWithPad();
  pad::AcquireAlwaysLost(number);
  pad::ClearCalls();
  PollController(rt);
  EXPECT_EQ(pad::CallsStartingWith("Acquire ").size(), 8u);
  PollController(rt);
  EXPECT_EQ(pad::CallsStartingWith("Acquire ").size(), 16u);
  EXPECT_TRUE(Started().empty());
}

TEST_F(ControllerPollTest, InputLostWhileHeldReacquiresAndAButtonStillHeldIsANewPress) {
  Entry(1, "One");
  int number = StartWithPad();
  pad::HoldButtons(number, {1});
  pad::LoseInputAfterReads(number, 2);
  pad::ClearCalls();
  PollController(rt);
  PollController(rt);
  EXPECT_EQ(Started(), std::vector<std::string>{"One"});
  PollController(rt);  // the poll finds the input lost
  EXPECT_EQ(pad::CallsStartingWith("Acquire ").size(), 1u);
  EXPECT_TRUE(pad::Acquired(number));
  PollController(rt);
  EXPECT_EQ(Started(), (std::vector<std::string>{"One", "One"}));
}

TEST_F(ControllerPollTest, APollThatFailsOnAnUnacquiredPadOnlyAcquires) {
  Entry(1, "One");
  int number = StartWithPad();
  pad::HoldButtons(number, {1});
  pad::LoseInput(number, 0);
  pad::ClearCalls();
  PollController(rt);
  EXPECT_EQ(pad::Calls(), (std::vector<std::string>{"Poll Quillon Pad", "Acquire Quillon Pad"}));
  EXPECT_TRUE(Started().empty());
}

TEST_F(ControllerPollTest, AFailedReadEndsTheTickQuietly) {
  Entry(1, "One");
  int number = StartWithPad();
  pad::HoldButtons(number, {1});
  pad::SetFailures({false, false, false, false, false, true});
  pad::ClearCalls();
  PollController(rt);
  EXPECT_EQ(pad::Calls(), (std::vector<std::string>{"Poll Quillon Pad", "Read Quillon Pad"}));
  EXPECT_TRUE(Started().empty());
}

TEST_F(ControllerPollTest, ReleaseClosesEverythingOnceAndLaterTicksDoNothing) {
  StartWithPad();
  pad::ClearCalls();
  StopPollTimer(rt.poll);
  ReleaseController(rt.poll);
  EXPECT_EQ(pad::Calls(),
            (std::vector<std::string>{"Unacquire Quillon Pad", "Close Quillon Pad", "ReleaseInputSystem"}));
  EXPECT_TRUE(fake_platform::RunningTimers().empty());
  pad::ClearCalls();
  ReleaseController(rt.poll);
  PollController(rt);
  EXPECT_TRUE(pad::Calls().empty());
}

TEST_F(ControllerPollTest, AReloadStartsAgainFromNothing) {
  Entry(1, "One");
  int number = StartWithPad();
  StopPollTimer(rt.poll);
  ReleaseController(rt.poll);
  pad::HoldButtons(number, {1});
  InitController(rt);
  PollController(rt);  // acquires only
  EXPECT_TRUE(Started().empty());
  pad::QueueHeldMasks(number, {1, 0});
  PollController(rt);
  EXPECT_EQ(Started(), std::vector<std::string>{"One"});
}

// A "Change configuration" entry reloads the runtime while its buttons are
// still held; neither the reload nor the new device object's first acquire
// ends that press.
TEST_F(ControllerPollTest, AHoldOutlivesReloadsAndRunsOnce) {
  Entry(1, "One");
  int number = StartWithPad();
  pad::HoldButtons(number, {1});
  PollController(rt);
  for (int reload = 0; reload < 3; ++reload) {
    StopPollTimer(rt.poll);
    ReleaseController(rt.poll);
    InitController(rt);
    for (int tick = 0; tick < 5; ++tick) PollController(rt);
  }
  EXPECT_EQ(Started(), std::vector<std::string>{"One"});
  pad::HoldButtons(number, {});
  PollController(rt);
  pad::HoldButtons(number, {1});
  PollController(rt);
  EXPECT_EQ(Started(), (std::vector<std::string>{"One", "One"}));
}

// A reload that finds the pad gone ends the press, as lost input does.
TEST_F(ControllerPollTest, AReloadWithoutThePadEndsThePress) {
  Entry(1, "One");
  int number = StartWithPad();
  pad::HoldButtons(number, {1});
  PollController(rt);
  StopPollTimer(rt.poll);
  ReleaseController(rt.poll);
  rt.settings.switchDevice = "Another Pad";
  InitController(rt);
  StopPollTimer(rt.poll);
  ReleaseController(rt.poll);
  rt.settings.switchDevice = kPadName;
  InitController(rt);
  PollController(rt);
  PollController(rt);
  EXPECT_EQ(Started(), (std::vector<std::string>{"One", "One"}));
}

// Reloads sent while the error box is open (its message loop dispatches
// them) fold into one that runs after it closes, instead of nesting boxes
// until the stack runs out.
TEST_F(ControllerPollTest, ReloadsWhileTheErrorBoxIsOpenFoldIntoOne) {
  test_registry::DeleteSettingsTree();
  test_registry::WriteNumber(test_registry::SettingsPath(), "UseJoystick", 1);
  pad::SetFailures({true, false, false, false, false, false});
  int boxesOpen = 0;
  int mostOpen = 0;
  int shown = 0;
  pad::WhileErrorBoxOpen([&] {
    ++shown;
    mostOpen = std::max(mostOpen, ++boxesOpen);
    if (shown == 1)
      for (int reload = 0; reload < 1000; ++reload) ReloadSettings(rt);
    --boxesOpen;
  });
  ReloadSettings(rt);
  EXPECT_EQ(mostOpen, 1);
  EXPECT_EQ(shown, 2) << "the folded reloads ran once after the box closed";
  ReloadSettings(rt);  // and the runtime still answers
  EXPECT_EQ(shown, 3);
  UnloadSettings(rt);
  test_registry::DeleteSettingsTree();
}

// Device changes every 10 ms for 3 s with the pad absent, the timer ticking
// every 62 ms: the controllers are listed at most once a second, and a pad
// that arrives in the storm is found by the listing put off to a tick.
TEST_F(ControllerPollTest, AStormOfDeviceChangesWithThePadAbsentListsAtMostOnceASecond) {
  InitController(rt);  // no pad: the load's listing finds nothing
  pad::ClearCalls();
  for (uint32_t ms = 0; ms < 3000; ms += 10) {
    fake_platform::SetClock(ms);
    HandleSessionEvent(rt, SessionEvent::DevicesChanged);
    if (ms % 62 < 10) PollController(rt);
  }
  EXPECT_LE(pad::CallsStartingWith("List").size(), 3u);
  const int number = pad::AddPad(kPadName, 10);
  HandleSessionEvent(rt, SessionEvent::DevicesChanged);
  fake_platform::AdvanceClock(1000);
  PollController(rt);
  PollController(rt);
  EXPECT_TRUE(pad::Acquired(number)) << "the put-off listing found the pad";
}

TEST_F(ControllerPollTest, PollIntervalFollowsPollPerSecond) {
  struct {
    uint32_t perSecond;
    uint32_t intervalMs;
  } cases[] = {{16, 62}, {0, 62}, {1, 1000}, {3, 333}, {1000, 1}, {1001, 0}, {0xFFFFFFFF, 0}};
  for (const auto& c : cases) EXPECT_EQ(PollIntervalMs(c.perSecond), c.intervalMs) << c.perSecond;
}

// The switcher's menu loop dispatches PollTimer while the menu is open: the
// buttons still work there (to move in the menu and dismiss it), but the
// press that opened it does not fire again.
TEST_F(ControllerPollTest, ButtonsWorkWhileTheSwitcherTheyOpenedIsOpen) {
  ButtonAction& switcher = rt.settings.buttonActions[rt.settings.buttonCount++];
  switcher.buttons = 1;
  switcher.action = ShowSwitcher;
  Entry(2, "Dismiss");
  int number = StartWithPad();
  fake_app_switcher::WhileOpen([number] {
    for (uint32_t mask : {1u, 1u, 0u, 2u, 2u, 0u, 2u}) {
      pad::QueueHeldMasks(number, {mask});
      PollController(rt);
    }
  });
  pad::QueueHeldMasks(number, {1});
  PollController(rt);
  EXPECT_EQ(fake_window_system::Calls(), std::vector<std::string>{"ShowAppSwitcher"});
  EXPECT_EQ(Started(), (std::vector<std::string>{"Dismiss", "Dismiss"}));
}

// A reload while the action waits for its target window (or the switcher's
// menu): the running action keeps its own copy of the entry, and the tick
// does not read the controller that the reload released.
TEST_F(ControllerPollTest, AReloadDuringTheActionTouchesNothingItFreed) {
  fake_window_system::AddTopLevelWindow("Game", "Game window");
  ButtonAction& entry = rt.settings.buttonActions[rt.settings.buttonCount++];
  entry.buttons = 1;
  entry.sendType = SelectWindow;
  entry.select = "Game window";
  entry.keySeq = "a sequence long enough to live on the heap";  // 42 characters
  int number = StartWithPad();
  fake_window_system::WhileHandlingMessages([] {
    fake_window_system::WhileHandlingMessages(nullptr);
    UnloadSettings(rt);
    LoadSettings(rt);
  });
  pad::HoldButtons(number, {1});
  PollController(rt);
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 2u * 42u) << "the whole sequence was typed";
  EXPECT_EQ(pad::OpenDeviceCount(), 0);
}

// --- Directions ------------------------------------------------------------

enum class Stick { Plain, None, OwnRange, UnreadableRange };

struct DirectionCase {
  const char* label;
  Stick stick;
  int xPercent, yPercent;  // of the travel from the centre to the end
  uint32_t hat;
  uint32_t buttons;
  const char* runs;  // "" for nothing
};
void PrintTo(const DirectionCase& c, std::ostream* out) { *out << c.label; }

class ControllerDirectionTest : public ControllerPollTest, public ::testing::WithParamInterface<DirectionCase> {};

TEST_P(ControllerDirectionTest, RunsTheFirstEntryWhoseButtonsAndDirectionsAreAllHeld) {
  const DirectionCase& c = GetParam();
  Entry(1, "OneAndDown", StickDown);
  Entry(0, "Up", StickUp);
  Entry(0, "RightDown", StickRight | StickDown);
  Entry(0, "Right", StickRight);
  Entry(0, "HatUpRight", HatUp | HatRight);
  Entry(0, "HatUp", HatUp);
  Entry(0, "HatLeft", HatLeft);
  Entry(0, "Left", StickLeft);
  int number = pad::AddPad(kPadName, 10);
  if (c.stick == Stick::None) pad::RemoveStick(number);
  if (c.stick == Stick::OwnRange) pad::KeepOwnRange(number, 0, 255);
  if (c.stick == Stick::UnreadableRange) pad::KeepOwnRange(number, 0, 0);
  InitController(rt);
  PollController(rt);  // acquires
  if (c.stick != Stick::None) {
    const int32_t centre = pad::AxisCentreOf(number), half = pad::AxisMaxOf(number) - centre;
    pad::MoveStick(number, centre + half * c.xPercent / 100, centre + half * c.yPercent / 100);
  }
  pad::PushHat(number, c.hat);
  pad::QueueHeldMasks(number, {c.buttons});
  PollController(rt);
  PollController(rt);  // still held: once per press
  std::vector<std::string> expected;
  if (*c.runs) expected.push_back(c.runs);
  EXPECT_EQ(Started(), expected);
}

constexpr uint32_t kCentred = 0xFFFFFFFF;

INSTANTIATE_TEST_SUITE_P(
    StickAndHat, ControllerDirectionTest,
    ::testing::Values(DirectionCase{"centred", Stick::Plain, 0, 0, kCentred, 0, ""},
                      DirectionCase{"stickUp", Stick::Plain, 0, -100, kCentred, 0, "Up"},
                      DirectionCase{"lessThanHalfWayIsNotPushed", Stick::Plain, 0, -40, kCentred, 0, ""},
                      DirectionCase{"pastHalfWay", Stick::Plain, 0, -60, kCentred, 0, "Up"},
                      DirectionCase{"stickDiagonalHoldsTwo", Stick::Plain, 100, 100, kCentred, 0, "RightDown"},
                      DirectionCase{"stickRight", Stick::Plain, 90, 10, kCentred, 0, "Right"},
                      DirectionCase{"downAloneMatchesNothing", Stick::Plain, 0, 100, kCentred, 0, ""},
                      DirectionCase{"buttonAloneIsNotEnough", Stick::Plain, 0, 0, kCentred, 1, ""},
                      DirectionCase{"buttonAndDirection", Stick::Plain, 0, 100, kCentred, 1, "OneAndDown"},
                      DirectionCase{"hatDiagonalHoldsTwo", Stick::Plain, 0, 0, 4500, 0, "HatUpRight"},
                      DirectionCase{"hatUp", Stick::Plain, 0, 0, 0, 0, "HatUp"},
                      DirectionCase{"hatUpLeftTakesTheEarlierHatUp", Stick::Plain, 0, 0, 31500, 0, "HatUp"},
                      DirectionCase{"hatLeft", Stick::Plain, 0, 0, 27000, 0, "HatLeft"},
                      DirectionCase{"hatCentredByItsLowWord", Stick::Plain, 0, 0, 0xFFFF, 0, ""},
                      DirectionCase{"noStickReadsNoDirection", Stick::None, 0, 0, kCentred, 0, ""},
                      DirectionCase{"noStickStillHasItsHat", Stick::None, 0, 0, 27000, 0, "HatLeft"},
                      DirectionCase{"aPadThatKeepsItsRange", Stick::OwnRange, -100, 0, kCentred, 0, "Left"},
                      DirectionCase{"aPadThatKeepsItsRangeCentred", Stick::OwnRange, 0, 0, kCentred, 0, ""},
                      DirectionCase{"anUnreadableRangeIsTheDefault", Stick::UnreadableRange, 0, -100, kCentred, 0,
                                    "Up"}),
    [](const ::testing::TestParamInfo<DirectionCase>& info) { return std::string(info.param.label); });

TEST_F(ControllerPollTest, TheStickIsAskedForItsRangeAfterTheFormatAndBeforeAcquiring) {
  pad::AddPad(kPadName, 10);
  InitController(rt);
  PollController(rt);
  std::vector<std::string> calls = pad::Calls();
  auto at = [&](const char* call) { return std::find(calls.begin(), calls.end(), call) - calls.begin(); };
  EXPECT_LT(at("DataFormat Quillon Pad"), at("Range Quillon Pad"));
  EXPECT_LT(at("Range Quillon Pad"), at("Acquire Quillon Pad"));
  EXPECT_TRUE(rt.poll.pads[0].stick);
}

// --- Several pads of one name ----------------------------------------------

class ControllerPadsTest : public ControllerPollTest {
 protected:
  // Two pads of the name (and one of another), EveryDevice on, both
  // acquired.
  void StartWithTwoPads() {
    rt.settings.everyDevice = 1;
    pad::AddPad("Other Pad", 10);
    first_ = pad::AddPad(kPadName, 10);
    second_ = pad::AddPad(kPadName, 10);
    InitController(rt);
    PollController(rt);
    ASSERT_TRUE(pad::Acquired(first_));
    ASSERT_TRUE(pad::Acquired(second_));
  }
  // A device change heard more than a second after the last listing.
  static void DevicesChangedLater() {
    fake_platform::AdvanceClock(1500);
    HandleSessionEvent(rt, SessionEvent::DevicesChanged);
  }
  int first_ = 0, second_ = 0;
};

TEST_F(ControllerPadsTest, ACombinationSplitAcrossTwoPadsNeverRuns) {
  Entry(1 | 2, "OneAndTwo");
  Entry(1, "One", StickUp);
  StartWithTwoPads();
  pad::HoldButtons(first_, {1});
  pad::HoldButtons(second_, {2});
  pad::MoveStick(second_, 0, -1000);
  for (int tick = 0; tick < 3; ++tick) PollController(rt);
  EXPECT_TRUE(Started().empty());
  pad::HoldButtons(second_, {1, 2});
  PollController(rt);
  EXPECT_EQ(Started(), std::vector<std::string>{"OneAndTwo"});
}

TEST_F(ControllerPadsTest, EachPadRunsItsOwnPressOnceWhileTheOtherHolds) {
  Entry(1, "One");
  StartWithTwoPads();
  pad::HoldButtons(first_, {1});
  PollController(rt);
  pad::HoldButtons(second_, {1});
  for (int tick = 0; tick < 3; ++tick) PollController(rt);
  EXPECT_EQ(Started(), (std::vector<std::string>{"One", "One"})) << "one run per pad";
  EXPECT_TRUE(rt.poll.pads[0].pressHeld);
  EXPECT_TRUE(rt.poll.pads[1].pressHeld);
  // The first lets go and presses again: a new press of its own; the
  // second's press goes on.
  pad::HoldButtons(first_, {});
  PollController(rt);
  EXPECT_FALSE(rt.poll.pads[0].pressHeld);
  EXPECT_TRUE(rt.poll.pads[1].pressHeld);
  pad::HoldButtons(first_, {1});
  PollController(rt);
  EXPECT_EQ(Started().size(), 3u);
  EXPECT_EQ(pad::CallsStartingWith("Open Other Pad").size(), 1u);
  EXPECT_EQ(pad::OpenDeviceCount(), 2) << "only the pads of the name stay open";
}

TEST_F(ControllerPadsTest, WithEveryDeviceOffOnlyTheFirstPadIsReadAndNoneJoins) {
  Entry(1, "One");
  pad::AddPad(kPadName, 10);
  const int second = pad::AddPad(kPadName, 10);
  InitController(rt);
  PollController(rt);
  pad::HoldButtons(second, {1});
  PollController(rt);
  const int third = pad::AddPad(kPadName, 10);
  DevicesChangedLater();
  PollController(rt);
  pad::HoldButtons(third, {1});
  PollController(rt);
  EXPECT_TRUE(Started().empty());
  EXPECT_EQ(pad::ReadCount(second), 0);
  EXPECT_EQ(pad::OpenDeviceCount(), 1);
  EXPECT_TRUE(pad::CallsStartingWith("List").size() == 1u) << "the first pad still answered: nothing to list";
}

TEST_F(ControllerPadsTest, APadPluggedInLaterJoinsOnADeviceChangeAndTheOthersKeepTheirPress) {
  Entry(1, "One");
  rt.settings.everyDevice = 1;
  first_ = pad::AddPad(kPadName, 10);
  InitController(rt);
  PollController(rt);
  pad::HoldButtons(first_, {1});
  PollController(rt);
  second_ = pad::AddPad(kPadName, 10);
  pad::HoldButtons(second_, {1});
  pad::ClearCalls();
  DevicesChangedLater();
  EXPECT_TRUE(pad::CallsStartingWith("Close").empty()) << "an open pad was closed";
  EXPECT_EQ(pad::CallsStartingWith("Open "), std::vector<std::string>{"Open Quillon Pad"}) << "only the new one";
  PollController(rt);  // acquires the new one; the first still holds
  PollController(rt);
  EXPECT_EQ(Started(), (std::vector<std::string>{"One", "One"}));
  EXPECT_TRUE(rt.poll.pads[0].pressHeld);
  EXPECT_TRUE(rt.poll.pads[1].pressHeld);
}

TEST_F(ControllerPadsTest, AnUnpluggedPadIsClosedWithItsPressEndedAndJoinsAgainAsANewPress) {
  Entry(1, "One");
  StartWithTwoPads();
  pad::HoldButtons(first_, {1});
  pad::HoldButtons(second_, {1});
  PollController(rt);
  pad::Unplug(first_);
  DevicesChangedLater();
  EXPECT_EQ(pad::OpenDeviceCount(), 1);
  EXPECT_FALSE(rt.poll.pads[0].pressHeld) << "the unplugged pad's press was not ended";
  EXPECT_TRUE(rt.poll.pads[1].pressHeld) << "the other pad's press was ended";
  pad::PlugIn(first_);
  DevicesChangedLater();
  PollController(rt);
  PollController(rt);
  EXPECT_EQ(Started(), (std::vector<std::string>{"One", "One", "One"})) << "back, still held: a new press";
  EXPECT_EQ(Started().size(), 3u);
}

// --- The end of a press ----------------------------------------------------

// Held and repeating entries act for as long as their press lasts; these
// are the moments it ends, pad by pad (PolledPad::pressHeld, EndPress).
TEST_F(ControllerPollTest, APressEndsWithItsOwnCombinationInputLostAndTheRelease) {
  Entry(1, "One");
  Entry(2, "Two");
  int number = StartWithPad();
  pad::HoldButtons(number, {1});
  PollController(rt);
  EXPECT_TRUE(rt.poll.pads[0].pressHeld);
  // Two added, one let go: the first entry's combination is released, and
  // the second is no new press.
  pad::HoldButtons(number, {1, 2});
  PollController(rt);
  EXPECT_TRUE(rt.poll.pads[0].pressHeld);
  pad::HoldButtons(number, {2});
  PollController(rt);
  EXPECT_FALSE(rt.poll.pads[0].pressHeld);
  EXPECT_EQ(Started(), std::vector<std::string>{"One"});
  // Lost input ends a press.
  pad::HoldButtons(number, {});
  PollController(rt);
  pad::HoldButtons(number, {2});
  PollController(rt);
  EXPECT_TRUE(rt.poll.pads[0].pressHeld);
  pad::LoseInput(number, 0);
  PollController(rt);
  EXPECT_FALSE(rt.poll.pads[0].pressHeld);
  PollController(rt);
  EXPECT_TRUE(rt.poll.pads[0].pressHeld) << "still held once back: a new press";
  EXPECT_EQ(Started(), (std::vector<std::string>{"One", "Two", "Two"}));
}

// Hold entries end to end: each pad holds its own keys, and they go up at
// the release of their own combination, at lost input and at an unplug.
TEST_F(ControllerPadsTest, HoldEntriesHoldTheirKeysPerPadUntilTheirPressEnds) {
  for (const char* keys : {"a", "b"}) {
    ButtonAction& entry = rt.settings.buttonActions[rt.settings.buttonCount];
    entry.buttons = 1u << rt.settings.buttonCount++;
    entry.action = HoldKeys;
    entry.keySeq = keys;
  }
  StartWithTwoPads();
  pad::HoldButtons(first_, {1});
  pad::HoldButtons(second_, {2});
  PollController(rt);
  EXPECT_TRUE(fake_keyboard::KeyDown('A') && fake_keyboard::KeyDown('B'));
  // The first adds 2 and lets 1 go: its "a" goes up, and 2 is no new press.
  pad::HoldButtons(first_, {1, 2});
  PollController(rt);
  pad::HoldButtons(first_, {2});
  PollController(rt);
  EXPECT_FALSE(fake_keyboard::KeyDown('A'));
  EXPECT_TRUE(fake_keyboard::KeyDown('B')) << "the other pad's hold ended";
  pad::HoldButtons(first_, {});
  PollController(rt);
  pad::HoldButtons(first_, {1});
  PollController(rt);
  EXPECT_TRUE(fake_keyboard::KeyDown('A'));
  pad::LoseInput(first_, 0);
  PollController(rt);
  EXPECT_FALSE(fake_keyboard::KeyDown('A')) << "lost input left the key down";
  pad::Unplug(second_);
  DevicesChangedLater();
  EXPECT_FALSE(fake_keyboard::KeyDown('B')) << "the unplugged pad's key stayed down";
}

// Across a reload each pad keeps its slot and its press by its identity,
// even when another pad of the name is listed before it now.
TEST_F(ControllerPadsTest, AReloadKeepsEachPadsPressByItsIdentity) {
  Entry(1, "One");
  StartWithTwoPads();
  pad::HoldButtons(second_, {1});
  PollController(rt);
  EXPECT_EQ(Started().size(), 1u);
  StopPollTimer(rt.poll);
  ReleaseController(rt.poll);
  pad::Unplug(first_);  // the second pad is now listed first
  InitController(rt);
  for (int tick = 0; tick < 3; ++tick) PollController(rt);
  EXPECT_EQ(Started().size(), 1u) << "the reload took the hold for a new press";
  EXPECT_TRUE(rt.poll.pads[1].pressFired);
  EXPECT_EQ(rt.poll.pads[0].device, nullptr);
}

// A hold entry for a target window: the search pumps messages, and the
// tick that they bring sees the button let go before the keys went down.
TEST_F(ControllerPollTest, AReleaseSeenWhileTheHoldLooksForItsWindowStillLetsItsKeysUp) {
  fake_window_system::AddTopLevelWindow("Game", "Game window");
  ButtonAction& entry = rt.settings.buttonActions[rt.settings.buttonCount++];
  entry.buttons = 1;
  entry.action = HoldKeys;
  entry.sendType = SelectWindow;
  entry.select = "Game window";
  entry.keySeq = "a";
  int number = StartWithPad();
  fake_window_system::WhileHandlingMessages([number] {
    fake_window_system::WhileHandlingMessages(nullptr);
    pad::HoldButtons(number, {});
    PollController(rt);
  });
  pad::HoldButtons(number, {1});
  PollController(rt);
  EXPECT_FALSE(fake_keyboard::KeyDown('A'));
  EXPECT_FALSE(rt.poll.pads[0].pressHeld);
}

}  // namespace
}  // namespace quillon

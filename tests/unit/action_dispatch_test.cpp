// What RunAction does for each action kind and target code.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/action_dispatch.h"
#include "runtime/keyboard_capture.h"
#include "runtime/map_switching.h"
#include "runtime/own_keys.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_window_system.h"

namespace quillon {
namespace {

// The runtime under test, made afresh by every case.
Runtime rt;

using fake_platform::CallsStartingWith;

struct Outcome {
  bool typed;     // the entry's key sequence went out at the press
  bool switcher;  // the menu was shown
  bool launched;
  bool mapRequested;  // announced (a map request after a pause)
};

struct DispatchCase {
  const char* label;
  uint32_t action;
  uint32_t sendType;
  const char* select;
  Outcome outcome;
};

class ActionDispatchTest : public ::testing::TestWithParam<DispatchCase> {
 protected:
  void SetUp() override {
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_window_system::Reset();
    rt = Runtime{};
    rt.settings.configNames[0] = "Race";
    rt.settings.configCount = 1;
    rt.settings.programDirectory = "C:\\Q\\";
    rt.map.lastAnnounce = 0;
    fake_platform::SetClock(100000);  // long after the last announcement
    fake_window_system::AddTopLevelWindow("Notepad", "Untitled - Notepad");
  }
  void TearDown() override { StopChangeTimer(rt.map); }

  static Outcome Observed() {
    const auto& windowCalls = fake_window_system::Calls();
    return {!fake_keyboard::InsertedEvents().empty(),
            std::count(windowCalls.begin(), windowCalls.end(), "ShowAppSwitcher") == 1,
            CallsStartingWith("StartProgram").size() == 1, CallsStartingWith("PlaySound").size() == 1};
  }
};

TEST_P(ActionDispatchTest, RunsWhatTheKindAndTargetAsk) {
  const DispatchCase& c = GetParam();
  KeyAction entry;
  entry.action = c.action;
  entry.sendType = c.sendType;
  entry.select = c.select;
  entry.keySeq = "ab";
  entry.appName = "C:\\Games\\mame.exe";
  RunAction(rt, entry);
  Outcome seen = Observed();
  EXPECT_EQ(seen.typed, c.outcome.typed);
  EXPECT_EQ(seen.switcher, c.outcome.switcher);
  EXPECT_EQ(seen.launched, c.outcome.launched);
  EXPECT_EQ(seen.mapRequested, c.outcome.mapRequested);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ActionDispatchTest,
    ::testing::Values(
        DispatchCase{"stuffKeys", StuffKeys, CurrentWindow, "", {true, false, false, false}},
        DispatchCase{"ignoreKeyWithSequence", IgnoreKey, CurrentWindow, "", {true, false, false, false}},
        DispatchCase{"nextMapTypesLater", NextMap, CurrentWindow, "", {false, false, false, true}},
        DispatchCase{"previousMap", PreviousMap, CurrentWindow, "", {false, false, false, true}},
        DispatchCase{"defaultMap", DefaultMap, CurrentWindow, "", {false, false, false, true}},
        DispatchCase{"switcher", ShowSwitcher, CurrentWindow, "", {true, true, false, false}},
        DispatchCase{"switcherIgnoresTarget", ShowSwitcher, SelectWindow, "Nothing*", {true, true, false, false}},
        DispatchCase{"switcherIgnoresBadTarget", ShowSwitcher, 9, "", {true, true, false, false}},
        DispatchCase{"runApplication", RunApplication, CurrentWindow, "", {false, false, true, false}},
        DispatchCase{"changeConfiguration", ChangeConfiguration, CurrentWindow, "", {false, false, true, false}},
        DispatchCase{"holdWithNoEndTypesOnce", HoldKeys, CurrentWindow, "", {true, false, false, false}},
        DispatchCase{"repeatNeedsTarget", RepeatKeys, SelectWindow, "Calc*", {false, false, false, false}},
        DispatchCase{"unknownKind", 10, CurrentWindow, "", {false, false, false, false}},
        DispatchCase{"hugeKind", 0xFFFFFFFF, CurrentWindow, "", {false, false, false, false}},
        DispatchCase{"badTarget", StuffKeys, 2, "", {false, false, false, false}},
        DispatchCase{"targetFound", StuffKeys, SelectWindow, "*notepad", {true, false, false, false}},
        DispatchCase{"targetMissing", StuffKeys, SelectWindow, "Calc*", {false, false, false, false}},
        DispatchCase{"launchNeedsTarget", RunApplication, SelectWindow, "Calc*", {false, false, false, false}},
        DispatchCase{"mapNeedsTarget", NextMap, SelectWindow, "Calc*", {false, false, false, false}}),
    [](const ::testing::TestParamInfo<DispatchCase>& info) { return std::string(info.param.label); });

TEST_F(ActionDispatchTest, AFoundTargetIsBroughtToTheFrontAndClickedBeforeTheKeys) {
  KeyAction entry;
  entry.sendType = SelectWindow;
  entry.select = "Calc*|@Notepad";
  entry.keySeq = "x";
  RunAction(rt, entry);
  EXPECT_EQ(fake_window_system::NumberOf(fake_window_system::ForegroundWindow()), 1);
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 2u);
}

// Keys go only where they were aimed: a target that cannot be made the
// foreground window is asked once more, and then neither clicked nor typed to.
TEST_F(ActionDispatchTest, KeysGoOnlyToATargetThatTookTheForeground) {
  const struct {
    int refusals;
    bool typed;
    size_t requests;
  } rows[] = {{0, true, 1}, {1, true, 2}, {-1, false, 2}};
  for (const auto& row : rows) {
    fake_window_system::Reset();
    fake_keyboard::Reset();
    fake_window_system::AddTopLevelWindow("Notepad", "Untitled - Notepad");
    fake_window_system::RefuseForeground(row.refusals);
    KeyAction entry;
    entry.sendType = SelectWindow;
    entry.select = "@Notepad";
    entry.keySeq = "%{F4}";
    RunAction(rt, entry);
    const auto& calls = fake_window_system::Calls();
    EXPECT_EQ(size_t(std::count(calls.begin(), calls.end(), "Foreground 1")), row.requests) << row.refusals;
    EXPECT_EQ(!fake_keyboard::InsertedEvents().empty(), row.typed) << row.refusals;
    EXPECT_EQ(calls.size() > row.requests, row.typed) << "clicked a window that is not in front";
  }
}

TEST_F(ActionDispatchTest, EntriesWithoutASequenceTypeNothing) {
  for (uint32_t kind : {StuffKeys, IgnoreKey, ShowSwitcher}) {
    KeyAction entry;
    entry.action = kind;
    RunAction(rt, entry);
  }
  EXPECT_TRUE(fake_keyboard::Calls().empty()) << "input must not even be blocked";
}

TEST_F(ActionDispatchTest, AControllerEntryStartsItsProgramLikeAKey) {
  ButtonAction entry;
  entry.buttons = 1;
  entry.action = ChangeConfiguration;
  entry.appName = "C:\\KWP\\QuillonConfig.exe";
  entry.appParms = "C:\\KWP\\Night.qlf";
  RunAction(rt, entry);
  EXPECT_EQ(CallsStartingWith("StartProgram"),
            std::vector<std::string>{"StartProgram C:\\KWP\\QuillonConfig.exe| C:\\KWP\\Night.qlf"});
}

TEST_F(ActionDispatchTest, HotKeyIdsOutsideTheLoadedEntriesDoNothing) {
  rt.settings.keyCount = 2;
  rt.settings.keyActions[1].action = RunApplication;
  rt.settings.keyActions[1].appName = "one.exe";
  rt.settings.keyActions[2].action = RunApplication;
  rt.settings.keyActions[2].appName = "two.exe";
  rt.settings.keyActions[3].action = RunApplication;  // left over, not loaded
  rt.settings.keyActions[3].appName = "three.exe";
  for (uintptr_t id : {uintptr_t(0), uintptr_t(99), uintptr_t(101), uintptr_t(102), uintptr_t(0xBFFF)})
    RunHotKeyAction(rt, id);
  EXPECT_EQ(CallsStartingWith("StartProgram"), std::vector<std::string>{"StartProgram two.exe| "});
}

// An entry on F9 that types "{F9}" would set itself off for ever: the hot
// keys its own keys fire are dropped until the marker behind them arrives.
TEST_F(ActionDispatchTest, HotKeysThatTheRuntimesOwnKeysSetOffAreDropped) {
  rt.settings.useKeyboard = 1;
  rt.settings.keyCount = 2;
  rt.settings.keyActions[1].virtualKey = 0x78;
  rt.settings.keyActions[1].keySeq = "{F9}";
  rt.settings.keyActions[2].virtualKey = 0x77;
  rt.settings.keyActions[2].keySeq = "{F8}";
  RunHotKeyAction(rt, 100);
  EXPECT_EQ(CallsStartingWith("PostOwnKeysMarker").size(), 1u);
  RunHotKeyAction(rt, 100);  // the F9 it typed
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 2u);
  RunHotKeyAction(rt, 101);  // the user's F8, pressed while the burst was typed
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 4u);
  OwnKeysMarkerArrived(rt.ownKeys);
  OwnKeysMarkerArrived(rt.ownKeys);  // the F8 burst's
  RunHotKeyAction(rt, 100);          // the user's next press
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 6u);
}

// Each burst posts its own marker: a burst typed while an earlier marker was
// on its way is still the runtime's own after that marker arrives.
TEST_F(ActionDispatchTest, EachBurstIsCoveredByItsOwnMarker) {
  rt.settings.useKeyboard = 1;
  rt.settings.keyCount = 2;
  rt.settings.keyActions[1].virtualKey = 0x78;
  rt.settings.keyActions[1].keySeq = "x";
  rt.settings.keyActions[2].virtualKey = 0x77;
  rt.settings.keyActions[2].keySeq = "{F8}";
  RunHotKeyAction(rt, 100);
  RunHotKeyAction(rt, 101);  // the user's F8 while the first marker is on its way
  EXPECT_EQ(CallsStartingWith("PostOwnKeysMarker").size(), 2u);
  OwnKeysMarkerArrived(rt.ownKeys);
  RunHotKeyAction(rt, 101);  // the F8 that the second burst typed
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 4u) << "the entry set itself off";
  OwnKeysMarkerArrived(rt.ownKeys);
  RunHotKeyAction(rt, 101);  // the user's next press
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 6u);
}

// A reload while the action clicks its target (the runtime handles messages
// while it waits) frees the loaded entries; the action goes on with its copy.
TEST_F(ActionDispatchTest, AReloadDuringAHotKeysActionTouchesNothingItFreed) {
  rt.settings.keyCount = 1;
  rt.settings.keyActions[1].sendType = SelectWindow;
  rt.settings.keyActions[1].select = "Untitled*";
  rt.settings.keyActions[1].keySeq = "a sequence long enough to live on the heap";  // 42 characters
  fake_window_system::WhileHandlingMessages([] {
    fake_window_system::WhileHandlingMessages(nullptr);
    UnloadSettings(rt);
  });
  RunHotKeyAction(rt, 100);
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 84u);
}

}  // namespace
}  // namespace quillon

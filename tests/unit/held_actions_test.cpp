// Presses that last: what a hold or repeat entry has down or keeps typing,
// and every way its press can end.
#include <gtest/gtest.h>

#include <functional>

#include "runtime/held_actions.h"
#include "runtime/keyboard_capture.h"
#include "runtime/map_switching.h"
#include "runtime/runtime_ending.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/input_injection.h"
#include "runtime/seams/window_timers.h"
#include "runtime/session_events.h"
#include "runtime/settings_lifecycle.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_platform.h"

namespace quillon {
namespace {

Runtime rt;

constexpr PressSource kPad0{PressSource::Kind::Pad, 0};
constexpr PressSource kPad1{PressSource::Kind::Pad, 1};
constexpr uint16_t kLeft = 0x25;

class HeldActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_platform::Reset();
    fake_keyboard::Reset();
    ForgetRuntimeEnd();
    rt = Runtime{};
    rt.settings.configNames[0] = "Race";
    rt.settings.configNames[1] = "Fly";
    rt.settings.configCount = 2;
    rt.settings.programDirectory = "C:\\Q\\";
    rt.settings.ultraMapPath = "C:\\Q\\UltraMap.exe";
  }
  void TearDown() override { ForgetRuntimeEnd(); }

  static bool AnythingDown() {
    for (uint16_t key = 1; key < 256; ++key)
      if (fake_keyboard::KeyDown(key)) return true;
    return false;
  }
  static bool Repeating() {
    for (unsigned id = FirstRepeatTimerId; id < FirstRepeatTimerId + kMaxRepeatingPresses; ++id)
      if (fake_platform::RunningTimers().count(id) != 0) return true;
    return false;
  }
  static size_t Typed(uint16_t key) {
    size_t downs = 0;
    for (const KeyEvent& event : fake_keyboard::InsertedEvents())
      downs += event.virtualKey == key && (event.flags & kKeyEventKeyUp) == 0;
    return downs;
  }
};

// The keys go down in order at the press and up latest first at its end;
// a repeat types at the press and at every tick of its own timer.
TEST_F(HeldActionsTest, AHoldHoldsItsKeysAndARepeatTypesUntilThePressEnds) {
  StartHeldAction(rt, kPad0, HoldKeys, "{LEFT}+a", 100);
  EXPECT_TRUE(fake_keyboard::KeyDown(kLeft) && fake_keyboard::KeyDown(0x10) && fake_keyboard::KeyDown('A'));
  StartHeldAction(rt, kPad1, RepeatKeys, "x", 250);
  EXPECT_EQ(fake_platform::CallsStartingWith("StartTimer"), std::vector<std::string>{"StartTimer 16 250"});
  EXPECT_TRUE(RepeatPressTimer(rt, FirstRepeatTimerId));
  EXPECT_TRUE(RepeatPressTimer(rt, FirstRepeatTimerId));
  EXPECT_EQ(Typed('X'), 3u);
  EXPECT_TRUE(fake_keyboard::KeyDown(kLeft)) << "the repeat's typing left the hold's keys down";

  std::vector<KeyEvent> before = fake_keyboard::InsertedEvents();
  EndPress(rt, kPad0);
  std::vector<uint16_t> ups;
  for (size_t i = before.size(); i < fake_keyboard::InsertedEvents().size(); ++i)
    ups.push_back(fake_keyboard::InsertedEvents()[i].virtualKey);
  EXPECT_EQ(ups, (std::vector<uint16_t>{'A', 0x10, kLeft}));
  EndPress(rt, kPad1);
  EXPECT_FALSE(Repeating());
  EXPECT_FALSE(RepeatPressTimer(rt, PollTimerId));
  EXPECT_TRUE(RepeatPressTimer(rt, FirstRepeatTimerId)) << "a tick queued before the end is the repeat's";
  EXPECT_EQ(Typed('X'), 3u) << "and types nothing";
  EXPECT_FALSE(AnythingDown() || AnyPressUnderWay(rt));
}

// Every way a press can end without its release being seen lets go of
// everything, holds and repeats and a repeat's hold words alike.
TEST_F(HeldActionsTest, NothingStaysHeldWhateverEndsThePress) {
  const struct {
    const char* label;
    std::function<void()> end;
  } rows[] = {
      {"release", [] { EndPress(rt, kPad0), EndPress(rt, kPad1); }},
      {"reload", [] { UnloadSettings(rt); }},
      {"lock", [] { HandleSessionEvent(rt, SessionEvent::Left); }},
      {"sleep", [] { HandleSessionEvent(rt, SessionEvent::Suspending); }},
      {"resume", [] { HandleSessionEvent(rt, SessionEvent::Resumed); }},
      {"change of map", [] { HandOverChosenMap(rt, 1); }},
      {"end", [] { EndRuntime(rt); }},
  };
  for (const auto& row : rows) {
    SetUp();
    StartHeldAction(rt, kPad0, HoldKeys, "{LEFT}{UP}", 100);
    StartHeldAction(rt, kPad1, RepeatKeys, "{SHIFT DOWN}z", 100);
    ASSERT_TRUE(fake_keyboard::KeyDown(kLeft) && fake_keyboard::KeyDown(0x10) && Repeating()) << row.label;
    row.end();
    EXPECT_FALSE(AnythingDown()) << row.label;
    EXPECT_FALSE(Repeating() || AnyPressUnderWay(rt)) << row.label;
  }
}

// Caps Lock goes off for the hold and on again at its end, never held.
TEST_F(HeldActionsTest, CapsLockOnIsToggledAroundTheHoldAndNotHeld) {
  fake_keyboard::SetCapsLock(true);
  StartHeldAction(rt, kPad0, HoldKeys, "a", 100);
  EXPECT_FALSE(fake_keyboard::KeyDown(0x14));
  EXPECT_TRUE(fake_keyboard::KeyDown('A'));
  EndPress(rt, kPad0);
  std::vector<std::string> sent;
  for (const KeyEvent& event : fake_keyboard::InsertedEvents())
    sent.push_back(std::to_string(event.virtualKey) + ((event.flags & kKeyEventKeyUp) ? "u" : "d"));
  EXPECT_EQ(sent, (std::vector<std::string>{"20d", "20u", "65d", "65u", "20d", "20u"}));
}

TEST_F(HeldActionsTest, AKeyTwoPadsHoldGoesUpWithTheLastOfThem) {
  StartHeldAction(rt, kPad0, HoldKeys, "{LEFT}", 100);
  StartHeldAction(rt, kPad1, HoldKeys, "{LEFT}a", 100);
  EndPress(rt, kPad1);
  EXPECT_TRUE(fake_keyboard::KeyDown(kLeft));
  EXPECT_FALSE(fake_keyboard::KeyDown('A'));
  EndPress(rt, kPad0);
  EXPECT_FALSE(AnythingDown());
}

// A hot key's press has no end that the system reports: typed once, down
// and up, and nothing lasts. A second press of a source ends its first.
TEST_F(HeldActionsTest, APressWithNoReportedEndTypesOnceAndAPressAgainStartsAfresh) {
  StartHeldAction(rt, PressSource{}, HoldKeys, "{LEFT}", 100);
  StartHeldAction(rt, PressSource{}, RepeatKeys, "{LEFT}", 100);
  EXPECT_EQ(Typed(kLeft), 2u);
  EXPECT_FALSE(AnythingDown() || Repeating() || AnyPressUnderWay(rt));
  StartHeldAction(rt, kPad0, RepeatKeys, "a", 100);
  StartHeldAction(rt, kPad0, HoldKeys, "b", 100);
  EXPECT_FALSE(Repeating());
  EXPECT_TRUE(fake_keyboard::KeyDown('B'));
}

// With the hook watching, the user's own Ctrl is let go of for the hold, so
// the game sees Left rather than Ctrl+Left, and is back once the hold ends.
TEST_F(HeldActionsTest, AHoldLetsGoOfTheUsersModifiersAndPutsBackThoseStillHeld) {
  rt.settings.useKeyboard = 1;
  rt.settings.useHook = 1;
  rt.settings.keyCount = 1;
  for (bool stillHeld : {true, false}) {
    fake_keyboard::Reset();
    fake_keyboard::HoldByHand(0xA2, true);
    rt.capture.hook.userModifiers = kLeftCtrlKey;
    StartHeldAction(rt, kPad0, HoldKeys, "{LEFT}", 100);
    EXPECT_FALSE(fake_keyboard::KeyDown(0xA2)) << stillHeld;
    EXPECT_TRUE(fake_keyboard::KeyDown(kLeft));
    if (!stillHeld) {
      fake_keyboard::HoldByHand(0xA2, false);
      rt.capture.hook.userModifiers = 0;
    }
    EndPress(rt, kPad0);
    EXPECT_FALSE(fake_keyboard::KeyDown(kLeft));
    EXPECT_EQ(fake_keyboard::KeyDown(0xA2), stillHeld);
    fake_keyboard::HoldByHand(0xA2, false);
  }
}

}  // namespace
}  // namespace quillon

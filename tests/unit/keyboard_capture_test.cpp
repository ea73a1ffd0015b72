// Hook mode: which key-downs are swallowed and which entry runs.
#include <gtest/gtest.h>

#include <algorithm>

#include "shared/key_event.h"
#include "runtime/keyboard_capture.h"
#include "runtime/own_keys.h"
#include "runtime/session_events.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/input_injection.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_window_system.h"

namespace quillon {
namespace {

// The runtime under test, made afresh by every case.
Runtime rt;

constexpr uint32_t kF5 = 0x74;

class HookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_window_system::Reset();
    rt = Runtime{};
    rt.settings.useKeyboard = 1;
    rt.settings.useHook = 1;
    fake_platform::ClearCalls();
    posted_ = 0;
  }
  // Entry `number` runs the given program when it fires.
  static void Entry(uint32_t number, uint32_t modifier, uint32_t virtualKey, const char* program) {
    KeyAction& entry = rt.settings.keyActions[number];
    entry.modifier = modifier;
    entry.virtualKey = virtualKey;
    entry.action = RunApplication;
    entry.appName = program;
    if (number > rt.settings.keyCount) rt.settings.keyCount = number;
    ArmKeyCapture(rt);
  }
  static std::vector<std::string> Started() { return fake_platform::CallsStartingWith("StartProgram"); }
  // The hook callback for a user's key-down, then the main window's turn for
  // whatever it posted.
  static bool HookKeyDown(uint32_t virtualKey, uint32_t held) {
    bool swallowed = HandleHookKeyDown(rt.capture.hook, virtualKey, held, 0);
    RunPostedActions();
    return swallowed;
  }
  static void RunPostedActions() {
    for (size_t n = fake_platform::CallsStartingWith("PostHookAction").size(); posted_ < n; ++posted_)
      RunPostedHookAction(rt);
  }
  static inline size_t posted_ = 0;
};

TEST_F(HookTest, OnlyTheLaterEntryOnAKeyIsReachableAndModifiersMustMatchExactly) {
  for (uint32_t n = 1; n <= 7; ++n) Entry(n, 0, 0x41 + n, "other.exe");
  Entry(3, ModifierCtrl, kF5, "three.exe");
  Entry(7, ModifierShift, kF5, "seven.exe");
  struct {
    uint32_t held;
    bool swallowed;
  } presses[] = {{ModifierCtrl, false},
                 {ModifierShift, true},
                 {0, false},
                 {ModifierShift | ModifierCtrl, false},
                 {ModifierShift | ModifierWin, false}};
  for (const auto& press : presses)
    EXPECT_EQ(HookKeyDown(kF5, press.held), press.swallowed) << "modifiers " << press.held;
  EXPECT_EQ(Started(), std::vector<std::string>{"StartProgram seven.exe| "});
}

TEST_F(HookTest, KeysWithoutAnEntryAndOutOfRangeCodesPassOn) {
  Entry(1, 0, kF5, "one.exe");
  EXPECT_FALSE(HookKeyDown(0x75, 0));
  EXPECT_FALSE(HookKeyDown(kF5 + 256, 0));
  EXPECT_FALSE(HookKeyDown(0xFFFFFFFF, 0));
  EXPECT_TRUE(Started().empty());
}

TEST_F(HookTest, AMatchedKeyIsSwallowedEvenWhenItsActionDoesNothing) {
  Entry(1, ModifierAlt, kF5, "one.exe");
  rt.settings.keyActions[1].sendType = SelectWindow;
  rt.settings.keyActions[1].select = "No such window";
  Entry(2, 0, 0x76, "two.exe");
  rt.settings.keyActions[2].action = 99;
  EXPECT_TRUE(HookKeyDown(kF5, ModifierAlt));
  EXPECT_TRUE(HookKeyDown(0x76, 0));
  EXPECT_TRUE(Started().empty());
  EXPECT_TRUE(fake_keyboard::Calls().empty());
}

TEST_F(HookTest, TheCallbackOnlyDecidesAndTheActionsRunAfterwardsInOrder) {
  Entry(1, 0, kF5, "");
  rt.settings.keyActions[1].action = ShowSwitcher;
  rt.settings.keyActions[1].keySeq = "x";
  Entry(2, 0, 0x76, "two.exe");
  EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, kF5, 0, 0));
  HandleHookKeyUp(rt.capture.hook, kF5);
  EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, 0x76, 0, 0));
  EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, kF5, 0, 0));
  EXPECT_TRUE(fake_window_system::Calls().empty()) << "the menu must not open inside the hook";
  EXPECT_TRUE(fake_keyboard::Calls().empty()) << "nothing may be typed inside the hook";
  EXPECT_TRUE(Started().empty()) << "nothing may start inside the hook";
  RunPostedActions();
  EXPECT_EQ(fake_window_system::Calls(), (std::vector<std::string>{"ShowAppSwitcher", "ShowAppSwitcher"}));
  EXPECT_EQ(Started(), std::vector<std::string>{"StartProgram two.exe| "});
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 4u);
}

// The main thread may be busy long after the keys: a reload meanwhile, or a
// key held down over a slow action, must not turn into runs it never meant.
TEST_F(HookTest, KeysQueuedBeforeAReloadRunNothingAndAHeldKeyDoesNotPileUp) {
  Entry(1, 0, kF5, "old.exe");
  EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, kF5, 0, 0));
  HandleHookKeyUp(rt.capture.hook, kF5);
  UnloadSettings(rt);
  rt.settings.useKeyboard = 1;
  rt.settings.useHook = 1;
  Entry(1, 0, kF5, "new.exe");
  RunPostedActions();
  EXPECT_TRUE(Started().empty()) << "a key pressed under the old settings ran";

  for (int repeat = 0; repeat < 30; ++repeat) EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, kF5, 0, 0)) << repeat;
  HandleHookKeyUp(rt.capture.hook, kF5);
  RunPostedActions();
  EXPECT_EQ(Started().size(), 1u) << "auto-repeat queued the action again and again";

  for (int press = 0; press < 30; ++press) {
    EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, kF5, 0, 0)) << press;
    HandleHookKeyUp(rt.capture.hook, kF5);
  }
  RunPostedActions();
  size_t queued = Started().size() - 1;
  EXPECT_GT(queued, 1u) << "separate presses are separate runs";
  EXPECT_LT(queued, 30u) << "the queue is unbounded";
}

// A key held down on a keyboard or an arcade encoder auto-repeats: typing
// entries type on at each repeat, as before, but a program, a configuration
// or the switcher comes once per press, not thirty times a second.
TEST_F(HookTest, AHeldKeyRepeatsTypingButRunsAOneShotActionOnce) {
  const struct {
    uint32_t action;
    const char* keySeq;
    size_t starts, switchers, typedKeys;
  } rows[] = {
      {StuffKeys, "x", 0, 0, 11 * 2}, {RunApplication, "", 1, 0, 0}, {ChangeConfiguration, "", 1, 0, 0},
      {ShowSwitcher, "", 0, 1, 0},    {ShowSwitcher, "x", 0, 1, 2},
  };
  for (const auto& row : rows) {
    SetUp();
    Entry(1, 0, kF5, "one.exe");
    rt.settings.keyActions[1].action = row.action;
    rt.settings.keyActions[1].keySeq = row.keySeq;
    ArmKeyCapture(rt);
    // One press and ten repeats, each run before the next arrives.
    for (int keyDown = 0; keyDown < 11; ++keyDown) EXPECT_TRUE(HookKeyDown(kF5, 0)) << row.action << " " << keyDown;
    HandleHookKeyUp(rt.capture.hook, kF5);
    RunPostedActions();
    EXPECT_EQ(Started().size(), row.starts) << row.action;
    EXPECT_EQ(size_t(std::count(fake_window_system::Calls().begin(), fake_window_system::Calls().end(),
                                "ShowAppSwitcher")),
              row.switchers)
        << row.action;
    EXPECT_EQ(fake_keyboard::InsertedEvents().size(), row.typedKeys) << row.action;
    // Let go, the next press is a press again.
    EXPECT_TRUE(HookKeyDown(kF5, 0));
    EXPECT_EQ(Started().size(), row.starts * 2) << row.action;
  }
}

// In hot-key mode the system itself repeats a held combination, unless the
// registration asks it not to.
TEST_F(HookTest, HotKeysOfOneShotActionsAreRegisteredWithoutRepeats) {
  rt.settings.useHook = 0;
  for (uint32_t kind = StuffKeys; kind <= kLastActionKind; ++kind) {
    rt.settings.keyActions[kind + 1] = {};
    rt.settings.keyActions[kind + 1].virtualKey = 0x41 + kind;
    rt.settings.keyActions[kind + 1].action = kind;
  }
  rt.settings.keyCount = kLastActionKind + 1;
  ArmKeyCapture(rt);
  EXPECT_EQ(fake_platform::CallsStartingWith("RegisterHotKey"),
            (std::vector<std::string>{"RegisterHotKey 100 0 65", "RegisterHotKey 101 0 66",
                                      "RegisterHotKey 102 0 67 once", "RegisterHotKey 103 0 68 once",
                                      "RegisterHotKey 104 0 69 once", "RegisterHotKey 105 0 70 once",
                                      "RegisterHotKey 106 0 71 once", "RegisterHotKey 107 0 72 once",
                                      "RegisterHotKey 108 0 73 once", "RegisterHotKey 109 0 74 once"}));
}

TEST_F(HookTest, TheRuntimesOwnKeysNeverMatch) {
  Entry(1, 0, kF5, "one.exe");
  EXPECT_FALSE(HandleHookKeyDown(rt.capture.hook, kF5, 0, kInjectedEventTag));
  EXPECT_FALSE(HandleHookKeyDown(rt.capture.hook, kF5, 0, kInjectedHoldEventTag));
  EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, kF5, 0, 12345)) << "other programs' injected keys are the user's";
  RunPostedActions();
}

// Ctrl+F5 typing "w" while the user holds the left Ctrl: the burst lets go
// of what the hook saw the user hold, whatever the runtime's own keys did.
// The hook misses the key-ups that go to another desktop (Ctrl+Alt+Del):
// a Ctrl it still counts as held, but that is up, is neither let go of nor
// put back down.
TEST_F(HookTest, ATypingEntryLetsGoOfTheModifiersTheHookSawTheUserHoldAndThatAreDown) {
  const struct {
    bool down;
    uint32_t entryModifiers;
    std::vector<std::string> sent;
  } rows[] = {{true, ModifierCtrl, {"a2 1d up", "57 11 down", "57 11 up", "a2 1d down"}},
              {false, 0, {"57 11 down", "57 11 up"}}};
  for (const auto& row : rows) {
    fake_keyboard::Reset();
    posted_ = fake_platform::CallsStartingWith("PostHookAction").size();
    Entry(1, row.entryModifiers, kF5, "");
    rt.settings.keyActions[1].action = StuffKeys;
    rt.settings.keyActions[1].keySeq = "w";
    fake_keyboard::HoldByHand(0xA2, row.down);
    HandleHookModifierKey(rt.capture.hook, kLeftCtrlKey, true, 0);
    HandleHookModifierKey(rt.capture.hook, kLeftCtrlKey, false, kInjectedEventTag);
    EXPECT_TRUE(HookKeyDown(kF5, row.entryModifiers));
    std::vector<std::string> sent;
    for (const KeyEvent& event : fake_keyboard::InsertedEvents()) sent.push_back(fake_keyboard::Describe(event));
    EXPECT_EQ(sent, row.sent) << row.down;
    // A burst of the same entry's kind that no key set off reads the state.
    fake_keyboard::Reset();
    fake_keyboard::HoldByHand(0xA2, row.down);
    TypeOwnKeys(rt, "w");
    EXPECT_EQ(fake_keyboard::KeyDown(0xA2), row.down) << row.down;
    EXPECT_EQ(fake_keyboard::InsertedEvents().size(), row.sent.size()) << row.down;
    fake_keyboard::HoldByHand(0xA2, false);
    HandleHookModifierKey(rt.capture.hook, kLeftCtrlKey, false, 0);
    HandleHookKeyUp(rt.capture.hook, kF5);
  }
}

TEST_F(HookTest, SwallowingTheKeyOfAnAltOrWindowsCombinationSendsANeutralKey) {
  const struct {
    uint32_t modifiers;
    size_t neutralKeys;
  } rows[] = {{0, 0},           {ModifierCtrl, 0}, {ModifierShift, 0},
              {ModifierAlt, 1}, {ModifierWin, 1},  {ModifierAlt | ModifierCtrl, 1}};
  for (const auto& row : rows) {
    fake_platform::Reset();
    posted_ = 0;
    Entry(1, row.modifiers, kF5, "one.exe");
    EXPECT_TRUE(HookKeyDown(kF5, row.modifiers));
    EXPECT_EQ(fake_platform::CallsStartingWith("NeutralKey").size(), row.neutralKeys) << row.modifiers;
  }
  fake_platform::ClearCalls();
  EXPECT_FALSE(HookKeyDown(0x75, ModifierAlt));
  EXPECT_TRUE(fake_platform::CallsStartingWith("NeutralKey").empty()) << "a key passed on needs none";
}

TEST_F(HookTest, AnEntryLeftInTheIndexAfterAnUnloadNeverRuns) {
  Entry(1, 0, kF5, "one.exe");
  UnloadSettings(rt);
  rt.capture.keyIndex[kF5] = 1;  // as if the index had not been cleared
  EXPECT_FALSE(HookKeyDown(kF5, 0));
  EXPECT_TRUE(Started().empty());
}

// The system may drop a hook whose thread was frozen (sleep, a session
// switch); coming back installs it afresh, and the keys still match.
TEST_F(HookTest, ResumeAndReturnInstallTheHookAfreshAndLeavingDoesNot) {
  const struct {
    SessionEvent event;
    bool rearms;
  } rows[] = {{SessionEvent::Resumed, true},
              {SessionEvent::Returned, true},
              {SessionEvent::Left, false},
              {SessionEvent::DevicesChanged, false}};
  Entry(1, 0, kF5, "one.exe");
  InstallCaptureHook(rt);
  for (const auto& row : rows) {
    fake_platform::ClearCalls();
    posted_ = 0;
    HandleSessionEvent(rt, row.event);
    std::vector<std::string> rearmed = {"RemoveHook", "InstallHook"};
    EXPECT_EQ(fake_platform::Calls(), row.rearms ? rearmed : std::vector<std::string>{}) << int(row.event);
    EXPECT_TRUE(fake_platform::HookInstalled());
    EXPECT_TRUE(HookKeyDown(kF5, 0)) << int(row.event);
    HandleHookKeyUp(rt.capture.hook, kF5);
    EXPECT_EQ(Started().size(), 1u) << int(row.event);
  }
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// A hold or repeat entry's key acts until it goes up: its key-up is
// swallowed with its key-down and ends the press on the main thread, and a
// full queue never drops that end. Other entries' key-ups pass on.
TEST_F(HookTest, AHoldEntrysKeyUpIsSwallowedAndEndsThePressEvenBehindAFullQueue) {
  Entry(1, 0, kF5, "");
  rt.settings.keyActions[1].action = HoldKeys;
  rt.settings.keyActions[1].keySeq = "{LEFT}";
  Entry(2, 0, 0x76, "two.exe");
  ArmKeyCapture(rt);
  EXPECT_TRUE(HookKeyDown(kF5, 0));
  EXPECT_TRUE(fake_keyboard::KeyDown(0x25));
  EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, kF5, 0, 0)) << "an auto-repeat is swallowed";
  for (int n = 0; n < 12; ++n) {
    HandleHookKeyDown(rt.capture.hook, 0x76, 0, 0);
    EXPECT_FALSE(HandleHookKeyUp(rt.capture.hook, 0x76));
  }
  EXPECT_TRUE(HandleHookKeyUp(rt.capture.hook, kF5));
  RunPostedActions();
  EXPECT_FALSE(fake_keyboard::KeyDown(0x25));
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 2u) << "the auto-repeat typed nothing more";
  EXPECT_FALSE(HandleHookKeyUp(rt.capture.hook, kF5)) << "a second key-up is the system's";
}

}  // namespace
}  // namespace quillon

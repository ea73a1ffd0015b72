// SendKeySequence against the recording input fake: what goes out, in which
// order, between which BlockInput calls, and what is done when the system
// refuses an event or fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "runtime/key_injection.h"
#include "shared/key_sequence_parser.h"
#include "tests/fakes/fake_keyboard.h"

namespace quillon {
namespace {

using Lines = std::vector<std::string>;

// What the runtime holds down across bursts, made afresh by every case.
HeldKeys held;

class KeyInjection : public ::testing::Test {
 protected:
  void SetUp() override {
    held = HeldKeys{};
    fake_keyboard::Reset();
  }
  void TearDown() override {
    ReleaseHeldKeys(held);
    fake_keyboard::Reset();
  }
  static const Lines& Calls() { return fake_keyboard::Calls(); }
};

// Replays the inserted events on a key state of one bit per key, as the
// system keeps it: nothing may be left down.
void ExpectNothingHeld() {
  bool down[256] = {};
  for (const KeyEvent& event : fake_keyboard::InsertedEvents())
    down[event.virtualKey & 0xFF] = (event.flags & kKeyEventKeyUp) == 0;
  for (int key = 0; key < 256; ++key) EXPECT_FALSE(down[key]) << "key " << key << " left down";
}

// The switcher's " Desktop" chord is the runtime's own: a hook entry on
// Win+D must let it through.
TEST_F(KeyInjection, TheShowDesktopChordCarriesTheRuntimesTag) {
  SendShowDesktopChord();
  ASSERT_EQ(fake_keyboard::InsertedEvents().size(), 4u);
  for (const KeyEvent& event : fake_keyboard::InsertedEvents()) EXPECT_TRUE(IsRuntimeInjected(event.extraInfo));
  ExpectNothingHeld();
}

TEST_F(KeyInjection, SyntaxErrorSendsNothingAndNeverBlocks) {
  EXPECT_EQ(SendKeySequence(held, "ab}", 0), 3);
  EXPECT_EQ(SendKeySequence(held, "+(ab", 0), 2);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(KeyInjection, EmptyOrAbsentTextBlocksAndAtOnceUnblocks) {
  EXPECT_EQ(SendKeySequence(held, "", 0), 0);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "BlockInput 0"}));
  fake_keyboard::Reset();
  EXPECT_EQ(SendKeySequence(held, nullptr, 50), 0);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "BlockInput 0"}));
}

// One call: the system keeps its events together, so the user's own keys
// cannot come between them (BlockInput is refused to a program that is not
// elevated).
TEST_F(KeyInjection, TheWholeBurstGoesOutInOneCallWhileInputIsBlocked) {
  EXPECT_EQ(SendKeySequence(held, "abc", 0), 0);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "SendInput 6", "Send 41 1e down", "Send 41 1e up", "Send 42 30 down",
                            "Send 42 30 up", "Send 43 2e down", "Send 43 2e up", "BlockInput 0"}));
}

TEST_F(KeyInjection, EventsKeepTheTimeStampsOfTheParse) {
  fake_keyboard::SetTickCount(5000);
  EXPECT_EQ(SendKeySequence(held, "ab", 10), 0);
  ASSERT_EQ(fake_keyboard::InsertedEvents().size(), 4u);
  for (const KeyEvent& event : fake_keyboard::InsertedEvents()) EXPECT_EQ(event.time, 5000u);
}

TEST_F(KeyInjection, PauseFollowsEveryEventIncludingTheLast) {
  EXPECT_EQ(SendKeySequence(held, "ab", 50), 0);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "SendInput 1", "Send 41 1e down", "Sleep 50", "SendInput 1",
                            "Send 41 1e up", "Sleep 50", "SendInput 1", "Send 42 30 down", "Sleep 50", "SendInput 1",
                            "Send 42 30 up", "Sleep 50", "BlockInput 0"}));
}

TEST_F(KeyInjection, FixedKeysGoOutWithTheirExtendedFlag) {
  EXPECT_EQ(SendKeySequence(held, "%{RMENU}", 0), 0);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "SendInput 4", "Send 12 38 down", "Send 12 38 ext down",
                            "Send 12 38 ext up", "Send 12 38 up", "BlockInput 0"}));
}

struct RefusalRow {
  const char* text;
  std::set<int> refused;  // submission numbers, releases included
  Lines calls;
};

TEST_F(KeyInjection, RefusalStopsTheBurstAndReleasesWhatIsHeld) {
  // clang-format off
  const RefusalRow rows[] = {
      // Third of six refused: nothing is held at that point.
      {"abc", {3}, {"SendInput 6", "Send 41 1e down", "Send 41 1e up", "Refused 42 30 down"}},
      {"abc", {1}, {"SendInput 6", "Refused 41 1e down"}},
      // Held modifiers are released latest first.
      {"+^x", {3}, {"SendInput 6", "Send 10 2a down", "Send 11 1d down", "Refused 58 2d down",
                    "SendInput 2", "Send 11 1d up", "Send 10 2a up"}},
      {"+^x", {4}, {"SendInput 6", "Send 10 2a down", "Send 11 1d down", "Send 58 2d down", "Refused 58 2d up",
                    "SendInput 3", "Send 58 2d up", "Send 11 1d up", "Send 10 2a up"}},
      // The key state is one bit: two Shift downs need one release, and after
      // the inner Shift up nothing is held any more.
      {"+(EC)", {3}, {"SendInput 10", "Send 10 2a down", "Send 10 2a down", "Refused 45 12 down",
                      "SendInput 1", "Send 10 2a up"}},
      {"+(EC)", {6}, {"SendInput 10", "Send 10 2a down", "Send 10 2a down", "Send 45 12 down", "Send 45 12 up",
                      "Send 10 2a up", "Refused 10 2a down"}},
      // A refused release is not retried; the others are still tried.
      {"+^x", {3, 4}, {"SendInput 6", "Send 10 2a down", "Send 11 1d down", "Refused 58 2d down",
                       "SendInput 2", "Refused 11 1d up", "SendInput 1", "Send 10 2a up"}},
      {"{ALT DOWN}{F4}", {3}, {"SendInput 3", "Send 12 38 down", "Send 73 3e down", "Refused 73 3e up",
                               "SendInput 2", "Send 73 3e up", "Send 12 38 up"}},
      {"{RCONTROL}{LCONTROL}", {2}, {"SendInput 4", "Send 11 1d ext down", "Refused 11 1d ext up",
                                     "SendInput 1", "Send 11 1d ext up"}},
  };
  // clang-format on
  for (const RefusalRow& row : rows) {
    fake_keyboard::Reset();
    fake_keyboard::SetRefusedSubmissions(row.refused);
    EXPECT_EQ(SendKeySequence(held, row.text, 0), -2) << row.text;
    Lines expected = row.calls;
    expected.insert(expected.begin(), "BlockInput 1");
    expected.push_back("BlockInput 0");
    EXPECT_EQ(Calls(), expected) << row.text;
  }
}

TEST_F(KeyInjection, RefusalWithAPauseStopsPausing) {
  fake_keyboard::SetRefusedSubmissions({2});
  EXPECT_EQ(SendKeySequence(held, "ab", 20), -2);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "SendInput 1", "Send 41 1e down", "Sleep 20", "SendInput 1",
                            "Refused 41 1e up", "SendInput 1", "Send 41 1e up", "BlockInput 0"}));
}

TEST_F(KeyInjection, FaultWhileSendingUnblocksReleasesAndGivesMinusThree) {
  fake_keyboard::SetFailingSubmissions({3});
  EXPECT_EQ(SendKeySequence(held, "+^x", 0), -3);
  // Any key-down of the failing call may have gone out, so each is released.
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "SendInput 6", "Send 10 2a down", "Send 11 1d down", "Failed 58 2d down",
                            "SendInput 3", "Send 58 2d up", "Send 11 1d up", "Send 10 2a up", "BlockInput 0"}));
  ExpectNothingHeld();
}

TEST_F(KeyInjection, FaultOnAKeyUpSendsItAgain) {
  fake_keyboard::SetFailingSubmissions({4});
  EXPECT_EQ(SendKeySequence(held, "+x", 0), -3);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "SendInput 4", "Send 10 2a down", "Send 58 2d down", "Send 58 2d up",
                            "Failed 10 2a up", "SendInput 2", "Send 58 2d up", "Send 10 2a up", "BlockInput 0"}));
}

TEST_F(KeyInjection, FaultDuringReleaseKeepsTheRefusalResult) {
  fake_keyboard::SetRefusedSubmissions({3});
  fake_keyboard::SetFailingSubmissions({4});
  EXPECT_EQ(SendKeySequence(held, "+^x", 0), -2);
  EXPECT_EQ(Calls().back(), "BlockInput 0");
}

TEST_F(KeyInjection, FaultWhileParsingGivesMinusThreeWithoutBlocking) {
  fake_keyboard::SetLayoutFails(true);
  EXPECT_EQ(SendKeySequence(held, "abc", 0), -3);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(KeyInjection, EveryBurstEndsWithNothingHeld) {
  const char* texts[] = {"abc", "Abc", "+(ec)", "+(EC)", "%{F4}", "{shift down}x{shift up}", "a~b", "12", "+(a^)",
                         "^(%+)b", "+({a)}^", "x+", "%^", "{RMENU}{LSHIFT}",
                         // holds named without their release
                         "{alt down}{tab}", "{shift down}{ctrl down}x", "{ctrl down}a{shift down}"};
  for (bool capsLock : {false, true}) {
    for (const char* text : texts) {
      fake_keyboard::Reset();
      fake_keyboard::SetCapsLock(capsLock);
      EXPECT_EQ(SendKeySequence(held, text, 0), 0) << text;
      ReleaseHeldKeys(held);  // what hold words left down, as an unload does
      SCOPED_TRACE(text);
      ExpectNothingHeld();
    }
  }
}

// An Alt-Tab spread over three buttons: the hold word's key stays down
// between bursts, prefixes never do, and the unload lets go of what is left.
TEST_F(KeyInjection, HoldWordsLastAcrossBurstsUntilReleasedOrUnloaded) {
  const struct {
    const char* text;
    Lines sent;
  } bursts[] = {
      {"{ALT DOWN}{TAB}", {"SendInput 3", "Send 12 38 down", "Send 9 f down", "Send 9 f up"}},
      // The Alt that the runtime holds is not the user's: it stays down.
      {"{TAB}", {"SendInput 2", "Send 9 f down", "Send 9 f up"}},
      {"{ALT UP}", {"SendInput 1", "Send 12 38 up"}},
      {"+{CTRL DOWN}x",
       {"SendInput 5", "Send 10 2a down", "Send 11 1d down", "Send 10 2a up", "Send 58 2d down", "Send 58 2d up"}},
  };
  for (const auto& burst : bursts) {
    fake_keyboard::Reset();
    EXPECT_EQ(SendKeySequence(held, burst.text, 0), 0);
    Lines expected = burst.sent;
    expected.insert(expected.begin(), "BlockInput 1");
    expected.push_back("BlockInput 0");
    EXPECT_EQ(Calls(), expected) << burst.text;
  }
  fake_keyboard::Reset();
  ReleaseHeldKeys(held);
  EXPECT_EQ(Calls(), (Lines{"SendInput 1", "Send 11 1d up"}));
  ReleaseHeldKeys(held);
  EXPECT_EQ(Calls().size(), 2u) << "released once";
}

TEST_F(KeyInjection, ABurstCutShortReleasesEarlierHoldsToo) {
  EXPECT_EQ(SendKeySequence(held, "{SHIFT DOWN}", 0), 0);
  fake_keyboard::Reset();
  fake_keyboard::SetRefusedSubmissions({2});
  EXPECT_EQ(SendKeySequence(held, "ab", 0), -2);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "SendInput 4", "Send 41 1e down", "Refused 41 1e up", "SendInput 2",
                            "Send 41 1e up", "Send 10 2a up", "BlockInput 0"}));
}

TEST_F(KeyInjection, EveryEventCarriesTheRuntimesTag) {
  EXPECT_EQ(SendKeySequence(held, "{ALT DOWN}a{ALT UP}", 0), 0);
  std::vector<uintptr_t> tags;
  for (const KeyEvent& event : fake_keyboard::InsertedEvents()) tags.push_back(event.extraInfo);
  EXPECT_EQ(tags, (std::vector<uintptr_t>{kInjectedHoldEventTag, kInjectedEventTag, kInjectedEventTag,
                                          kInjectedHoldEventTag}));
}

struct HandRow {
  std::vector<uint16_t> hand;  // keys the user holds: 0xA0-0xA5 a side of Shift, Ctrl, Alt; 0x5B the Windows key
  const char* text;
  std::set<int> refused, failing;
  int32_t result;
  Lines calls;  // between BlockInput 1 and 0
};

// An entry on Ctrl+F1 typing "www" while the user still holds Ctrl: the
// held modifiers are let go before the sequence and put down again after it,
// in the same call, and a burst cut short still puts them back.
TEST_F(KeyInjection, KeysComeOutAsWrittenWhateverTheUserHolds) {
  // clang-format off
  const HandRow rows[] = {
      {{0xA2}, "www", {}, {}, 0, {"SendInput 8", "Send a2 1d up", "Send 57 11 down", "Send 57 11 up",
                                  "Send 57 11 down", "Send 57 11 up", "Send 57 11 down", "Send 57 11 up",
                                  "Send a2 1d down"}},
      // Win+L would lock the machine. A Windows key (or Alt) let go or put
      // back has a neutral key beside it, so it never goes up alone.
      {{0x5B}, "hi", {}, {}, 0, {"SendInput 10", "Send e8 0 down", "Send e8 0 up", "Send 5b 5b ext up",
                                 "Send 48 23 down", "Send 48 23 up", "Send 49 17 down", "Send 49 17 up",
                                 "Send 5b 5b ext down", "Send e8 0 down", "Send e8 0 up"}},
      {{0xA3, 0xA1}, "a", {}, {}, 0, {"SendInput 6", "Send a1 36 up", "Send a3 1d ext up", "Send 41 1e down",
                                      "Send 41 1e up", "Send a1 36 down", "Send a3 1d ext down"}},
      // A Ctrl that the sequence asks for is its own: pressed where it says.
      {{0xA2}, "a^c", {}, {}, 0, {"SendInput 8", "Send a2 1d up", "Send 41 1e down", "Send 41 1e up",
                                  "Send 11 1d down", "Send 43 2e down", "Send 43 2e up", "Send 11 1d up",
                                  "Send a2 1d down"}},
      // The sequence's hold keeps the key down: nothing to put back.
      {{0xA2}, "{CTRL DOWN}", {}, {}, 0, {"SendInput 2", "Send a2 1d up", "Send 11 1d down"}},
      {{0xA2}, "", {}, {}, 0, {}},
      // Cut short: what the sequence left down goes up, the Ctrl down again.
      {{0xA2}, "www", {3}, {}, -2, {"SendInput 8", "Send a2 1d up", "Send 57 11 down", "Refused 57 11 up",
                                    "SendInput 2", "Send 57 11 up", "Send a2 1d down"}},
      {{0xA2}, "www", {1}, {}, -2, {"SendInput 8", "Refused a2 1d up"}},
      {{0xA2}, "w", {4}, {}, 0, {"SendInput 4", "Send a2 1d up", "Send 57 11 down", "Send 57 11 up",
                                 "Refused a2 1d down", "SendInput 1", "Send a2 1d down"}},
      {{0xA2}, "www", {}, {2}, -3, {"SendInput 8", "Send a2 1d up", "Failed 57 11 down",
                                    "SendInput 2", "Send 57 11 up", "Send a2 1d down"}},
  };
  // clang-format on
  for (const HandRow& row : rows) {
    SCOPED_TRACE(row.text);
    fake_keyboard::Reset();
    held = HeldKeys{};
    for (uint16_t key : row.hand) fake_keyboard::HoldByHand(key, true);
    fake_keyboard::SetRefusedSubmissions(row.refused);
    fake_keyboard::SetFailingSubmissions(row.failing);
    EXPECT_EQ(SendKeySequence(held, row.text, 0), row.result);
    Lines expected = row.calls;
    expected.insert(expected.begin(), "BlockInput 1");
    expected.push_back("BlockInput 0");
    EXPECT_EQ(Calls(), expected);
    // The key state is as the user's hands (and the sequence's hold) left it.
    for (int key = 0; key < 256; ++key) {
      if (key >= 0x10 && key <= 0x12) continue;
      bool byHand = std::find(row.hand.begin(), row.hand.end(), key) != row.hand.end();
      EXPECT_EQ(fake_keyboard::KeyDown(uint16_t(key)), byHand) << "key " << key;
    }
  }
}

// The user lets go of Ctrl while the burst goes in, after the runtime read
// it as held: with the hook's watch the burst lets go of the Ctrl it put
// back; without one there is nothing to tell the release by.
TEST_F(KeyInjection, AModifierLetGoOfDuringTheBurstIsNotLeftDown) {
  for (bool watched : {true, false}) {
    SCOPED_TRACE(watched ? "watched" : "not watched");
    fake_keyboard::Reset();
    held = HeldKeys{};
    fake_keyboard::HoldByHand(0xA2, true);
    fake_keyboard::LetGoByHandAt(3, 0xA2);
    std::function<uint32_t()> userHolds;
    if (watched) userHolds = fake_keyboard::HandModifierKeys;
    EXPECT_EQ(SendKeySequence(held, "w", 0, nullptr, userHolds), 0);
    EXPECT_EQ(fake_keyboard::KeyDown(0x11), !watched);
    Lines expected{"BlockInput 1",    "SendInput 4",   "Send a2 1d up",
                   "Send 57 11 down", "Send 57 11 up", "Send a2 1d down"};
    if (watched) expected.insert(expected.end(), {"SendInput 1", "Send a2 1d up"});
    expected.push_back("BlockInput 0");
    EXPECT_EQ(Calls(), expected);
  }
}

// The parser keeps its state to itself: a parse started while another runs
// (from the layout, here) leaves the outer one whole.
TEST_F(KeyInjection, AParseNestedInAnotherLeavesItWhole) {
  KeyEventList inner;
  int32_t innerResult = 99;
  fake_keyboard::OnceWhileReadingLayout([&] { innerResult = ParseKeySequence("xyz}", &inner); });
  KeyEventList outer;
  EXPECT_EQ(ParseKeySequence("ab", &outer), 0);
  EXPECT_EQ(innerResult, 4);
  ASSERT_EQ(outer.count, 4u);
  EXPECT_EQ(outer.events[0].virtualKey, 'A');
  EXPECT_EQ(outer.events[3].virtualKey, 'B');
  FreeKeyEventList(&outer);
}

}  // namespace
}  // namespace quillon

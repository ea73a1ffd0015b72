// SendKeySequence against the recording input fake: what goes out, in which
// order, between which BlockInput calls, and what is done when the system
// refuses an event or fails.
#include <gtest/gtest.h>

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

TEST_F(KeyInjection, EachEventGoesOutOnItsOwnWhileInputIsBlocked) {
  EXPECT_EQ(SendKeySequence(held, "abc", 0), 0);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "Send 41 1e down", "Send 41 1e up", "Send 42 30 down", "Send 42 30 up",
                            "Send 43 2e down", "Send 43 2e up", "BlockInput 0"}));
}

TEST_F(KeyInjection, EventsKeepTheTimeStampsOfTheParse) {
  fake_keyboard::SetTickCount(5000);
  EXPECT_EQ(SendKeySequence(held, "ab", 10), 0);
  ASSERT_EQ(fake_keyboard::InsertedEvents().size(), 4u);
  for (const KeyEvent& event : fake_keyboard::InsertedEvents()) EXPECT_EQ(event.time, 5000u);
}

TEST_F(KeyInjection, PauseFollowsEveryEventIncludingTheLast) {
  EXPECT_EQ(SendKeySequence(held, "ab", 50), 0);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "Send 41 1e down", "Sleep 50", "Send 41 1e up", "Sleep 50",
                            "Send 42 30 down", "Sleep 50", "Send 42 30 up", "Sleep 50", "BlockInput 0"}));
}

TEST_F(KeyInjection, FixedKeysGoOutWithTheirExtendedFlag) {
  EXPECT_EQ(SendKeySequence(held, "%{RMENU}", 0), 0);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "Send 12 38 down", "Send 12 38 ext down", "Send 12 38 ext up",
                            "Send 12 38 up", "BlockInput 0"}));
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
      {"abc", {3}, {"Send 41 1e down", "Send 41 1e up", "Refused 42 30 down"}},
      {"abc", {1}, {"Refused 41 1e down"}},
      // Held modifiers are released latest first.
      {"+^x", {3}, {"Send 10 2a down", "Send 11 1d down", "Refused 58 2d down", "Send 11 1d up", "Send 10 2a up"}},
      {"+^x", {4}, {"Send 10 2a down", "Send 11 1d down", "Send 58 2d down", "Refused 58 2d up", "Send 58 2d up",
                    "Send 11 1d up", "Send 10 2a up"}},
      // The key state is one bit: two Shift downs need one release, and after
      // the inner Shift up nothing is held any more.
      {"+(EC)", {3}, {"Send 10 2a down", "Send 10 2a down", "Refused 45 12 down", "Send 10 2a up"}},
      {"+(EC)", {6}, {"Send 10 2a down", "Send 10 2a down", "Send 45 12 down", "Send 45 12 up", "Send 10 2a up",
                      "Refused 10 2a down"}},
      // A refused release is not retried; the others are still tried.
      {"+^x", {3, 4}, {"Send 10 2a down", "Send 11 1d down", "Refused 58 2d down", "Refused 11 1d up",
                       "Send 10 2a up"}},
      {"{ALT DOWN}{F4}", {3}, {"Send 12 38 down", "Send 73 3e down", "Refused 73 3e up", "Send 73 3e up",
                               "Send 12 38 up"}},
      {"{RCONTROL}{LCONTROL}", {2}, {"Send 11 1d ext down", "Refused 11 1d ext up", "Send 11 1d ext up"}},
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
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "Send 41 1e down", "Sleep 20", "Refused 41 1e up", "Send 41 1e up",
                            "BlockInput 0"}));
}

TEST_F(KeyInjection, FaultWhileSendingUnblocksReleasesAndGivesMinusThree) {
  fake_keyboard::SetFailingSubmissions({3});
  EXPECT_EQ(SendKeySequence(held, "+^x", 0), -3);
  // The failing key-down may have gone out, so it is released too.
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "Send 10 2a down", "Send 11 1d down", "Failed 58 2d down", "Send 58 2d up",
                            "Send 11 1d up", "Send 10 2a up", "BlockInput 0"}));
  ExpectNothingHeld();
}

TEST_F(KeyInjection, FaultOnAKeyUpSendsItAgain) {
  fake_keyboard::SetFailingSubmissions({4});
  EXPECT_EQ(SendKeySequence(held, "+x", 0), -3);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "Send 10 2a down", "Send 58 2d down", "Send 58 2d up", "Failed 10 2a up",
                            "Send 10 2a up", "BlockInput 0"}));
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
      {"{ALT DOWN}{TAB}", {"Send 12 38 down", "Send 9 f down", "Send 9 f up"}},
      {"{TAB}", {"Send 9 f down", "Send 9 f up"}},
      {"{ALT UP}", {"Send 12 38 up"}},
      {"+{CTRL DOWN}x", {"Send 10 2a down", "Send 11 1d down", "Send 10 2a up", "Send 58 2d down", "Send 58 2d up"}},
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
  EXPECT_EQ(Calls(), (Lines{"Send 11 1d up"}));
  ReleaseHeldKeys(held);
  EXPECT_EQ(Calls().size(), 1u) << "released once";
}

TEST_F(KeyInjection, ABurstCutShortReleasesEarlierHoldsToo) {
  EXPECT_EQ(SendKeySequence(held, "{SHIFT DOWN}", 0), 0);
  fake_keyboard::Reset();
  fake_keyboard::SetRefusedSubmissions({2});
  EXPECT_EQ(SendKeySequence(held, "ab", 0), -2);
  EXPECT_EQ(Calls(), (Lines{"BlockInput 1", "Send 41 1e down", "Refused 41 1e up", "Send 41 1e up", "Send 10 2a up",
                            "BlockInput 0"}));
}

TEST_F(KeyInjection, EveryEventCarriesTheRuntimesTag) {
  EXPECT_EQ(SendKeySequence(held, "{ALT DOWN}a{ALT UP}", 0), 0);
  std::vector<uintptr_t> tags;
  for (const KeyEvent& event : fake_keyboard::InsertedEvents()) tags.push_back(event.extraInfo);
  EXPECT_EQ(tags, (std::vector<uintptr_t>{kInjectedHoldEventTag, kInjectedEventTag, kInjectedEventTag,
                                          kInjectedHoldEventTag}));
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

// The hint line's words for the first fault of a sequence, on the fake US
// layout, and that finding it leaves what the runtime sends as it was.
#include <gtest/gtest.h>

#include "configurator/key_sequence_hint.h"
#include "shared/key_sequence_parser.h"
#include "shared/settings_tree.h"
#include "tests/fakes/fake_keyboard.h"

namespace quillon {
namespace {

TEST(KeySequenceHintTest, TheFirstFaultInPlainWordsWithItsPosition) {
  fake_keyboard::Reset();
  const struct {
    const char* sequence;
    const char* hint;
    bool sent;  // the runtime still sends the sequence (the fault is skipped)
  } cases[] = {
      {"", "", true},
      {"abc{ENTER}+(ec)~", "", true},
      {"+~", "", true},  // Shift with Enter
      {"hello {ENTR}", "position 7: unknown key name {ENTR}", true},
      {"{numpadenterx}", "position 1: unknown key name {numpadenterx}", true},
      {"{}", "position 1: unknown key name {}", true},
      {"ab+", "position 3: '+' needs a key after it", true},
      {"^%", "position 1: '^' needs a key after it", true},
      {"+(a^)", "position 4: '^' needs a key after it", true},
      {"abcdefghij+(x", "position 12: a '(' that is never closed", false},
      {"x(ab)", "position 2: a '(' needs a prefix (+, ^ or %) before it", false},
      {"a)", "position 2: a ')' that closes no '('", false},
      {"ab}", "position 3: '}' is written {}}", false},
      {"[", "position 1: '[' is written {[}", false},
      {"x{ENTER", "position 2: a '{' that is never closed", false},
      {"a\xe9", "position 2: \xe9 cannot be typed with this keyboard layout", false},
      // The first fault counts, skipped or not.
      {"{X}a)", "position 1: unknown key name {X}", false},
      {"a)+", "position 2: a ')' that closes no '('", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeySequenceHint(c.sequence), c.hint) << c.sequence;
    KeyEventList list;
    EXPECT_EQ(ParseKeySequence(c.sequence, &list) == 0, c.sent) << c.sequence;
    FreeKeyEventList(&list);
  }
}

TEST(KeySequenceHintTest, AHoldEntryNamesKeysOnlyAndARepeatEntrysIntervalFallsBackOutsideItsRange) {
  fake_keyboard::Reset();
  const struct {
    const char* sequence;
    int action;
    const char* repeat;
    const char* hint;
  } cases[] = {
      {"wa+{LEFT}~{F5}", HoldKeys, "", ""},
      {"+(ab)^c{numpad5}", HoldKeys, "", ""},
      {"a{ALT DOWN}b", HoldKeys, "", "position 2: {ALT DOWN} cannot be held: name keys only"},
      {"{shift up}", HoldKeys, "", "position 1: {shift up} cannot be held: name keys only"},
      {"hello", HoldKeys, "", "position 4: 'l' is held already: text cannot be held"},
      {"aA", HoldKeys, "", "position 2: 'A' is held already: text cannot be held"},
      {"{ENTER}~", HoldKeys, "", "position 8: '~' is held already: text cannot be held"},
      {"{ENTR}{ALT DOWN}", HoldKeys, "", "position 1: unknown key name {ENTR}"},  // the parser's fault first
      {"hello{ALT DOWN}", StuffKeys, "", ""},
      {"hello", RepeatKeys, "100", ""},
      {"x", RepeatKeys, "20", ""},
      {"x", RepeatKeys, " 5000 ", ""},
      {"x", RepeatKeys, "19", "outside 20 to 5000 ms: repeats every 100 ms"},
      {"x", RepeatKeys, "5001", "outside 20 to 5000 ms: repeats every 100 ms"},
      {"x", RepeatKeys, "-40", "outside 20 to 5000 ms: repeats every 100 ms"},
      {"x", RepeatKeys, "fast", "the interval is not a number: the stored one stays"},
      {"{X}", RepeatKeys, "5", "position 1: unknown key name {X}"},
      {"x", StuffKeys, "5", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(EntryHint(c.sequence, c.action, c.repeat), c.hint) << c.sequence;
}

TEST(KeySequenceHintTest, OnlyKindsThatTypeTheSequenceMarkTheirRow) {
  fake_keyboard::Reset();
  EXPECT_EQ(MarkedRowText("F5 key", "{ENTR}", StuffKeys), "F5 key  (!)");
  EXPECT_EQ(MarkedRowText("F5 key", "{ENTR}", NextMap), "F5 key  (!)");
  EXPECT_EQ(MarkedRowText("F5 key", "{ENTR}", RunApplication), "F5 key");
  EXPECT_EQ(MarkedRowText("F5 key", "{ENTER}", StuffKeys), "F5 key");
  EXPECT_EQ(MarkedRowText("F5 key", "{ALT DOWN}a", HoldKeys), "F5 key  (!)");
  EXPECT_EQ(MarkedRowText("F5 key", "{ALT DOWN}a", StuffKeys), "F5 key");
}

}  // namespace
}  // namespace quillon

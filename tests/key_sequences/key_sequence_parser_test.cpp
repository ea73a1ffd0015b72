// The notation, one row per sequence with its complete event list. Events are
// written "vk/scan d" (key-down) or "vk/scan u" (key-up), in hexadecimal, with
// "/e" after the scan code for the extended flag. Natively the layout is the
// fake US layout; in the windows build the same rows run against Wine's US
// layout, which differs in a few places (noted on the rows concerned).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "shared/key_sequence_parser.h"
#include "tests/key_sequences/keyboard_under_test.h"

namespace quillon {
namespace {

enum class Layouts { Both, FakeUsOnly, WineUsOnly };

struct ParseRow {
  const char* text;
  int32_t result;
  const char* events;
  bool capsLock = false;
  Layouts layouts = Layouts::Both;
};

void PrintTo(const ParseRow& row, std::ostream* out) {
  *out << '"' << row.text << '"' << (row.capsLock ? " caps" : "");
}

// Events that recur below.
#define SHIFT_DOWN "10/2a d"
#define SHIFT_UP "10/2a u"
#define CTRL_DOWN "11/1d d"
#define CTRL_UP "11/1d u"
#define ALT_DOWN "12/38 d"
#define ALT_UP "12/38 u"
#define CAPS_PRESS "14/3a d, 14/3a u"
#define A_PRESS "41/1e d, 41/1e u"
#define B_PRESS "42/30 d, 42/30 u"
#define C_PRESS "43/2e d, 43/2e u"
#define E_PRESS "45/12 d, 45/12 u"
#define X_PRESS "58/2d d, 58/2d u"
#define ENTER_PRESS "0d/1c d, 0d/1c u"

const ParseRow kRows[] = {
    // Plain and shifted letters, prefixes.
    {"abc", 0, A_PRESS ", " B_PRESS ", " C_PRESS},
    {"Abc", 0, SHIFT_DOWN ", " A_PRESS ", " SHIFT_UP ", " B_PRESS ", " C_PRESS},
    {"^c", 0, CTRL_DOWN ", " C_PRESS ", " CTRL_UP},
    {"^C", 0, CTRL_DOWN ", " SHIFT_DOWN ", " C_PRESS ", " SHIFT_UP ", " CTRL_UP},
    {"+a", 0, SHIFT_DOWN ", " A_PRESS ", " SHIFT_UP},
    {"+A", 0, SHIFT_DOWN ", " A_PRESS ", " SHIFT_UP},
    {"%{F4}", 0, ALT_DOWN ", 73/3e d, 73/3e u, " ALT_UP},
    {"+^%x", 0, SHIFT_DOWN ", " CTRL_DOWN ", " ALT_DOWN ", " X_PRESS ", " SHIFT_UP ", " CTRL_UP ", " ALT_UP},
    {"++a", 0, SHIFT_DOWN ", " SHIFT_DOWN ", " A_PRESS ", " SHIFT_UP},
    {"+a b", 0, SHIFT_DOWN ", " A_PRESS ", " SHIFT_UP ", 20/39 d, 20/39 u, " B_PRESS},
    // Groups.
    {"+(ec)", 0, SHIFT_DOWN ", " E_PRESS ", " C_PRESS ", " SHIFT_UP},
    {"+(EC)", 0,
     SHIFT_DOWN ", " SHIFT_DOWN ", " E_PRESS ", " SHIFT_UP ", " SHIFT_DOWN ", " C_PRESS ", " SHIFT_UP ", " SHIFT_UP},
    {"+(Ec)", 0, SHIFT_DOWN ", " SHIFT_DOWN ", " E_PRESS ", " SHIFT_UP ", " C_PRESS ", " SHIFT_UP},
    {"+(a^(b)c)", 0, SHIFT_DOWN ", " A_PRESS ", " CTRL_DOWN ", " B_PRESS ", " CTRL_UP ", " C_PRESS ", " SHIFT_UP},
    {"^(+(%(a)))x", 0,
     CTRL_DOWN ", " SHIFT_DOWN ", " ALT_DOWN ", " A_PRESS ", " ALT_UP ", " SHIFT_UP ", " CTRL_UP ", " X_PRESS},
    {"+~(a)", 0, SHIFT_DOWN ", " ENTER_PRESS ", " A_PRESS ", " SHIFT_UP},
    {"%(1{TAB})", 0, ALT_DOWN ", 31/02 d, 31/02 u, 09/0f d, 09/0f u, " ALT_UP},
    // A prefix left in force when a group ends is released with the group.
    {"+(a^)", 0, SHIFT_DOWN ", " A_PRESS ", " CTRL_DOWN ", " CTRL_UP ", " SHIFT_UP},
    {"^(%+)b", 0, CTRL_DOWN ", " ALT_DOWN ", " SHIFT_DOWN ", " SHIFT_UP ", " ALT_UP ", " CTRL_UP ", " B_PRESS},
    // ... and so is one left when the text ends inside a group ("{a)}" is a
    // name that matches nothing, but its ")" closes the count).
    {"+({a)}^", 0, SHIFT_DOWN ", " CTRL_DOWN ", " CTRL_UP ", " SHIFT_UP},
    {"+({)}b)", 0, SHIFT_DOWN ", " SHIFT_DOWN ", 30/0b d, 30/0b u, " SHIFT_UP ", " B_PRESS ", " SHIFT_UP, false,
     Layouts::FakeUsOnly},
    {"+({)}b)", 2, "", false, Layouts::WineUsOnly},  // Wine's layout has no ")"
    // Enter and digits.
    {"a~b", 0, A_PRESS ", " ENTER_PRESS ", " B_PRESS},
    {"+~a", 0, SHIFT_DOWN ", " ENTER_PRESS ", " A_PRESS ", " SHIFT_UP},
    {"~", 0, ENTER_PRESS},
    {"12", 0, "31/02 d, 31/02 u, 32/03 d, 32/03 u"},
    {"^0", 0, CTRL_DOWN ", 30/0b d, 30/0b u, " CTRL_UP},
    // Characters through the layout, with the modifiers they need.
    {"{{}", 0, SHIFT_DOWN ", db/1a d, db/1a u, " SHIFT_UP},
    {"{}}", 0, SHIFT_DOWN ", dd/1b d, dd/1b u, " SHIFT_UP},
    {"{+}", 0, SHIFT_DOWN ", bb/0d d, bb/0d u, " SHIFT_UP},
    {"{%}{^}{~}", 0,
     SHIFT_DOWN ", 35/06 d, 35/06 u, " SHIFT_UP ", " SHIFT_DOWN ", 36/07 d, 36/07 u, " SHIFT_UP ", " SHIFT_DOWN
                ", c0/29 d, c0/29 u, " SHIFT_UP},
    {"{[}{]}", 0, "db/1a d, db/1a u, dd/1b d, dd/1b u"},
    {"{(}", 0, SHIFT_DOWN ", 39/0a d, 39/0a u, " SHIFT_UP, false, Layouts::FakeUsOnly},
    {"{(}", 2, "", false, Layouts::WineUsOnly},
    {"^!", 0, CTRL_DOWN ", " SHIFT_DOWN ", 31/02 d, 31/02 u, " SHIFT_UP ", " CTRL_UP},
    {"+(?)", 0, SHIFT_DOWN ", " SHIFT_DOWN ", bf/35 d, bf/35 u, " SHIFT_UP ", " SHIFT_UP},
    {"a-b.", 0, A_PRESS ", bd/0c d, bd/0c u, " B_PRESS ", be/34 d, be/34 u"},
    // Names between braces.
    {"{enter}", 0, ENTER_PRESS},
    {"{ENTER}", 0, ENTER_PRESS},
    {"{EnTeR}", 0, ENTER_PRESS},
    {"{shift down}x{shift up}", 0, SHIFT_DOWN ", " X_PRESS ", " SHIFT_UP},
    {"{CTRL DOWN}{ALT DOWN}{ALT UP}{CTRL UP}", 0, CTRL_DOWN ", " ALT_DOWN ", " ALT_UP ", " CTRL_UP},
    {"{SHIFT  DOWN}{SHIFTDOWN}x", 0, X_PRESS},
    {"{DOWN}", 0, "28/50/e d, 28/50/e u"},
    {"{NUMPADDOWN}", 0, "28/50 d, 28/50 u"},
    {"{RMENU}", 0, "12/38/e d, 12/38/e u"},
    {"{LMENU}", 0, "12/38 d, 12/38 u"},
    {"{LSHIFT}", 0, "10/2a d, 10/2a u"},
    {"{RSHIFT}", 0, "10/36 d, 10/36 u"},
    {"{LCONTROL}{RCONTROL}", 0, "11/1d d, 11/1d u, 11/1d/e d, 11/1d/e u"},
    {"{NUMPADENTER}", 0, "0d/1c/e d, 0d/1c/e u"},
    {"{HOME}{UP}{PGUP}{LEFT}{RIGHT}{END}{PGDN}", 0,
     "24/47/e d, 24/47/e u, 26/48/e d, 26/48/e u, 21/49/e d, 21/49/e u, 25/4b/e d, 25/4b/e u, "
     "27/4d/e d, 27/4d/e u, 23/4f/e d, 23/4f/e u, 22/51/e d, 22/51/e u"},
    {"{INS}{INSERT}{DEL}{DELETE}", 0,
     "2d/52/e d, 2d/52/e u, 2d/52/e d, 2d/52/e u, 2e/53/e d, 2e/53/e u, 2e/53/e d, 2e/53/e u"},
    {"{NUMPADHOME}{NUMPADRIGHT}{NUMPADDEL}", 0, "24/47 d, 24/47 u, 27/4d d, 27/4d u, 2e/53 d, 2e/53 u"},
    {"{BS}{BKSP}{BACKSPACE}", 0, "08/0e d, 08/0e u, 08/0e d, 08/0e u, 08/0e d, 08/0e u"},
    {"{TAB}{ESC}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}", 0,
     "09/0f d, 09/0f u, 1b/01 d, 1b/01 u, 14/3a d, 14/3a u, 90/45 d, 90/45 u, 91/46 d, 91/46 u"},
    {"{F1}{F10}{F11}{F12}", 0, "70/3b d, 70/3b u, 79/44 d, 79/44 u, 7a/57 d, 7a/57 u, 7b/58 d, 7b/58 u"},
    {"{BELL}{LF}", 0, "07/00 d, 07/00 u, 0a/00 d, 0a/00 u"},
    {"{NUMPAD*}{NUMPAD+}{NUMPAD-}{NUMPAD/}", 0,
     "6a/37 d, 6a/37 u, 6b/4e d, 6b/4e u, 6d/4a d, 6d/4a u, 6f/35 d, 6f/35 u"},
    {"{NUMPAD5}{F13}", 0, "65/4c d, 65/4c u, 7c/64 d, 7c/64 u", false, Layouts::FakeUsOnly},
    {"{NUMPAD5}{F13}", 0, "65/00 d, 65/00 u, 7c/00 d, 7c/00 u", false, Layouts::WineUsOnly},
    {"{LWIN}{RWIN}{APPS}", 0, "5b/5b d, 5b/5b u, 5c/5c d, 5c/5c u, 5d/5d d, 5d/5d u"},
    {"^{ESC}", 0, CTRL_DOWN ", 1b/01 d, 1b/01 u, " CTRL_UP},
    // Unknown and odd names.
    {"{FOO}x", 0, X_PRESS},
    {"{}", 0, ""},
    {"+{FOO}a", 0, SHIFT_DOWN ", " SHIFT_UP ", " A_PRESS},
    {"{a}}", 0, ""},  // the name is "A}"
    {"{NUMPADENTERX}{NUMPADRIGHTS}x", 0, X_PRESS},
    {"{ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789}a", 0, A_PRESS},
    {"{NUMPADRIGHT}", 0, "27/4d d, 27/4d u"},
    {"{ENTER }{ ENTER}", 0, ""},
    // Prefixes with nothing after them are released at the end.
    {"+", 0, SHIFT_DOWN ", " SHIFT_UP},
    {"x+", 0, X_PRESS ", " SHIFT_DOWN ", " SHIFT_UP},
    {"%^", 0, ALT_DOWN ", " CTRL_DOWN ", " CTRL_UP ", " ALT_UP},  // downs as written, ups in fixed order
    // Syntax errors: one more than the position the outermost level reached.
    {"(ab)", 1, ""},
    {"a)", 2, ""},
    {"[", 1, ""},
    {"ab]", 3, ""},
    {"ab}", 3, ""},
    {"{ENTER", 2, ""},
    {"+(ab", 2, ""},
    {"abc{", 5, ""},
    {"{", 2, ""},  // just past the end: where the name would have begun
    {"{}}}", 4, ""},
    {"+(a(b))", 2, ""},   // the inner "(" has no prefix
    {"xy%(a]b)", 4, ""},  // inside a group: the group's "("
    {"%(^(x)", 2, ""},    // the count never returns to zero
    {"+(a{ENTER)", 2, ""},
    {"+a)", 3, ""},
    {"(", 1, ""},
    // Characters the layout cannot produce.
    {"\x80", 1, ""},
    {"ab\xe9", 3, ""},
    {"+(a\xff)", 2, ""},
    {"x\xa0y", 2, ""},
    {"{\xe9}x", 0, X_PRESS},  // as a name it is merely unknown
    // Caps Lock on: off for the burst, on again after it.
    {"A", 0, CAPS_PRESS ", " SHIFT_DOWN ", " A_PRESS ", " SHIFT_UP ", " CAPS_PRESS, true},
    {"ab", 0, CAPS_PRESS ", " A_PRESS ", " B_PRESS ", " CAPS_PRESS, true},
    {"+(ab)1", 0, CAPS_PRESS ", " SHIFT_DOWN ", " A_PRESS ", " B_PRESS ", " SHIFT_UP ", 31/02 d, 31/02 u, " CAPS_PRESS,
     true},
    {"", 0, "", true},
    {"a]", 2, "", true},
    {"x^", 0, CAPS_PRESS ", " X_PRESS ", " CTRL_DOWN ", " CTRL_UP ", " CAPS_PRESS, true},
    // Nothing at all.
    {"", 0, ""},
};

#undef SHIFT_DOWN
#undef SHIFT_UP
#undef CTRL_DOWN
#undef CTRL_UP
#undef ALT_DOWN
#undef ALT_UP
#undef CAPS_PRESS
#undef A_PRESS
#undef B_PRESS
#undef C_PRESS
#undef E_PRESS
#undef X_PRESS
#undef ENTER_PRESS

#if QUILLON_WINE_LAYOUT
constexpr Layouts kSkipped = Layouts::FakeUsOnly;
#else
constexpr Layouts kSkipped = Layouts::WineUsOnly;
#endif

std::vector<ParseRow> RowsForThisLayout() {
  std::vector<ParseRow> rows;
  for (const ParseRow& row : kRows)
    if (row.layouts != kSkipped) rows.push_back(row);
  return rows;
}

std::string Describe(const KeyEventList& list) {
  std::string text;
  for (uint32_t i = 0; i < list.count; ++i) {
    const KeyEvent& event = list.events[i];
    char one[32];
    std::snprintf(one, sizeof one, "%02x/%02x%s %c", unsigned(event.virtualKey), unsigned(event.scanCode),
                  (event.flags & kKeyEventExtended) ? "/e" : "", (event.flags & kKeyEventKeyUp) ? 'u' : 'd');
    if (!text.empty()) text += ", ";
    text += one;
  }
  return text;
}

class KeySequenceNotation : public ::testing::TestWithParam<ParseRow> {
 protected:
  void SetUp() override { keyboard_under_test::Reset(); }
  void TearDown() override { keyboard_under_test::Reset(); }
};

TEST_P(KeySequenceNotation, GivesExactlyTheseEvents) {
  const ParseRow& row = GetParam();
  keyboard_under_test::SetCapsLock(row.capsLock);
  std::string original = row.text;
  KeyEventList list;
  uint32_t before = keyboard_under_test::Now();
  int32_t result = ParseKeySequence(row.text, &list);
  uint32_t after = keyboard_under_test::Now();
  EXPECT_EQ(result, row.result);
  EXPECT_EQ(Describe(list), row.events);
  EXPECT_EQ(original, row.text) << "the caller's text was changed";
  if (result != 0 || list.count == 0) {
    EXPECT_EQ(list.events, nullptr);
  }
  for (uint32_t i = 0; i < list.count; ++i) {
    const KeyEvent& event = list.events[i];
    EXPECT_EQ(event.type, kInputKeyboard);
    EXPECT_TRUE(IsRuntimeInjected(event.extraInfo)) << "untagged event";
    EXPECT_EQ(event.flags & ~(kKeyEventExtended | kKeyEventKeyUp), 0u);
    EXPECT_GE(event.time, before);
    EXPECT_LE(event.time, after);
  }
  FreeKeyEventList(&list);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeySequenceNotation, ::testing::ValuesIn(RowsForThisLayout()));

class KeySequenceParser : public ::testing::Test {
 protected:
  void SetUp() override { keyboard_under_test::Reset(); }
  void TearDown() override { keyboard_under_test::Reset(); }
};

TEST_F(KeySequenceParser, AbsentTextGivesNoList) {
  KeyEventList list;
  list.count = 7;
  EXPECT_EQ(ParseKeySequence(nullptr, &list), 0);
  EXPECT_EQ(list.count, 0u);
  EXPECT_EQ(list.events, nullptr);
}

TEST_F(KeySequenceParser, ListStartsWithRoomForFortyAndDoubles) {
  struct Case {
    size_t letters;
    uint32_t capacity;
  };
  // Each lower-case letter is two events.
  const Case cases[] = {{1, 40}, {20, 40}, {21, 80}, {40, 80}, {41, 160}, {81, 320}, {500, 1280}};
  for (const Case& c : cases) {
    std::string text(c.letters, 'q');
    KeyEventList list;
    ASSERT_EQ(ParseKeySequence(text.c_str(), &list), 0);
    EXPECT_EQ(list.count, 2 * c.letters);
    EXPECT_EQ(list.capacity, c.capacity) << c.letters << " letters";
    for (uint32_t i = 0; i < list.count; ++i) EXPECT_EQ(list.events[i].virtualKey, 'Q');
    FreeKeyEventList(&list);
    EXPECT_EQ(list.events, nullptr);
  }
}

TEST_F(KeySequenceParser, ErrorAfterTheListGrewGivesNoList) {
  std::string text(100, 'a');
  text += "[";
  KeyEventList list;
  EXPECT_EQ(ParseKeySequence(text.c_str(), &list), 101);
  EXPECT_EQ(list.events, nullptr);
  EXPECT_EQ(list.count, 0u);
}

TEST_F(KeySequenceParser, PositionsOfLongTexts) {
  std::string text = std::string(300, 'a') + "+(b" + std::string(20, 'c');
  KeyEventList list;
  EXPECT_EQ(ParseKeySequence(text.c_str(), &list), 302);  // the "(" is at 301
}

TEST_F(KeySequenceParser, EveryModifierIsUpAtTheEndOfTheseBursts) {
  // Sequences that leave prefixes, groups and Caps Lock in every state.
  const char* texts[] = {"+(a^)", "^(%+)", "+({a)}^%", "x+", "+^%", "%(^(+(a)b+)c^)", "+(EC)", "++(^^a%)"};
  for (bool capsLock : {false, true}) {
    keyboard_under_test::SetCapsLock(capsLock);
    for (const char* text : texts) {
      KeyEventList list;
      ASSERT_EQ(ParseKeySequence(text, &list), 0) << text;
      bool down[256] = {};
      for (uint32_t i = 0; i < list.count; ++i)
        down[list.events[i].virtualKey & 0xFF] = (list.events[i].flags & kKeyEventKeyUp) == 0;
      EXPECT_FALSE(down[0x10] || down[0x11] || down[0x12] || down[0x14]) << text;
      FreeKeyEventList(&list);
    }
  }
}

}  // namespace
}  // namespace quillon

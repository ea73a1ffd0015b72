// The wildcard rule of window patterns, case by case.
#include <gtest/gtest.h>

#include <string>

#include "shared/text_helpers.h"

namespace quillon {
namespace {

struct WildcardCase {
  const char* pattern;
  const char* text;
  int expected;
};

const WildcardCase kCases[] = {
    // Plain characters: whole text against whole pattern.
    {"Notepad", "Notepad", 1},
    {"Notepad", "Notepad2", 0},
    {"Notepad2", "Notepad", 0},
    {"", "", 1},
    {"", "a", 0},
    {"a", "", 0},
    // Only a to z are folded; the rest compares as it is.
    {"notepad", "NOTEPAD", 1},
    {"NOTEPAD", "notepad", 1},
    {"[x]", "[X]", 1},
    {"\xe9", "\xc9", 0},
    {"@", "`", 0},
    // Question marks take exactly one character.
    {"?", "a", 1},
    {"?", "", 0},
    {"??", "a", 0},
    {"N?tepad", "Notepad", 1},
    {"N?tepad", "Ntepad", 0},
    // Stars take any run, none included; several in a row act as one.
    {"*", "", 1},
    {"*", "anything at all", 1},
    {"***", "", 1},
    {"Note*", "Notepad", 1},
    {"Note*", "Note", 1},
    {"*pad", "Notepad", 1},
    {"*pad", "Notepads", 0},
    {"N*e*d", "Notepad", 1},
    {"N**d", "Notepad", 1},
    {"*a*b*", "xxbxxa", 0},
    {"*a*b*", "xaxbx", 1},
    // The matcher must give the most recent star more text after a false start.
    {"*abc", "ababc", 1},
    {"*aab", "aaaab", 1},
    {"a*b*c", "abbbbc", 1},
    {"a*b?c", "abxbyc", 1},
    // A star, question marks and another star in a row.
    {"*?*", "a", 1},
    {"*?*", "", 0},
    {"*??*", "ab", 1},
    {"*??*", "a", 0},
    {"A*?*Z", "AxZ", 1},
    {"A*?*Z", "AZ", 0},
    {"*?*x", "abcx", 1},
    {"*?*?*", "ab", 1},
    {"x*?*", "xyz*", 1},
    {"Untitled - *?*", "Untitled - Notepad", 1},
};

class WildcardTable : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTable, MatchesAsTheRuleSays) {
  const WildcardCase& c = GetParam();
  EXPECT_EQ(MatchWildcard(c.pattern, c.text), c.expected)
      << "pattern \"" << c.pattern << "\" text \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Cases, WildcardTable, ::testing::ValuesIn(kCases));

TEST(WildcardMatch, MissingPatternOrTextMatchesNothing) {
  EXPECT_EQ(MatchWildcard(nullptr, "a"), 0);
  EXPECT_EQ(MatchWildcard("*", nullptr), 0);
}

TEST(WildcardMatch, ManyStarsAreNotLimited) {
  std::string pattern;
  std::string text;
  for (int i = 0; i < 40; ++i) {
    pattern += "*x";
    text += "ax";
  }
  EXPECT_EQ(MatchWildcard(pattern.c_str(), text.c_str()), 1);
  text.back() = 'y';
  EXPECT_EQ(MatchWildcard(pattern.c_str(), text.c_str()), 0);
}

TEST(WildcardMatch, LongHopelessPatternEndsQuickly) {
  // A backtracking matcher that tried every star split would need far more
  // than a lifetime for this; the linear matcher is done at once.
  std::string pattern;
  for (int i = 0; i < 500; ++i) pattern += "*a";
  pattern += "b";
  std::string text(5000, 'a');
  EXPECT_EQ(MatchWildcard(pattern.c_str(), text.c_str()), 0);
}

}  // namespace
}  // namespace quillon

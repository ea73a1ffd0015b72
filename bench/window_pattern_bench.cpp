// Window patterns: the cost of one MatchWildcard call on patterns as users
// write them and on patterns built to make the matcher back-track, and of
// one FindWindowByPattern over a full window list (150 windows, the most one
// search looks at) when the window sought is the last or is not there.
// Runs against the fake window tree, so the figures are the matcher's and
// the search's own, without the system's window calls.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/target_window.h"
#include "shared/text_helpers.h"
#include "tests/fakes/fake_window_system.h"

namespace {

using Clock = std::chrono::steady_clock;

// Keeps the optimiser from dropping calls whose results are otherwise unused.
volatile long g_sink = 0;

// Calls `call` in batches until at least `minSeconds` have passed; returns
// the time of one call in nanoseconds.
template <typename Call>
double NanosecondsPerCall(Call call, double minSeconds = 0.3) {
  long calls = 0;
  long sink = 0;
  Clock::time_point start = Clock::now();
  double seconds = 0;
  do {
    for (int i = 0; i < 64; ++i) sink += call();
    calls += 64;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < minSeconds);
  g_sink = g_sink + sink;
  return 1e9 * seconds / double(calls);
}

struct MatchCase {
  const char* label;
  std::string pattern;
  std::string text;
};

void BenchMatch(const std::vector<MatchCase>& cases) {
  for (const MatchCase& c : cases) {
    int result = quillon::MatchWildcard(c.pattern.c_str(), c.text.c_str());
    double ns = NanosecondsPerCall([&] { return quillon::MatchWildcard(c.pattern.c_str(), c.text.c_str()); });
    std::printf("match  %-52s text %4zu chars  %-8s %10.1f ns/call\n", c.label, c.text.size(),
                result ? "match" : "no match", ns);
  }
}

std::string Repeat(const std::string& piece, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

std::vector<MatchCase> RealisticCases() {
  return {
      {"\"*Notepad\" vs an editor title", "*Notepad", "readme.txt - Notepad"},
      {"\"*Notepad\" vs a browser title", "*Notepad", "Quillon - Ultrastick 360 maps and settings - Browser"},
      // SelectTargetWindow splits "MAME*|@MAMEClass" before the matcher sees
      // it: "MAME*" against titles, "MAMEClass" against class names.
      {"\"MAME*\" (of MAME*|@MAMEClass) vs a MAME title", "MAME*", "MAME: Street Fighter II' - Champion Edition"},
      {"\"MAME*\" (of MAME*|@MAMEClass) vs another title", "MAME*", "Untitled - Paint"},
      {"\"MAMEClass\" (of MAME*|@MAMEClass) vs its class", "MAMEClass", "MAMEClass"},
      {"\"MAMEClass\" (of MAME*|@MAMEClass) vs another class", "MAMEClass", "Notepad"},
      {"\"MAME*|@MAMEClass\" whole, as a literal", "MAME*|@MAMEClass", "MAME: Street Fighter II' - Champion Edition"},
      {"\"?ame*32*\" vs a matching title", "?ame*32*", "Game Launcher (Win32) - Arcade"},
      {"\"?ame*32*\" vs a title without 32", "?ame*32*", "Game Launcher (Win64) - Arcade cabinet front end"},
  };
}

std::vector<MatchCase> AdversarialCases() {
  std::vector<MatchCase> cases;
  for (size_t length : {254u, 4096u}) {
    std::string as(length, 'a');
    // Each star but the last settles at once; the last one is retried at
    // every position of the text before the final "b" fails.
    cases.push_back({"\"*a\" x20 then \"*b\" vs a...a", Repeat("*a", 20) + "*b", as});
    cases.push_back({"\"*a\" x20 then \"*b\" vs a...ab", Repeat("*a", 20) + "*b", as.substr(0, length - 1) + "b"});
    cases.push_back({"\"*\" x100 then \"b\" vs a...a", std::string(100, '*') + "b", as});
    cases.push_back({"\"*?\" x10 then \"*z\" vs a...a", Repeat("*?", 10) + "*z", as});
    // A long literal tail after one star is compared again from each start.
    cases.push_back({"\"*\" then 60 \"a\" and \"b\" vs a...a", "*" + std::string(60, 'a') + "b", as});
    cases.push_back({"\"*ab\" x8 then \"c\" vs abab...", Repeat("*ab", 8) + "c", Repeat("ab", length / 2)});
    cases.push_back({"1023-char \"*a*a...\" vs a...a (case-folded)", Repeat("*A", 511) + "*", as});
  }
  return cases;
}

// 150 top-level windows with realistic titles and classes; the last one is
// the one sought.
void BuildWindowList() {
  namespace fws = quillon::fake_window_system;
  fws::Reset();
  char title[128];
  char className[64];
  for (int i = 1; i < 150; ++i) {
    std::snprintf(title, sizeof title, "Document %03d.txt - Notepad", i);
    std::snprintf(className, sizeof className, "Afx:00400000:8:00010003:%08X", unsigned(i));
    fws::AddTopLevelWindow(className, title);
  }
  fws::AddTopLevelWindow("MAMEClass", "MAME: Street Fighter II' - Champion Edition");
}

void BenchFind() {
  BuildWindowList();
  struct FindCase {
    const char* label;
    const char* classPattern;
    const char* titlePattern;
  };
  const FindCase cases[] = {
      {"title \"MAME*\", match is window 150", nullptr, "MAME*"},
      {"class \"MAMEClass\", match is window 150", "MAMEClass", nullptr},
      {"title \"*Paint\", absent", nullptr, "*Paint"},
      {"class \"PaintClass\", absent", "PaintClass", nullptr},
      {"title \"?ame*32*\", absent", nullptr, "?ame*32*"},
  };
  for (const FindCase& c : cases) {
    quillon::WindowHandle found = quillon::FindWindowByPattern(nullptr, c.classPattern, c.titlePattern);
    int number = quillon::fake_window_system::NumberOf(found);
    double ns = NanosecondsPerCall(
        [&] { return quillon::FindWindowByPattern(nullptr, c.classPattern, c.titlePattern) != nullptr ? 1 : 0; });
    std::printf("find   %-52s found %-4d %10.2f us/call (%.1f ns per window)\n", c.label, number, ns / 1000, ns / 150);
  }
  // The whole "|" pattern as an action gives it, when neither alternative
  // resolves: two full passes over the list.
  BuildWindowList();
  double ns = NanosecondsPerCall([] { return quillon::SelectTargetWindow("Pinball*|@PinballClass"); });
  std::printf("select %-52s found 0    %10.2f us/call\n", "\"Pinball*|@PinballClass\", absent (2 passes)", ns / 1000);

  // The worst a stored pattern can do to one search: 150 titles of the
  // longest length read (254 characters) that a back-tracking pattern
  // almost matches at every start.
  quillon::fake_window_system::Reset();
  for (int i = 0; i < 150; ++i) quillon::fake_window_system::AddTopLevelWindow("Edit", std::string(254, 'a'));
  const std::string slow = "*" + std::string(120, 'a') + "b";
  ns = NanosecondsPerCall([&] { return quillon::FindWindowByPattern(nullptr, nullptr, slow.c_str()) ? 1 : 0; });
  std::printf("find   %-52s found 0    %10.2f us/call (%.1f ns per window)\n",
              "title \"*\" + 120 \"a\" + \"b\" vs 254 \"a\", absent", ns / 1000, ns / 150);
}

}  // namespace

int main() {
  BenchMatch(RealisticCases());
  BenchMatch(AdversarialCases());
  BenchFind();
  return 0;
}

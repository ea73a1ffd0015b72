// Finding and activating the window an action is aimed at, against a fake
// tree of windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/target_window.h"
#include "tests/fakes/fake_window_system.h"

namespace quillon {
namespace {

namespace fake = fake_window_system;

std::vector<std::string> ActivationOf(int number) {
  std::string n = std::to_string(number);
  return {"Foreground " + n, "SendMessage " + n + " 0x0201 0 0", "SendMessage " + n + " 0x0202 0 0"};
}

class TargetWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  void TearDown() override { fake::Reset(); }
};

// A desktop used by most cases, front to back.
struct Desktop {
  WindowHandle explorer, notepad, firstGame, secondGame, calculator, untitled;
  WindowHandle firstGameCanvas, secondGameStatus, secondGameCanvas;
};

Desktop MakeDesktop() {
  Desktop d{};
  d.explorer = fake::AddTopLevelWindow("CabinetWClass", "Documents");
  d.notepad = fake::AddTopLevelWindow("Notepad", "readme.txt - Notepad");
  d.firstGame = fake::AddTopLevelWindow("MAME", "MAME: Galaga");
  d.firstGameCanvas = fake::AddChildWindow(d.firstGame, "Static", "Score");
  d.secondGame = fake::AddTopLevelWindow("MAME", "MAME: Pac-Man");
  d.secondGameStatus = fake::AddChildWindow(d.secondGame, "Static", "Status");
  d.secondGameCanvas = fake::AddChildWindow(d.secondGame, "Canvas", "Screen");
  d.calculator = fake::AddTopLevelWindow("CalcFrame", "Calculator");
  d.untitled = fake::AddTopLevelWindow("Untitled", "");
  return d;
}

struct SelectCase {
  const char* pattern;
  const char* expectedTitle;  // nullptr: nothing is selected
};

// The title the fake tree holds for `window`.
std::string TitleOf(WindowHandle window) { return WindowTitleText(window, 254); }

const SelectCase kSelectCases[] = {
    {"Calculator", "Calculator"},
    {"calculator", "Calculator"},
    {"*Notepad", "readme.txt - Notepad"},
    {"MAME*", "MAME: Galaga"},
    {"MAME: ?ac-Man", "MAME: Pac-Man"},
    {"@CalcFrame", "Calculator"},
    {"@calc*", "Calculator"},
    {"@MAME", "MAME: Galaga"},
    // Alternatives are tried left to right; the first that resolves wins.
    {"Nothing here|@Notepad", "readme.txt - Notepad"},
    {"mame*|@CalcFrame", "MAME: Galaga"},
    {"Nothing|Neither|Calculator", "Calculator"},
    // Paths: each further element among the children of the window found.
    {"MAME: Pac-Man>Screen", "Screen"},
    {"MAME: Pac-Man>@Canvas", "Screen"},
    {"@MAME>Score", "Score"},
    {"@MAME>@Static", "Score"},
    // Only the first MAME window is searched for the child; the second one
    // has it, but the alternative fails all the same.
    {"@MAME>Screen", nullptr},
    {"@MAME>Screen|Calculator", "Calculator"},
    // Children are not top-level windows, nor are they searched without a path.
    {"Screen", nullptr},
    {"Calculator>Score", nullptr},
    // A star never picks a window without a title; empty elements match nothing.
    {"@Untitled", ""},
    {"", nullptr},
    {"|", nullptr},
    {"@", nullptr},
    {">Calculator", nullptr},
    {"Calculator>", nullptr},
    {"Nothing matches this", nullptr},
};

class SelectTable : public TargetWindowTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SelectTable, SelectsTheWindowThePatternNames) {
  MakeDesktop();
  const SelectCase& c = GetParam();
  int result = SelectTargetWindow(c.pattern);
  if (c.expectedTitle == nullptr) {
    EXPECT_EQ(result, 0) << c.pattern;
    EXPECT_TRUE(fake::Calls().empty()) << c.pattern;
    return;
  }
  ASSERT_EQ(result, 1) << c.pattern;
  ASSERT_NE(fake::ForegroundWindow(), nullptr);
  EXPECT_EQ(TitleOf(fake::ForegroundWindow()), c.expectedTitle) << c.pattern;
  EXPECT_EQ(fake::Calls(), ActivationOf(fake::NumberOf(fake::ForegroundWindow()))) << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectTable, ::testing::ValuesIn(kSelectCases));

TEST_F(TargetWindowTest, StarNeverMatchesAnEmptyTitle) {
  fake::AddTopLevelWindow("Hidden", "");
  WindowHandle titled = fake::AddTopLevelWindow("Shown", "x");
  EXPECT_EQ(FindWindowByPattern(nullptr, nullptr, "*"), titled);
}

TEST_F(TargetWindowTest, TitleAndClassMustBothMatchWhenBothAreGiven) {
  fake::AddTopLevelWindow("Notepad", "Calculator");
  WindowHandle wanted = fake::AddTopLevelWindow("CalcFrame", "Calculator");
  EXPECT_EQ(FindWindowByPattern(nullptr, "CalcFrame", "Calc*"), wanted);
  EXPECT_EQ(FindWindowByPattern(nullptr, "Nothing", "Calc*"), nullptr);
}

TEST_F(TargetWindowTest, WithoutPatternsTheFirstWindowPasses) {
  WindowHandle first = fake::AddTopLevelWindow("A", "");
  fake::AddTopLevelWindow("B", "b");
  EXPECT_EQ(FindWindowByPattern(nullptr, nullptr, nullptr), first);
  EXPECT_EQ(FindWindowByPattern(first, nullptr, nullptr), nullptr);
}

TEST_F(TargetWindowTest, LooksAtNoMoreThan150Windows) {
  for (int i = 1; i < 150; ++i) fake::AddTopLevelWindow("Filler", "Filler");
  WindowHandle at150 = fake::AddTopLevelWindow("Target", "Number 150");
  fake::AddTopLevelWindow("Target", "Number 151");
  EXPECT_EQ(FindWindowByPattern(nullptr, nullptr, "Number 15?"), at150);
  EXPECT_EQ(FindWindowByPattern(nullptr, nullptr, "Number 151"), nullptr);
  EXPECT_EQ(SelectTargetWindow("Number 151"), 0);
  EXPECT_EQ(SelectTargetWindow("@Target"), 1);
  EXPECT_EQ(fake::ForegroundWindow(), at150);
}

TEST_F(TargetWindowTest, The150BoundCountsChildrenOnTheirOwn) {
  WindowHandle parent = fake::AddTopLevelWindow("Frame", "Frame");
  for (int i = 1; i < 150; ++i) fake::AddChildWindow(parent, "Filler", "Filler");
  WindowHandle child150 = fake::AddChildWindow(parent, "Edit", "Child 150");
  fake::AddChildWindow(parent, "Edit", "Child 151");
  EXPECT_EQ(SelectTargetWindow("Frame>@Edit"), 1);
  EXPECT_EQ(fake::ForegroundWindow(), child150);
  EXPECT_EQ(SelectTargetWindow("Frame>Child 151"), 0);
}

TEST_F(TargetWindowTest, AWindowWithoutTitleIsSkippedWhileItExists) {
  fake::AddTopLevelWindow("Blank", "");
  WindowHandle wanted = fake::AddTopLevelWindow("Later", "Later");
  EXPECT_EQ(FindWindowByPattern(nullptr, nullptr, "Later"), wanted);
}

TEST_F(TargetWindowTest, AWindowThatVanishedEndsTheSearch) {
  WindowHandle vanishing = fake::AddTopLevelWindow("Gone", "Gone");
  fake::AddTopLevelWindow("Later", "Later");
  fake::MarkWindowGone(vanishing);
  EXPECT_EQ(FindWindowByPattern(nullptr, nullptr, "Later"), nullptr);
  EXPECT_EQ(FindWindowByPattern(nullptr, "Later", nullptr), nullptr);
}

TEST_F(TargetWindowTest, TitlesAreComparedByTheir254FirstCharacters) {
  std::string longTitle(300, 'T');
  WindowHandle window = fake::AddTopLevelWindow("Long", longTitle);
  EXPECT_EQ(FindWindowByPattern(nullptr, nullptr, std::string(254, 'T').c_str()), window);
  EXPECT_EQ(FindWindowByPattern(nullptr, nullptr, longTitle.c_str()), nullptr);
}

TEST_F(TargetWindowTest, PatternsBeyond1023CharactersAreCut) {
  fake::AddTopLevelWindow("Calc", "Calculator");
  // The second alternative starts at character 1024 and is never tried.
  std::string pattern = std::string(1023, 'x') + "|Calculator";
  EXPECT_EQ(SelectTargetWindow(pattern), 0);
  pattern = std::string(1010, 'x') + "|Calculator";
  EXPECT_EQ(SelectTargetWindow(pattern), 1);
}

TEST_F(TargetWindowTest, ClassPathElementsMayHoldWildcardsAndTitleElementsMayStartWithThem) {
  WindowHandle frame = fake::AddTopLevelWindow("GameFrame", "Player One");
  WindowHandle edit = fake::AddChildWindow(frame, "Edit", "Name");
  EXPECT_EQ(SelectTargetWindow("@game*>?ame"), 1);
  EXPECT_EQ(fake::ForegroundWindow(), edit);
}

TEST_F(TargetWindowTest, NoWindowsAtAll) {
  EXPECT_EQ(FindWindowByPattern(nullptr, nullptr, "*"), nullptr);
  EXPECT_EQ(SelectTargetWindow("*"), 0);
  EXPECT_TRUE(fake::Calls().empty());
}

TEST_F(TargetWindowTest, AHungTargetIsActivatedButNotWaitedForTwice) {
  WindowHandle hung = fake::AddTopLevelWindow("Frozen", "Frozen game");
  fake::MarkWindowHung(hung);
  EXPECT_EQ(SelectTargetWindow("Frozen*"), 1);
  EXPECT_EQ(fake::Calls(), (std::vector<std::string>{"Foreground 1", "SendMessage 1 0x0201 0 0"}));
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// A map's window pattern against one given window, in the same notation:
// the first element is that window itself, the rest a path inside it.
TEST_F(TargetWindowTest, APatternMatchesTheWindowItNamesAndNoOther) {
  Desktop d = MakeDesktop();
  const struct {
    const char* pattern;
    WindowHandle window;
    bool matches;
  } rows[] = {
      {"MAME: Pac*", d.secondGame, true},
      {"MAME: Pac*", d.firstGame, false},
      {"@MAME", d.firstGame, true},
      {"Notepad|@MAME", d.secondGame, true},
      {"@MAME>Status", d.secondGame, true},
      {"@MAME>Status", d.firstGame, false},
      {"Score", d.firstGame, false},
      {"*", d.untitled, false},
      {"@MAME", nullptr, false},
  };
  for (const auto& row : rows) EXPECT_EQ(WindowMatchesPattern(row.window, row.pattern), row.matches) << row.pattern;
  EXPECT_TRUE(fake::Calls().empty()) << "a pattern check activates nothing";
}

}  // namespace
}  // namespace quillon

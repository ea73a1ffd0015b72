// The window-system-free parts of the application switcher.
#include <gtest/gtest.h>

#include <string>

#include "runtime/app_switcher_menu.h"

namespace quillon {
namespace {

struct TextCase {
  const char* title;
  const char* menuText;  // "" when the window is left out
};

const TextCase kTextCases[] = {
    {"Notepad", " Notepad"},
    {"  Notepad  ", " Notepad"},
    {"\tUntitled - Notepad\r\n", " Untitled - Notepad"},
    {"Two  inner  blanks", " Two  inner  blanks"},
    {"", ""},
    {"   ", ""},
    {"\t\n", ""},
    {"Program Manager", ""},
    {"   Program Manager  ", ""},
    {"program manager", " program manager"},
    {"Program Manager 2", " Program Manager 2"},
    {"Start", ""},
    {" Start ", ""},
    {"START", " START"},
    {"Start menu", " Start menu"},
};

class MenuTextTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(MenuTextTable, TrimsAndLeavesOutTheShellWindows) {
  EXPECT_EQ(SwitcherMenuText(GetParam().title), GetParam().menuText) << "title \"" << GetParam().title << "\"";
}

INSTANTIATE_TEST_SUITE_P(Cases, MenuTextTable, ::testing::ValuesIn(kTextCases));

struct EdgeCase {
  long left, top, right, bottom;
  TaskbarSide side;
  int x, y;
  bool alignRight, alignBottom;
};

const EdgeCase kEdgeCases[] = {
    {0, 0, 60, 768, TaskbarSide::Left, 1024, 0, true, false},
    {-2, -2, 62, 770, TaskbarSide::Left, 1024, 0, true, false},
    {0, 0, 1024, 30, TaskbarSide::Top, 0, 768, false, true},
    {0, 738, 1024, 768, TaskbarSide::Other, 0, 0, false, false},
    {964, 0, 1024, 768, TaskbarSide::Other, 0, 0, false, false},
    {0, 0, 100, 100, TaskbarSide::Other, 0, 0, false, false},
};

class TaskbarTable : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(TaskbarTable, OpensTheMenuAwayFromTheTaskbar) {
  const EdgeCase& c = GetParam();
  TaskbarSide side = TaskbarEdge(c.left, c.top, c.right, c.bottom);
  EXPECT_EQ(side, c.side);
  MenuPlacement placement = PlaceSwitcherMenu(side, 1024, 768);
  EXPECT_EQ(placement.x, c.x);
  EXPECT_EQ(placement.y, c.y);
  EXPECT_EQ(placement.alignRight, c.alignRight);
  EXPECT_EQ(placement.alignBottom, c.alignBottom);
}

INSTANTIATE_TEST_SUITE_P(Cases, TaskbarTable, ::testing::ValuesIn(kEdgeCases));

TEST(SwitcherCommand, DesktopDismissAndNothing) {
  EXPECT_EQ(InterpretSwitcherCommand(32795, 3).kind, SwitcherChoiceKind::ShowDesktop);
  EXPECT_EQ(InterpretSwitcherCommand(32796, 3).kind, SwitcherChoiceKind::Nothing);
  EXPECT_EQ(InterpretSwitcherCommand(0, 3).kind, SwitcherChoiceKind::Nothing);
  EXPECT_EQ(InterpretSwitcherCommand(32770, 3).kind, SwitcherChoiceKind::Nothing);
  EXPECT_EQ(InterpretSwitcherCommand(40000, 3).kind, SwitcherChoiceKind::Nothing);
}

TEST(SwitcherCommand, WindowItemsOnlyUpToTheListedCount) {
  SwitcherChoice first = InterpretSwitcherCommand(32771, 3);
  EXPECT_EQ(first.kind, SwitcherChoiceKind::ActivateWindow);
  EXPECT_EQ(first.windowIndex, 0);
  EXPECT_EQ(InterpretSwitcherCommand(32773, 3).windowIndex, 2);
  EXPECT_EQ(InterpretSwitcherCommand(32774, 3).kind, SwitcherChoiceKind::Nothing);
  SwitcherChoice last = InterpretSwitcherCommand(32794, 24);
  EXPECT_EQ(last.kind, SwitcherChoiceKind::ActivateWindow);
  EXPECT_EQ(last.windowIndex, 23);
  // The slot count keeps window identifiers clear of the fixed items.
  EXPECT_EQ(IDM_SWITCH_WINDOW + kSwitcherWindowSlots, IDM_SWITCH_DESKTOP);
}

}  // namespace
}  // namespace quillon

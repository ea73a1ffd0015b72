// The parts of the application switcher that need no window system: which
// windows it lists and under what text, where the menu opens, and what a
// returned command asks for.
#pragma once

#include <string>

namespace quillon {

// The menu lists at most this many windows, the front-most in z-order; the
// command identifiers of window items stay below IDM_SWITCH_DESKTOP.
constexpr int kSwitcherWindowSlots = 24;
constexpr unsigned IDM_SWITCH_WINDOW = 32771;
constexpr unsigned IDM_SWITCH_DESKTOP = 32795;
constexpr unsigned IDM_SWITCH_DISMISS = 32796;

// The menu text for a window title: the title without white space at its
// ends, behind one space. "" when the window is not listed (an empty title,
// or the shell's own desktop and start windows).
std::string SwitcherMenuText(const std::string& title);

enum class TaskbarSide { Left, Top, Other };
// Which side a taskbar with this screen rectangle sits on; a bar along the
// bottom or the right edge counts as Other.
TaskbarSide TaskbarEdge(long left, long top, long right, long bottom);

// The point the menu is opened at and the corner of the menu placed there,
// so that it opens away from the taskbar.
struct MenuPlacement {
  int x = 0;
  int y = 0;
  bool alignRight = false;   // the menu's right edge at x
  bool alignBottom = false;  // the menu's bottom edge at y
};
MenuPlacement PlaceSwitcherMenu(TaskbarSide side, int screenWidth, int screenHeight);

enum class SwitcherChoiceKind { Nothing, ShowDesktop, ActivateWindow };
struct SwitcherChoice {
  SwitcherChoiceKind kind = SwitcherChoiceKind::Nothing;
  int windowIndex = -1;  // for ActivateWindow
};
// What the command returned by the menu asks for, with `windowCount` windows
// listed; 0 (the menu closed without a choice) and unknown commands ask for
// nothing.
SwitcherChoice InterpretSwitcherCommand(unsigned command, int windowCount);

}  // namespace quillon

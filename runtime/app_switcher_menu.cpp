#include "runtime/app_switcher_menu.h"

namespace quillon {

namespace {
bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

std::string SwitcherMenuText(const std::string& title) {
  size_t first = 0;
  size_t end = title.size();
  while (first < end && IsWhiteSpace(title[first])) ++first;
  while (end > first && IsWhiteSpace(title[end - 1])) --end;
  if (first == end) return std::string();
  std::string text(1, ' ');
  text.append(title, first, end - first);
  // The shell's desktop and start button are top-level windows too, but
  // switching to them means nothing to the user.
  if (text == " Program Manager" || text == " Start") return std::string();
  return text;
}

TaskbarSide TaskbarEdge(long left, long top, long right, long bottom) {
  if (top != left) return TaskbarSide::Other;
  if (bottom > right) return TaskbarSide::Left;
  if (bottom < right) return TaskbarSide::Top;
  return TaskbarSide::Other;
}

MenuPlacement PlaceSwitcherMenu(TaskbarSide side, int screenWidth, int screenHeight) {
  MenuPlacement placement;
  if (side == TaskbarSide::Left) {
    placement.x = screenWidth;
    placement.alignRight = true;
  } else if (side == TaskbarSide::Top) {
    placement.y = screenHeight;
    placement.alignBottom = true;
  }
  return placement;
}

SwitcherChoice InterpretSwitcherCommand(unsigned command, int windowCount) {
  SwitcherChoice choice;
  if (command == IDM_SWITCH_DESKTOP) {
    choice.kind = SwitcherChoiceKind::ShowDesktop;
  } else if (command >= IDM_SWITCH_WINDOW &&
             command < IDM_SWITCH_WINDOW + static_cast<unsigned>(kSwitcherWindowSlots)) {
    int index = static_cast<int>(command - IDM_SWITCH_WINDOW);
    if (index < windowCount) {
      choice.kind = SwitcherChoiceKind::ActivateWindow;
      choice.windowIndex = index;
    }
  }
  return choice;
}

}  // namespace quillon

// Reading and working another program's dialog window as a user would:
// controls are found by the label that stands before them or by their own
// caption, as their access keys and screen readers find them, never by id.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quillon::test_kit {

// A window's text without the "&" marks of access keys.
std::string VisibleText(HWND window);
// Every window below `root`, depth first in z-order (tab order).
std::vector<HWND> Descendants(HWND root);
// Only controls shown within `root` count, as for a user: a hidden page's
// do not, and pages share labels such as "Parameters:".
// The control right after the label reading `label` (without "&"), or null.
HWND ControlLabelled(HWND root, const std::string& label);
// The control (button, check box, frame...) whose caption reads `caption`.
HWND ControlCaptioned(HWND root, const std::string& caption);
std::vector<HWND> ControlsOfClass(HWND root, const char* className);

// The captions of a tab control in another process, left to right.
std::vector<std::string> TabCaptions(HWND tab);
// Brings the page with that caption to the front as a click on its tab
// does; false when there is no such tab.
bool SelectTab(HWND tab, const std::string& caption);

struct MenuEntry {
  std::string caption;  // "-" for a separator
  UINT id;
};
struct Menu {
  std::string caption;
  std::vector<MenuEntry> entries;
};
// The menu bar of a program's window as the user sees it, with the "&"
// marks kept.
std::vector<Menu> MenuBarOf(const std::string& programPath);
// The command of the entry captioned `caption` (without "&"); 0 if none.
UINT MenuCommand(const std::string& programPath, const std::string& caption);

}  // namespace quillon::test_kit

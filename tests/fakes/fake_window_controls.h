// The configurator window in memory: its controls, for the page logic's tests:
// every control that is touched comes into being with the defaults of a new
// Win32 control (empty, unchecked, enabled, visible, no rows, nothing
// selected) and keeps its state as the real one would. A test reads and sets
// that state directly to play the user. The window's message boxes and the
// program's version come with it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "configurator/seams/configurator_view.h"
#include "configurator/seams/window_controls.h"

namespace quillon::fake_window_controls {

struct ControlState {
  std::string text;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  std::vector<std::pair<std::string, intptr_t>> rows;
  int selectedRow = -1;
  // The edit field's selection, as character offsets.
  size_t selectionStart = 0;
  size_t selectionEnd = 0;
};

// Forgets every control and message box; version 1.0.
void Reset();
ControlState& State(int id);
// Row texts of a list, top first.
std::vector<std::string> RowTexts(int id);

// The window's message boxes, answered Yes (or OK).
struct ShownMessage {
  std::string text;
  std::string title;
};
const std::vector<ShownMessage>& Messages();
// What the program's version resource holds.
void SetProgramVersion(int major, int minor);

}  // namespace quillon::fake_window_controls

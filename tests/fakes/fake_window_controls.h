// The configurator window in memory: its controls, for the page logic's tests:
// every control that is touched comes into being with the defaults of a new
// Win32 control (empty, unchecked, enabled, visible, no rows, nothing
// selected) and keeps its state as the real one would. A test reads and sets
// that state directly to play the user. The program's version comes with it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "configurator/seams/window_controls.h"

namespace quillon::fake_window_controls {

struct ControlState {
  std::string text;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  bool lit = false;
  std::vector<std::pair<std::string, intptr_t>> rows;
  int selectedRow = -1;
  // A list that sorts its rows (LBS_SORT, CBS_SORT), as its template says.
  bool sorted = false;
  // The edit field's selection, as character offsets.
  size_t selectionStart = 0;
  size_t selectionEnd = 0;
  // The edit field's limit (EM_LIMITTEXT, which the real pages set when
  // their dialogs start; a test sets it here): text put in at the caret is
  // cut to it, text set whole is not. 32767 is a new field's limit.
  size_t textLimit = 32767;
};

// Forgets every control; version 1.0.
void Reset();
ControlState& State(int id);
// Row texts of a list, top first.
std::vector<std::string> RowTexts(int id);

// How often a control refused input with a beep since the last Reset.
int Beeps();

// What the program's version resource holds.
void SetProgramVersion(int major, int minor);

}  // namespace quillon::fake_window_controls

#include "tests/fakes/fake_window_controls.h"

#include "configurator/seams/program_version.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace quillon::fake_window_controls {

namespace {
std::map<int, ControlState> g_controls;
ProgramVersion g_version{1, 0};
int g_beeps = 0;

bool HasRow(const ControlState& control, int row) { return row >= 0 && size_t(row) < control.rows.size(); }
bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}
}  // namespace

void Reset() {
  g_controls.clear();
  g_version = {1, 0};
  g_beeps = 0;
}
int Beeps() { return g_beeps; }
void SetProgramVersion(int major, int minor) { g_version = {major, minor}; }
ControlState& State(int id) { return g_controls[id]; }

std::vector<std::string> RowTexts(int id) {
  std::vector<std::string> texts;
  for (const auto& row : State(id).rows) texts.push_back(row.first);
  return texts;
}

}  // namespace quillon::fake_window_controls

namespace quillon {

using fake_window_controls::HasRow;
using fake_window_controls::LessIgnoringCase;
using fake_window_controls::State;

// A drop-down list shows its selected row as its text.
std::string ControlText(int id) {
  const auto& control = State(id);
  if (!control.rows.empty() && HasRow(control, control.selectedRow))
    return control.rows[size_t(control.selectedRow)].first;
  return control.text;
}
void SetControlText(int id, const std::string& text) {
  auto& control = State(id);
  control.text = text;
  control.selectionStart = control.selectionEnd = 0;
}
bool IsChecked(int id) { return State(id).checked; }
void SetChecked(int id, bool checked) { State(id).checked = checked; }
void SetEnabled(int id, bool enabled) { State(id).enabled = enabled; }
void SetVisible(int id, bool visible) { State(id).visible = visible; }
void SetLit(int id, bool lit) { State(id).lit = lit; }

int InsertRow(int id, int row, const std::string& text, intptr_t itemData) {
  auto& control = State(id);
  if (row < 0 && control.sorted) {
    // After the rows that do not sort behind it, without regard to case.
    auto before = [&](const std::pair<std::string, intptr_t>& r) { return !LessIgnoringCase(text, r.first); };
    row = int(std::find_if_not(control.rows.begin(), control.rows.end(), before) - control.rows.begin());
  }
  if (row < 0 || size_t(row) > control.rows.size()) row = int(control.rows.size());
  control.rows.insert(control.rows.begin() + row, {text, itemData});
  if (control.selectedRow >= row) ++control.selectedRow;
  return row;
}

// As LB_DELETESTRING and CB_DELETESTRING: the selected row going leaves
// nothing selected; rows below it move up with the selection.
void RemoveRow(int id, int row) {
  auto& control = State(id);
  if (!HasRow(control, row)) return;
  control.rows.erase(control.rows.begin() + row);
  if (control.selectedRow == row) control.selectedRow = -1;
  else if (control.selectedRow > row) --control.selectedRow;
}

void ClearRows(int id) {
  auto& control = State(id);
  control.rows.clear();
  control.selectedRow = -1;
}
int RowCount(int id) { return int(State(id).rows.size()); }
std::string RowText(int id, int row) {
  const auto& control = State(id);
  return HasRow(control, row) ? control.rows[size_t(row)].first : std::string();
}
intptr_t RowData(int id, int row) {
  const auto& control = State(id);
  return HasRow(control, row) ? control.rows[size_t(row)].second : 0;
}
int SelectedRow(int id) { return State(id).selectedRow; }
void SelectRow(int id, int row) {
  auto& control = State(id);
  control.selectedRow = HasRow(control, row) ? row : -1;
}

namespace {
struct Selection {
  size_t start, end;
};
Selection SelectionOf(const fake_window_controls::ControlState& control) {
  size_t start = std::min(control.selectionStart, control.text.size());
  return {start, std::min(std::max(control.selectionEnd, start), control.text.size())};
}
}  // namespace

int RoomForReplacement(int id) {
  const auto& control = State(id);
  const Selection selection = SelectionOf(control);
  const size_t kept = control.text.size() - (selection.end - selection.start);
  return int(control.textLimit > kept ? control.textLimit - kept : 0);
}

// As EM_REPLACESEL under EM_LIMITTEXT: what does not fit is dropped.
void ReplaceSelection(int id, const std::string& text) {
  auto& control = State(id);
  const std::string taken = text.substr(0, size_t(RoomForReplacement(id)));
  const Selection selection = SelectionOf(control);
  control.text.replace(selection.start, selection.end - selection.start, taken);
  control.selectionStart = control.selectionEnd = selection.start + taken.size();
}

void BeepRefusal() { ++fake_window_controls::g_beeps; }

ProgramVersion OwnProgramVersion() { return fake_window_controls::g_version; }

}  // namespace quillon

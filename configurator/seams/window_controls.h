// The controls of the configurator's window as the page logic sees them: a
// control is named by its id in configurator/resource_ids.h and has a text, a
// check mark, enabled and visible states, and (lists and drop-down lists)
// rows that carry item data, one of which may be selected. Setting a state
// from here fires no notification, as with Win32 controls: logic that must
// react to its own change calls its handler itself.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// What happened to a control, as the page logic is told.
enum class ControlEvent { Click, SelectionChange, DoubleClick, TextChange };

std::string ControlText(int id);
void SetControlText(int id, const std::string& text);
bool IsChecked(int id);
void SetChecked(int id, bool checked);
void SetEnabled(int id, bool enabled);
void SetVisible(int id, bool visible);
// A control drawn in the highlight colours, as a lamp that is on.
void SetLit(int id, bool lit);

// Rows of a list box or drop-down list. `row` -1 appends, or in a sorted
// list puts the row in its sorted place; the new row's index is returned. Removing or clearing rows follows the
// controls' own rules for the selection.
int InsertRow(int id, int row, const std::string& text, intptr_t itemData = 0);
void RemoveRow(int id, int row);
void ClearRows(int id);
int RowCount(int id);
std::string RowText(int id, int row);
intptr_t RowData(int id, int row);
// -1 when no row is selected; selecting -1 or a row that does not exist
// leaves none selected.
int SelectedRow(int id);
void SelectRow(int id, int row);

// Replaces the selected text of an edit field (at the caret when nothing is
// selected), leaving the caret after the new text. As a typing user's, the
// text is cut to what the field's text limit leaves room for.
void ReplaceSelection(int id, const std::string& text);
// How many characters the field's text limit leaves for text that replaces
// its selection.
int RoomForReplacement(int id);
// The sound a control makes when it refuses input.
void BeepRefusal();

}  // namespace quillon

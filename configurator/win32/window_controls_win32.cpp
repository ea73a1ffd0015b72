// The control primitives over real controls: lists and drop-down lists are
// told apart by their window class, since their messages differ.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "configurator/win32/window_win32.h"

namespace quillon {

namespace {
struct KnownControl {
  HWND window;
  bool comboBox;
};
struct ControlTable {
  std::vector<HWND> parents;  // the window and its pages, searched in turn
  // Controls found so far, by id. Filling a page sends hundreds of messages,
  // and under Wine every GetDlgItem lists the dialog's children through the
  // server (and GetClassName asks it too): looking each control up once took
  // most of the configurator's start-up. The pages and their controls live as
  // long as the window, so what was found stays valid.
  std::unordered_map<int, KnownControl> known;
  std::unordered_set<HWND> lit;  // painted in the selection colours
};
ControlTable g_controls;

bool IsComboBox(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
}

const KnownControl* FindControl(int id) {
  auto known = g_controls.known.find(id);
  if (known != g_controls.known.end()) return &known->second;
  for (HWND parent : g_controls.parents)
    if (HWND control = GetDlgItem(parent, id))
      return &g_controls.known.emplace(id, KnownControl{control, IsComboBox(control)}).first->second;
  return nullptr;
}

// The message of a list box or of a drop-down list.
LRESULT ListMessage(int id, UINT listMessage, UINT comboMessage, WPARAM wParam, LPARAM lParam) {
  const KnownControl* control = FindControl(id);
  if (control == nullptr) return -1;
  return SendMessageA(control->window, control->comboBox ? comboMessage : listMessage, wParam, lParam);
}
}  // namespace

void AddControlParent(HWND dialog) { g_controls.parents.push_back(dialog); }
void ForgetControlParents() { g_controls = {}; }

HWND ControlWindow(int id) {
  const KnownControl* control = FindControl(id);
  return control != nullptr ? control->window : nullptr;
}

std::string ControlText(int id) {
  HWND control = ControlWindow(id);
  if (control == nullptr) return std::string();
  std::string text(size_t(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(size_t(GetWindowTextA(control, text.data(), int(text.size()))));
  return text;
}
void SetControlText(int id, const std::string& text) { SetWindowTextA(ControlWindow(id), text.c_str()); }
bool IsChecked(int id) { return SendMessageA(ControlWindow(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(int id, bool checked) {
  SendMessageA(ControlWindow(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
void SetEnabled(int id, bool enabled) { EnableWindow(ControlWindow(id), enabled); }
void SetVisible(int id, bool visible) { ShowWindow(ControlWindow(id), visible ? SW_SHOWNA : SW_HIDE); }

// The page paints a lit control in its WM_CTLCOLORSTATIC (check boxes and
// labels ask their parent for their colours there); only a change repaints.
void SetLit(int id, bool lit) {
  HWND control = ControlWindow(id);
  if (control == nullptr || IsLitControl(control) == lit) return;
  if (lit) g_controls.lit.insert(control);
  else g_controls.lit.erase(control);
  InvalidateRect(control, nullptr, TRUE);
}

bool IsLitControl(HWND control) { return g_controls.lit.count(control) != 0; }

// Only the "add" messages sort: LB_INSERTSTRING puts a row exactly where it
// is told, even in a sorted list.
int InsertRow(int id, int row, const std::string& text, intptr_t itemData) {
  LRESULT index = row < 0 ? ListMessage(id, LB_ADDSTRING, CB_ADDSTRING, 0, LPARAM(text.c_str()))
                          : ListMessage(id, LB_INSERTSTRING, CB_INSERTSTRING, WPARAM(row), LPARAM(text.c_str()));
  if (index >= 0) ListMessage(id, LB_SETITEMDATA, CB_SETITEMDATA, WPARAM(index), LPARAM(itemData));
  return int(index);
}
void RemoveRow(int id, int row) { ListMessage(id, LB_DELETESTRING, CB_DELETESTRING, WPARAM(row), 0); }
void ClearRows(int id) { ListMessage(id, LB_RESETCONTENT, CB_RESETCONTENT, 0, 0); }
int RowCount(int id) {
  LRESULT count = ListMessage(id, LB_GETCOUNT, CB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : int(count);
}
std::string RowText(int id, int row) {
  LRESULT length = ListMessage(id, LB_GETTEXTLEN, CB_GETLBTEXTLEN, WPARAM(row), 0);
  if (length < 0) return std::string();
  std::string text(size_t(length) + 1, '\0');
  LRESULT copied = ListMessage(id, LB_GETTEXT, CB_GETLBTEXT, WPARAM(row), LPARAM(text.data()));
  text.resize(copied < 0 ? 0 : size_t(copied));
  return text;
}
intptr_t RowData(int id, int row) {
  LRESULT data = ListMessage(id, LB_GETITEMDATA, CB_GETITEMDATA, WPARAM(row), 0);
  return data == LB_ERR ? 0 : intptr_t(data);
}
int SelectedRow(int id) {
  LRESULT row = ListMessage(id, LB_GETCURSEL, CB_GETCURSEL, 0, 0);
  return row < 0 ? -1 : int(row);
}
void SelectRow(int id, int row) { ListMessage(id, LB_SETCURSEL, CB_SETCURSEL, WPARAM(row), 0); }

void ReplaceSelection(int id, const std::string& text) {
  SendMessageA(ControlWindow(id), EM_REPLACESEL, TRUE, LPARAM(text.c_str()));
}

// EM_LIMITTEXT bounds the whole text, so the selection's characters count as
// room: they go when the new text comes in.
int RoomForReplacement(int id) {
  HWND control = ControlWindow(id);
  if (control == nullptr) return 0;
  DWORD start = 0, end = 0;
  SendMessageA(control, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  const LRESULT limit = SendMessageA(control, EM_GETLIMITTEXT, 0, 0);
  const LRESULT kept = LRESULT(GetWindowTextLengthA(control)) - LRESULT(end > start ? end - start : 0);
  return int(std::clamp<LRESULT>(limit - kept, 0, INT_MAX));
}

void BeepRefusal() { MessageBeep(MB_OK); }

}  // namespace quillon

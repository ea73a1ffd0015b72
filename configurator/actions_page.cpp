#include "configurator/actions_page.h"

#include "configurator/action_entry_text.h"
#include "configurator/controller_boxes.h"
#include "configurator/controller_live.h"
#include "configurator/field_insertion.h"
#include "configurator/key_catalogue.h"
#include "configurator/key_sequence_hint.h"
#include "configurator/key_sequence_frame.h"
#include "configurator/path_helpers.h"
#include "configurator/press_to_set.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/main_window_host.h"
#include "configurator/seams/message_boxes.h"
#include "configurator/seams/process_control.h"
#include "configurator/system_services.h"
#include "shared/numeric_text.h"

namespace quillon {

namespace {
// What differs between the two lists.
struct ListKind {
  ActionList list;
  int listId;
  int optionId;
  int pictureId;
  const char* limitMessage;
};
constexpr ListKind kKeyboardList = {ActionList::Keyboard, IDC_lstKeys, IDC_optKeyboard, IDC_imgKey,
                                    "There is a limit of 99 keyboard actions."};
constexpr ListKind kControllerList = {ActionList::Controller, IDC_lstJoyButtons, IDC_optJoystick,
                                      IDC_imgJoystickActions, "There is a limit of 99 joystick actions."};
const ListKind& KindOf(ActionList list) { return list == ActionList::Keyboard ? kKeyboardList : kControllerList; }

constexpr int kModifierBoxes[] = {IDC_chkAlt, IDC_chkCtrl, IDC_chkShift, IDC_chkWindows};  // bits 1, 2, 4, 8
constexpr int kRunApplicationRow = RunApplication;
constexpr int kChangeConfigurationRow = ChangeConfiguration;

// The window's editor; the calls without an editor at the end work on it.
ActionEditor g_windowEditor;

int& CurrentIndex(ActionEditor& editor, ActionList list) {
  return list == ActionList::Keyboard ? editor.currentKey : editor.currentButton;
}
int16_t& EntryCount(ConfiguratorSettings& model, ActionList list) {
  return list == ActionList::Keyboard ? model.keyCount : model.buttonCount;
}
bool IsEntry(int index) { return index >= 0 && index < kActionSlots; }

void SetVisibleAll(std::initializer_list<int> ids, bool visible) {
  for (int id : ids) SetVisible(id, visible);
}
template <size_t N>
void SetVisibleAll(const int (&ids)[N], bool visible) {
  for (int id : ids) SetVisible(id, visible);
}

// Frames are groups of sibling controls in the window, so a frame is shown
// by showing what it holds, and only while the editor itself is.
void LayOutEditor(const ActionEditor& editor) {
  SetVisibleAll({IDC_frmKey, IDC_labAction, IDC_cmbAction, IDC_chkSelectWindow, IDC_labWindowName, IDC_txtWindowName},
                editor.editorShown);
  SetVisibleAll({IDC_labRepeat, IDC_txtRepeat}, editor.editorShown && editor.repeatField);
  const bool keyboard = editor.editorShown && editor.shown == ActionList::Keyboard;
  SetVisibleAll({IDC_labModifiers, IDC_labVirtualKey, IDC_cmbVirtualKey, IDC_cmdPressKey}, keyboard);
  SetVisibleAll(kModifierBoxes, keyboard);
  const bool controller = editor.editorShown && editor.shown == ActionList::Controller;
  SetVisibleAll({IDC_labButtonCombo, IDC_labControllerNote, IDC_cmdPressButtons}, controller);
  ShowControllerBoxes(controller);
  ShowKeySequenceFrame(editor.editorShown && !editor.applicationFrame);
  SetVisibleAll({IDC_frmAppName, IDC_labExecutable, IDC_txtExecutable, IDC_cmdBrowse, IDC_labParameters,
                 IDC_txtParameters, IDC_cmdBrowsePar},
                editor.editorShown && editor.applicationFrame);
}

// A row's text changed in place; its selection stays.
void RewriteRow(int listId, int row, const std::string& text) {
  if (row < 0 || row >= RowCount(listId)) return;
  const bool selected = SelectedRow(listId) == row;
  RemoveRow(listId, row);
  InsertRow(listId, row, text);
  if (selected) SelectRow(listId, row);
}

int EditorModifier() {
  int modifier = 0;
  for (int bit = 0; bit < 4; ++bit)
    if (IsChecked(kModifierBoxes[bit])) modifier |= 1 << bit;
  return modifier;
}
// The boxes' buttons and directions; stored direction bits above the eight
// (a tree edited by hand) are kept as they were, so an edit changes only
// what the boxes show.
ControllerInput EditorInput(uint32_t storedDirections) {
  ControllerInput input = TickedControllerInput();
  input.directions |= storedDirections & ~kDirectionsMask;
  return input;
}
ControllerInput StoredInput(const ButtonActionEntry& entry) {
  return {uint32_t(entry.buttons), uint32_t(entry.directions)};
}
// The chosen key's code; a stored code that the catalogue lacks is shown
// with no row chosen, and stays until the user picks one.
int EditorKeyCode(int storedCode) {
  const int row = SelectedRow(IDC_cmbVirtualKey);
  return row < 0 ? storedCode : int(RowData(IDC_cmbVirtualKey, row));
}

template <typename Entry>
void ShowCommonFields(const ActionEditor& editor, const Entry& entry) {
  SetChecked(IDC_chkSelectWindow, entry.sendType == SelectWindow);
  SetEnabled(IDC_txtWindowName, entry.sendType == SelectWindow);
  SetControlText(IDC_txtWindowName, entry.select);
  // A code without a row (a tree edited by hand) leaves none selected.
  SelectRow(IDC_cmbAction, entry.action);
  // Before the sequence: its hint line tells of the interval too.
  SetControlText(IDC_txtRepeat, std::to_string(entry.repeat));
  ShowKeySequence(editor.press, entry.keySeq);
  SetControlText(IDC_txtExecutable, entry.appName);
  SetControlText(IDC_txtParameters, entry.appParms);
}

// Texts are taken as they are. An action kind the list lacks stays as
// stored unless the user picks one. The interval is taken as typed, also
// outside what the runtime accepts (the hint line says that it falls back
// to 100 ms), so that a typing slip is seen, not silently mended; only a
// text that is no number keeps the stored one.
template <typename Entry>
void ReadCommonFields(Entry& entry) {
  entry.sendType = IsChecked(IDC_chkSelectWindow) ? SelectWindow : CurrentWindow;
  if (const int row = SelectedRow(IDC_cmbAction); row >= 0) entry.action = int16_t(row);
  entry.keySeq = ControlText(IDC_txtKeySequence);
  entry.appName = ControlText(IDC_txtExecutable);
  entry.appParms = ControlText(IDC_txtParameters);
  entry.select = ControlText(IDC_txtWindowName);
  if (const std::optional<int64_t> ms = ParseWholeNumberText(ControlText(IDC_txtRepeat)); ms && FitsInt32(*ms))
    entry.repeat = int32_t(*ms);
}

void ReadKeyEditor(KeyActionEntry& entry) {
  entry.virtualKey = int16_t(EditorKeyCode(entry.virtualKey));
  entry.modifier = int16_t(EditorModifier());
  ReadCommonFields(entry);
}
void ReadButtonEditor(ButtonActionEntry& entry) {
  const ControllerInput input = EditorInput(uint32_t(entry.directions));
  entry.buttons = int32_t(input.buttons);
  entry.directions = int32_t(input.directions);
  ReadCommonFields(entry);
}

std::string ConfiguratorPath() {
  const std::string path = OwnExecutablePath();
  return path.empty() ? "QuillonConfig.exe" : path;
}

// The frame that the chosen action kind needs: programs have a path and
// parameters, everything else a key sequence. "Change configuration" always
// starts this configurator, so its path is not the user's to edit.
void ArrangeActionFrames(ActionEditor& editor) {
  const int kind = SelectedRow(IDC_cmbAction);
  editor.applicationFrame = kind == kRunApplicationRow || kind == kChangeConfigurationRow;
  editor.repeatField = kind == RepeatKeys;
  if (kind == kChangeConfigurationRow) SetControlText(IDC_txtExecutable, ConfiguratorPath());
  if (editor.applicationFrame) {
    SetEnabled(IDC_txtExecutable, kind == kRunApplicationRow);
    SetEnabled(IDC_cmdBrowse, kind == kRunApplicationRow);
  }
  LayOutEditor(editor);
}

void HideEditor(ActionEditor& editor) {
  editor.editorShown = false;
  LayOutEditor(editor);
}

void ShowKeyEntry(ActionEditor& editor, int index) {
  if (!IsEntry(index)) return HideEditor(editor);
  editor.editorShown = true;
  const KeyActionEntry entry = editor.model->keyActions[size_t(index)];
  SelectRow(IDC_cmbVirtualKey, FindCatalogueRow(entry.virtualKey));
  for (int bit = 0; bit < 4; ++bit) SetChecked(kModifierBoxes[bit], (entry.modifier & (1 << bit)) != 0);
  ShowCommonFields(editor, entry);
  ArrangeActionFrames(editor);
}

void ShowButtonEntry(ActionEditor& editor, int index) {
  if (!IsEntry(index)) return HideEditor(editor);
  editor.editorShown = true;
  const ButtonActionEntry entry = editor.model->buttonActions[size_t(index)];
  TickControllerInput(StoredInput(entry));
  ShowCommonFields(editor, entry);
  ArrangeActionFrames(editor);
}

void ShowEntry(ActionEditor& editor, ActionList list, int index) {
  // A real edit field reports the text it is given as a change; the row of
  // an entry being loaded already reads as its stored entry.
  editor.loadingEntry = true;
  if (list == ActionList::Keyboard) ShowKeyEntry(editor, index);
  else ShowButtonEntry(editor, index);
  editor.loadingEntry = false;
}

// Only the list shown has its entry in the editor.
void CommitEditor(ActionEditor& editor, ActionList list) {
  const int index = CurrentIndex(editor, list);
  if (editor.shown != list || !IsEntry(index)) return;
  if (list == ActionList::Keyboard) {
    KeyActionEntry& entry = editor.model->keyActions[size_t(index)];
    ReadKeyEditor(entry);
    RewriteRow(IDC_lstKeys, index, MarkedRowText(KeyEntryText(entry), entry.keySeq, entry.action));
  } else {
    ButtonActionEntry& entry = editor.model->buttonActions[size_t(index)];
    ReadButtonEditor(entry);
    RewriteRow(IDC_lstJoyButtons, index, MarkedRowText(ButtonEntryText(entry), entry.keySeq, entry.action));
  }
}

// A row as the editor's fields would store it, the sequence's mark included.
std::string EditorRowText(const std::string& text) {
  return MarkedRowText(text, ControlText(IDC_txtKeySequence), SelectedRow(IDC_cmbAction));
}

// The row of the shown list, from the boxes as they are now; the model
// changes on the next commit.
void RefreshEntryText(ActionEditor& editor) {
  const ListKind& kind = KindOf(editor.shown);
  const int row = SelectedRow(kind.listId);
  if (row < 0) return;
  if (editor.shown == ActionList::Keyboard) {
    const int stored = IsEntry(editor.currentKey) ? editor.model->keyActions[size_t(editor.currentKey)].virtualKey : 0;
    RewriteRow(kind.listId, row, EditorRowText(KeyEntryText(EditorModifier(), EditorKeyCode(stored))));
  } else {
    const int32_t stored =
        IsEntry(editor.currentButton) ? editor.model->buttonActions[size_t(editor.currentButton)].directions : 0;
    RewriteRow(kind.listId, row, EditorRowText(ButtonEntryText(EditorInput(uint32_t(stored)))));
  }
}

void OnRowSelected(ActionEditor& editor, ActionList list) {
  if (editor.deleting) return;
  CommitEditor(editor, list);
  const int row = SelectedRow(KindOf(list).listId);
  ShowEntry(editor, list, row);
  CurrentIndex(editor, list) = row;
  UpdateControllerWatch(editor.live, editor.press);
}

// The other list comes to the same place and shows its own selected entry;
// the edited entry of the list leaving is committed first.
void ShowList(ActionEditor& editor, ActionList list) {
  if (list == editor.shown) return;
  CommitEditor(editor, editor.shown);
  editor.shown = list;
  for (const ListKind* kind : {&kKeyboardList, &kControllerList}) {
    const bool shown = kind->list == list;
    SetChecked(kind->optionId, shown);
    SetVisible(kind->listId, shown);
    SetVisible(kind->pictureId, shown);
  }
  const int row = SelectedRow(KindOf(list).listId);
  ShowEntry(editor, list, row);
  CurrentIndex(editor, list) = row;
  UpdateControllerWatch(editor.live, editor.press);
}

void NewEntry(ActionEditor& editor) {
  const ListKind& kind = KindOf(editor.shown);
  if (RowCount(kind.listId) >= kMaxActions) {
    ShowMessageBox(kind.limitMessage, "Error", MessageIcon::Critical, MessageButtons::Ok);
    return;
  }
  int16_t& count = EntryCount(*editor.model, editor.shown);
  std::string text;
  if (editor.shown == ActionList::Keyboard) {
    KeyActionEntry entry;
    entry.virtualKey = 106;  // the keypad's multiply key
    editor.model->keyActions[size_t(count)] = entry;
    text = KeyEntryText(entry);
  } else {
    editor.model->buttonActions[size_t(count)] = ButtonActionEntry{};
    text = ButtonEntryText(ControllerInput{});
  }
  ++count;
  SelectRow(kind.listId, InsertRow(kind.listId, -1, text));
  OnRowSelected(editor, editor.shown);
}

template <typename Entry, size_t N>
void RemoveEntry(std::array<Entry, N>& entries, int16_t& count, int index) {
  for (int j = index + 1; j < count; ++j) entries[size_t(j - 1)] = entries[size_t(j)];
  --count;
  entries[size_t(count)] = Entry{};
}

// The rows below the deleted one move up; the same place, or else the new
// last row, is selected and shown. The last remaining entry stays. No
// control is disabled meanwhile: the guard keeps the selection changes from
// committing, and the keyboard focus stays on the button.
void DeleteEntry(ActionEditor& editor) {
  const ListKind& kind = KindOf(editor.shown);
  const int row = SelectedRow(kind.listId);
  if (row < 0 || RowCount(kind.listId) < 2) return;
  CommitEditor(editor, editor.shown);
  editor.deleting = true;
  if (editor.shown == ActionList::Keyboard) RemoveEntry(editor.model->keyActions, editor.model->keyCount, row);
  else RemoveEntry(editor.model->buttonActions, editor.model->buttonCount, row);
  RemoveRow(kind.listId, row);
  SelectRow(kind.listId, row < RowCount(kind.listId) ? row : RowCount(kind.listId) - 1);
  const int selected = SelectedRow(kind.listId);
  CurrentIndex(editor, editor.shown) = selected;
  ShowEntry(editor, editor.shown, selected);
  editor.deleting = false;
}

void BrowseExecutable() {
  FileDialogOptions options = ProgramDialogOptions(ControlText(IDC_txtExecutable));
  options.filters = {{"EXE files", "*.exe"}, {"COM files", "*.com"}, {"CMD files", "*.cmd"}, {"BAT files", "*.bat"}};
  std::string path;
  if (ShowFileDialog(options, &path)) SetControlText(IDC_txtExecutable, path);
}

// The chosen path goes into the parameters as one argument, quoted when it
// holds a blank (unquoted, "Change configuration" would start the
// configurator with the path cut at its first blank), and whole or not at
// all.
void BrowseParameterFile() {
  const std::string executable = TrimBlanks(ControlText(IDC_txtExecutable));
  FileDialogOptions options;
  options.filters = {{"All files", "*.*"}};
  if (!executable.empty()) options.initialFolder = FolderOf(executable);
  options.defaultExtension = ".*";  // any: a name is taken as typed
  options.title = "Select file";
  options.owner = MainWindowHandle();
  std::string path;
  if (ShowFileDialog(options, &path)) InsertWhole(IDC_txtParameters, AsOneArgument(path));
}

bool IsEditorBox(int id) { return (id >= IDC_chkAlt && id <= IDC_chkWindows) || IsControllerBox(id); }
}  // namespace

void FillActionLists() {
  ClearRows(IDC_cmbAction);
  for (int code = 0; code <= int(kLastActionKind); ++code) InsertRow(IDC_cmbAction, -1, kActionKindLabels[code], code);
  ClearRows(IDC_cmbVirtualKey);
  for (const CatalogueRow& row : KeyCatalogue) InsertRow(IDC_cmbVirtualKey, -1, row.description, row.code);
  FillSpecialKeyList();
}

void ShowActionsPage(ActionEditor& editor, ConfiguratorSettings& model) {
  editor.model = &model;
  ClearRows(IDC_lstKeys);
  for (int i = 0; i < model.keyCount; ++i) {
    const KeyActionEntry& entry = model.keyActions[size_t(i)];
    InsertRow(IDC_lstKeys, -1, MarkedRowText(KeyEntryText(entry), entry.keySeq, entry.action));
  }
  ClearRows(IDC_lstJoyButtons);
  for (int i = 0; i < model.buttonCount; ++i)
    InsertRow(IDC_lstJoyButtons, -1,
              MarkedRowText(ButtonEntryText(model.buttonActions[size_t(i)]), model.buttonActions[size_t(i)].keySeq,
                            model.buttonActions[size_t(i)].action));
  editor.currentKey = editor.currentButton = -1;
  // The keyboard list, whatever was shown before, with its first entry.
  editor.shown = ActionList::Controller;
  ShowList(editor, ActionList::Keyboard);
  if (model.keyCount > 0) {
    SelectRow(IDC_lstKeys, 0);
    OnRowSelected(editor, ActionList::Keyboard);
  }
  UpdateControllerWatch(editor.live, editor.press);
}

EditorEntry ReadEditorEntry(const ActionEditor& editor) {
  EditorEntry entry;
  entry.list = editor.shown;
  entry.index = editor.shown == ActionList::Keyboard ? editor.currentKey : editor.currentButton;
  if (!IsEntry(entry.index)) {
    entry.index = -1;
  } else if (editor.shown == ActionList::Keyboard) {
    entry.key = editor.model->keyActions[size_t(entry.index)];
    ReadKeyEditor(entry.key);
  } else {
    entry.button = editor.model->buttonActions[size_t(entry.index)];
    ReadButtonEditor(entry.button);
  }
  return entry;
}

void OnActionsPageEvent(ActionEditor& editor, int id, ControlEvent event) {
  if (editor.model == nullptr) return;  // nothing shown yet
  // Whatever else the user does ends a wait, so its result cannot land in
  // another entry.
  if (id != IDC_cmdPressKey && id != IDC_cmdPressButtons) CancelPressToSet(editor.press);
  if (event == ControlEvent::TextChange) {
    if ((id != IDC_txtKeySequence && id != IDC_txtRepeat) || editor.loadingEntry) return;
    ShowKeySequenceHint(editor.press);
    RefreshEntryText(editor);
    return;
  }
  if (event == ControlEvent::SelectionChange) {
    switch (id) {
      case IDC_lstKeys: OnRowSelected(editor, ActionList::Keyboard); break;
      case IDC_lstJoyButtons: OnRowSelected(editor, ActionList::Controller); break;
      case IDC_cmbVirtualKey: RefreshEntryText(editor); break;
      case IDC_cmbAction:
        ArrangeActionFrames(editor);
        ShowKeySequenceHint(editor.press);
        RefreshEntryText(editor);
        break;
      default: break;
    }
    return;
  }
  if (event != ControlEvent::Click) return;
  if (IsEditorBox(id)) return RefreshEntryText(editor);
  switch (id) {
    case IDC_optKeyboard: ShowList(editor, ActionList::Keyboard); break;
    case IDC_optJoystick: ShowList(editor, ActionList::Controller); break;
    case IDC_cmdNewKey: NewEntry(editor); break;
    case IDC_cmdDeleteKey: DeleteEntry(editor); break;
    case IDC_chkSelectWindow: SetEnabled(IDC_txtWindowName, IsChecked(IDC_chkSelectWindow)); break;
    case IDC_cmdBrowse: BrowseExecutable(); break;
    case IDC_cmdBrowsePar: BrowseParameterFile(); break;
    case IDC_cmdAddSpecialKey: AddSpecialKey(editor.press); break;
    case IDC_cmdPressKey:
      StartPressKey(editor.press, [&editor] { RefreshEntryText(editor); });
      UpdateControllerWatch(editor.live, editor.press);
      break;
    case IDC_cmdPressButtons:
      StartPressButtons(editor.press, ControllerReadable(editor.live), [&editor] { RefreshEntryText(editor); });
      UpdateControllerWatch(editor.live, editor.press);
      break;
    default: break;
  }
}

void ShowActionsPage(ConfiguratorSettings& model) { ShowActionsPage(g_windowEditor, model); }
EditorEntry ReadEditorEntry() { return ReadEditorEntry(g_windowEditor); }
void OnActionsPageEvent(int id, ControlEvent event) { OnActionsPageEvent(g_windowEditor, id, event); }
void SetActionsPageOnScreen(bool onScreen) {
  SetLiveControllerOnScreen(g_windowEditor.live, g_windowEditor.press, onScreen);
}
void OnActionsPageTick() { OnLiveControllerTick(g_windowEditor.live, g_windowEditor.press); }
bool ActionsPageWaitsForAPress() { return PressToSetWaiting(g_windowEditor.press); }
bool OnKeyWhileActionsPageWaits(int virtualKey, int modifiers) {
  return OnKeyWhileWaiting(g_windowEditor.press, virtualKey, modifiers);
}

}  // namespace quillon

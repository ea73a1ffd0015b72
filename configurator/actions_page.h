// The "Actions" page: the keyboard actions and the controller actions, one
// list shown at a time in the same place, and the editor of the selected
// entry. Row i of a list is always entry i of the model. The editor is a
// view: its controls go back into the entry they were loaded from when
// another entry is about to be shown, and on Apply and Save (which take it
// from ReadEditorEntry).
#pragma once

#include "configurator/controller_live.h"
#include "configurator/press_to_set.h"
#include "configurator/seams/window_controls.h"
#include "configurator/settings_model.h"

namespace quillon {

// Text limit of the editor's four text fields.
inline constexpr int kActionTextLimit = 250;

// What the editor keeps that the model does not. The window's one editor
// lives in actions_page.cpp behind the calls without an editor below; a test
// makes its own. Never copied: a wait's onSet refers back to its editor.
struct ActionEditor {
  ActionEditor() = default;
  ActionEditor(const ActionEditor&) = delete;
  ActionEditor& operator=(const ActionEditor&) = delete;

  ActionList shown = ActionList::Keyboard;
  int currentKey = -1;     // the keyboard entry last loaded into the editor
  int currentButton = -1;  // the controller entry likewise
  // While a deletion moves the rows, their selection changes are its own.
  bool deleting = false;
  // While an entry is loaded into the editor, its own text changes are not edits.
  bool loadingEntry = false;
  // Which parts of the editor frame are to be seen.
  bool editorShown = false;
  bool applicationFrame = false;
  bool repeatField = false;  // the repeat interval, for the repeat kind
  LiveController live;
  PressToSet press;
  // The model whose lists the page shows and edits; none until it is shown.
  ConfiguratorSettings* model = nullptr;
};

// Fills the action-kind list, the key catalogue and the special-key list
// (window load and Reload), before the controller list.
void FillActionLists();
// Rebuilds both action lists from the model and forgets the open entries;
// then shows the keyboard list with its first entry open.
void ShowActionsPage(ActionEditor& editor, ConfiguratorSettings& model);
// The open entry of the list shown, as the editor's controls hold it.
EditorEntry ReadEditorEntry(const ActionEditor& editor);
// A click or selection change on one of the page's controls. Rows selected
// and boxes set by this logic run the same steps as the user's clicks.
void OnActionsPageEvent(ActionEditor& editor, int id, ControlEvent event);

// The same on the window's editor, for the main window and the dialog.
void ShowActionsPage(ConfiguratorSettings& model);
EditorEntry ReadEditorEntry();
void OnActionsPageEvent(int id, ControlEvent event);
// Whether the page can be seen (its tab shown and the window not minimised).
void SetActionsPageOnScreen(bool onScreen);
// Each tick of the page's timer.
void OnActionsPageTick();
bool ActionsPageWaitsForAPress();
// A key pressed while press-to-set waits; true when the wait took it.
bool OnKeyWhileActionsPageWaits(int virtualKey, int modifiers);

}  // namespace quillon

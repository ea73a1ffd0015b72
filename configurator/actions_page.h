// The "Actions" page: the keyboard actions and the controller actions, one
// list shown at a time in the same place, and the editor of the selected
// entry. Row i of a list is always entry i of the model. The editor is a
// view: its controls go back into the entry they were loaded from when
// another entry is about to be shown, and on Apply and Save (which take it
// from ReadEditorEntry).
#pragma once

#include "configurator/seams/window_controls.h"
#include "configurator/settings_model.h"

namespace quillon {

// Text limit of the editor's four text fields.
inline constexpr int kActionTextLimit = 250;

// Fills the action-kind list, the key catalogue and the special-key list
// (window load and Reload), before the controller list.
void FillActionLists();
// Rebuilds both action lists from the model and forgets the open entries;
// then shows the keyboard list with its first entry open.
void ShowActionsPage(const ConfiguratorSettings& model);
// The open entry of the list shown, as the editor's controls hold it.
EditorEntry ReadEditorEntry();
// A click or selection change on one of the page's controls. Rows selected
// and boxes set by this logic run the same steps as the user's clicks.
void OnActionsPageEvent(int id, ControlEvent event);

}  // namespace quillon

// What the configurator's logic needs of its main window: the global-settings
// fields, the action editor, the controller selection, refreshing, and the
// message boxes that the window owns. The main window implements it; until it
// exists, a placeholder does.
#pragma once

#include <string>
#include <vector>

#include "configurator/settings_model.h"

namespace quillon {

enum class MessageIcon { Critical, Question, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

MessageAnswer ShowMessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons);

// The global settings as the main window's controls hold them.
struct GlobalFields {
  std::vector<std::string> activeConfigs;  // the active-configurations list, top first
  std::string changeTimeoutText;
  std::string pollPerSecondText;
  bool hotKeyMode = true;  // false: low-level hook mode
  bool useJoystick = false;
  bool useKeyboard = true;
  bool applyOnStart = true;
  bool controllerListEmpty = true;
  std::string selectedController;  // "" when none is selected
  std::string ultraMapPath;
  std::string ultraMapOptions;
};
GlobalFields ReadGlobalFields();

enum class TextField { ChangeTimeout, PollPerSecond, UltraMapPath };
void SetFieldText(TextField field, const std::string& text);

enum class ActionPage { Keyboard, Controller };
ActionPage SelectedActionPage();
// Copies the action editor's fields into `entry`.
void CommitKeyEditor(KeyActionEntry& entry);
void CommitButtonEditor(ButtonActionEntry& entry);

// Rebuilds the action-kind list, the key catalogue, the controller list and
// the special-key list.
void RebuildLists();
// Shows every control from g_model.
void RefreshFromModel();

// The main window's handle, owner of dialogs; null while there is none.
void* MainWindowHandle();
// Shows the main window until it is closed; the program's exit status.
int RunMainWindow();

}  // namespace quillon

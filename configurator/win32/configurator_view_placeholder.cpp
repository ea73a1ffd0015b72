// Stands in for the main window until it exists: message boxes are real,
// the fields mirror the model, and no window is shown.
#include <windows.h>

#include "configurator/seams/configurator_view.h"

namespace quillon {

MessageAnswer ShowMessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) {
  UINT style = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
  style |= icon == MessageIcon::Critical ? MB_ICONERROR
           : icon == MessageIcon::Question ? MB_ICONQUESTION
                                           : MB_ICONINFORMATION;
  int answer = MessageBoxA(nullptr, text.c_str(), title.c_str(), style);
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

GlobalFields ReadGlobalFields() {
  GlobalFields fields;
  for (int i = 0; i < kMaxConfigs && !g_model.configNames[i].empty(); ++i)
    fields.activeConfigs.push_back(g_model.configNames[i]);
  fields.changeTimeoutText = std::to_string(g_model.changeTimeout);
  fields.pollPerSecondText = std::to_string(g_model.pollPerSecond);
  fields.hotKeyMode = g_model.useHook == 0;
  fields.useJoystick = g_model.useJoystick != 0;
  fields.useKeyboard = g_model.useKeyboard != 0;
  fields.applyOnStart = g_model.applyOnStart != 0;
  fields.controllerListEmpty = g_model.switchDevice.empty();
  fields.selectedController = g_model.switchDevice;
  fields.ultraMapPath = g_model.ultraMapPath;
  fields.ultraMapOptions = g_model.ultraMapOptions;
  return fields;
}

void SetFieldText(TextField, const std::string&) {}
ActionPage SelectedActionPage() { return ActionPage::Keyboard; }
void CommitKeyEditor(KeyActionEntry&) {}
void CommitButtonEditor(ButtonActionEntry&) {}
void RebuildLists() {}
void RefreshFromModel() {}
void* MainWindowHandle() { return nullptr; }
int RunMainWindow() { return 0; }

}  // namespace quillon

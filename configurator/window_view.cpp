// What the settings model reads from and sets in the main window, over the
// control primitives.
#include "configurator/main_window.h"
#include "configurator/other_settings_page.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/configurator_view.h"
#include "configurator/seams/window_controls.h"

namespace quillon {

GlobalFields ReadGlobalFields() {
  GlobalFields fields;
  for (auto& name : g_model.configNames)
    if (!name.empty()) fields.activeConfigs.push_back(name);
  fields.changeTimeoutText = ControlText(IDC_txtSwitchTimeout);
  fields.pollPerSecondText = ControlText(IDC_txtPollsPerSecond);
  fields.hotKeyMode = IsChecked(IDC_optModeHotkey);
  fields.useJoystick = IsChecked(IDC_chkUseJoystick);
  fields.useKeyboard = IsChecked(IDC_chkUseKeyboard);
  fields.applyOnStart = IsChecked(IDC_chkLoadConfigOnApply);
  fields.controllerListEmpty = RowCount(IDC_cmbDeviceName) == 0;
  const int selected = SelectedRow(IDC_cmbDeviceName);
  fields.selectedController = selected >= 0 ? RowText(IDC_cmbDeviceName, selected) : std::string();
  fields.ultraMapPath = ControlText(IDC_txtUltraMap);
  fields.ultraMapOptions = ControlText(IDC_txtUltraParameters);
  return fields;
}

void SetFieldText(TextField field, const std::string& text) {
  switch (field) {
    case TextField::ChangeTimeout: SetControlText(IDC_txtSwitchTimeout, text); break;
    case TextField::PollPerSecond: SetControlText(IDC_txtPollsPerSecond, text); break;
    case TextField::UltraMapPath: SetControlText(IDC_txtUltraMap, text); break;
  }
}

ActionPage SelectedActionPage() { return ActionPage::Keyboard; }
void CommitKeyEditor(KeyActionEntry&) {}
void CommitButtonEditor(ButtonActionEntry&) {}

void RebuildLists() { EnumerateControllers(); }
void RefreshFromModel() { RefreshWindow(); }

}  // namespace quillon

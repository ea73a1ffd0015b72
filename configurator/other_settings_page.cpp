#include "configurator/other_settings_page.h"

#include "configurator/env_helpers.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/controller_list.h"

namespace quillon {

namespace {
int RowNamed(int id, const std::string& text) {
  for (int row = 0; row < RowCount(id); ++row)
    if (RowText(id, row) == text) return row;
  return -1;
}
}  // namespace

void ShowOtherSettingsPage(const ConfiguratorSettings& model) {
  // Setting one option button from code does not clear the other.
  SetChecked(IDC_optModeHotkey, model.useHook == 0);
  SetChecked(IDC_optModeHook, model.useHook != 0);
  SetChecked(IDC_chkUseJoystick, model.useJoystick != 0);
  SetChecked(IDC_chkUseKeyboard, model.useKeyboard != 0);
  SelectController(model.switchDevice);
  SetControlText(IDC_txtPollsPerSecond, std::to_string(model.pollPerSecond));
  SetControlText(IDC_txtUltraMap, model.ultraMapPath);
  SetControlText(IDC_txtUltraParameters, model.ultraMapOptions);
  SetChecked(IDC_chkShowTrayIcon, model.showTrayIcon != 0);
  SetChecked(IDC_chkShowMapName, model.showMapName != 0);
}

void ReadOtherSettingsFields(WindowFields& fields) {
  fields.pollPerSecondText = ControlText(IDC_txtPollsPerSecond);
  fields.hotKeyMode = IsChecked(IDC_optModeHotkey);
  fields.useJoystick = IsChecked(IDC_chkUseJoystick);
  fields.useKeyboard = IsChecked(IDC_chkUseKeyboard);
  const int selected = SelectedRow(IDC_cmbDeviceName);
  fields.selectedController = selected >= 0 ? RowText(IDC_cmbDeviceName, selected) : std::string();
  fields.ultraMapPath = ControlText(IDC_txtUltraMap);
  fields.ultraMapOptions = ControlText(IDC_txtUltraParameters);
  fields.showTrayIcon = IsChecked(IDC_chkShowTrayIcon);
  fields.showMapName = IsChecked(IDC_chkShowMapName);
}

void ShowOtherSettingsFields(const WindowFields& fields) {
  SetControlText(IDC_txtPollsPerSecond, fields.pollPerSecondText);
  SetControlText(IDC_txtUltraMap, fields.ultraMapPath);
}

void OnOtherSettingsEvent(int id, ControlEvent event) {
  if (event != ControlEvent::Click) return;
  if (id == IDC_cmdBrowseUltramap) BrowseUltraMap();
  else if (id == IDC_cmdRefreshDevices) RefreshControllers();
}

void BrowseUltraMap() {
  // An open dialog: it offers to create a missing file and does not follow
  // shortcuts.
  std::string chosen;
  if (ShowFileDialog(ProgramDialogOptions(ControlText(IDC_txtUltraMap)), &chosen))
    SetControlText(IDC_txtUltraMap, chosen);
}

void EnumerateControllers() {
  ClearRows(IDC_cmbDeviceName);
  for (const std::string& name : EnumerateAttachedControllers()) InsertRow(IDC_cmbDeviceName, -1, name);
}

void RefreshControllers() {
  const int selected = SelectedRow(IDC_cmbDeviceName);
  const std::string remembered = selected >= 0 ? RowText(IDC_cmbDeviceName, selected) : std::string();
  EnumerateControllers();
  int row = remembered.empty() ? -1 : RowNamed(IDC_cmbDeviceName, remembered);
  if (row < 0 && RowCount(IDC_cmbDeviceName) > 0) row = 0;
  SelectRow(IDC_cmbDeviceName, row);
}

void SelectController(const std::string& name) {
  if (RowCount(IDC_cmbDeviceName) > 0) SelectRow(IDC_cmbDeviceName, 0);
  if (int row = RowNamed(IDC_cmbDeviceName, name); row >= 0) SelectRow(IDC_cmbDeviceName, row);
}

}  // namespace quillon

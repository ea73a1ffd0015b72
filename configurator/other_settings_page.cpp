#include "configurator/other_settings_page.h"

#include "configurator/field_controls.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/controller_list.h"
#include "configurator/system_services.h"

namespace quillon {

namespace {

// What the page shows one control to one field; the capture mode's option
// pair and the controller list are shown and read below.
constexpr FieldControl kFieldControls[] = {
    {Field::UseJoystick, IDC_chkUseJoystick, ShownBy::CheckBox},
    {Field::UseKeyboard, IDC_chkUseKeyboard, ShownBy::CheckBox},
    {Field::PollPerSecond, IDC_txtPollsPerSecond, ShownBy::EditField},
    {Field::EveryDevice, IDC_chkEveryDevice, ShownBy::CheckBox},
    {Field::UltraMapPath, IDC_txtUltraMap, ShownBy::EditField},
    {Field::UltraMapOptions, IDC_txtUltraParameters, ShownBy::EditField},
    {Field::ShowTrayIcon, IDC_chkShowTrayIcon, ShownBy::CheckBox},
    {Field::ShowMapName, IDC_chkShowMapName, ShownBy::CheckBox},
};

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
  SelectController(model.switchDevice);
  ShowFieldControls(kFieldControls, model);
}

void ReadOtherSettingsFields(WindowFields& fields) {
  fields[Field::UseHook] = IsChecked(IDC_optModeHotkey) ? "0" : "1";
  const int selected = SelectedRow(IDC_cmbDeviceName);
  fields[Field::SwitchDevice] = selected >= 0 ? RowText(IDC_cmbDeviceName, selected) : std::string();
  ReadFieldControls(kFieldControls, fields);
}

void ShowOtherSettingsFields(const WindowFields& fields) { ShowTakenTexts(kFieldControls, fields); }

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

// What the settings model reads from and sets in the main window, over the
// control primitives.
#include "configurator/configurations_page.h"
#include "configurator/main_window.h"
#include "configurator/other_settings_page.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/configurator_view.h"
#include "configurator/seams/window_controls.h"

namespace quillon {

GlobalFields ReadGlobalFields() {
  GlobalFields fields;
  ReadConfigurationsFields(fields);
  ReadOtherSettingsFields(fields);
  fields.controllerListEmpty = RowCount(IDC_cmbDeviceName) == 0;
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

#include "configurator/configurations_page.h"

#include "configurator/resource_ids.h"
#include "configurator/seams/window_controls.h"

namespace quillon {

void ShowConfigurationsPage(const ConfiguratorSettings& model) {
  SetControlText(IDC_txtSwitchTimeout, std::to_string(model.changeTimeout));
  SetChecked(IDC_chkLoadConfigOnApply, model.applyOnStart != 0);
}

// Until the configuration lists are on the page, the active configurations
// are those loaded.
void ReadConfigurationsFields(WindowFields& fields) {
  fields.activeConfigs.clear();
  for (const std::string& name : g_model.configNames)
    if (!name.empty()) fields.activeConfigs.push_back(name);
  fields.changeTimeoutText = ControlText(IDC_txtSwitchTimeout);
  fields.applyOnStart = IsChecked(IDC_chkLoadConfigOnApply);
}

void ShowConfigurationsFields(const WindowFields& fields) {
  SetControlText(IDC_txtSwitchTimeout, fields.changeTimeoutText);
}

}  // namespace quillon

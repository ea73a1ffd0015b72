#include "configurator/configurations_page.h"

#include "configurator/resource_ids.h"
#include "configurator/seams/window_controls.h"

namespace quillon {

void ShowConfigurationsPage(const ConfiguratorSettings& model) {
  SetControlText(IDC_txtSwitchTimeout, std::to_string(model.changeTimeout));
  SetChecked(IDC_chkLoadConfigOnApply, model.applyOnStart != 0);
}

}  // namespace quillon

// The "Configurations" page: the change-timeout field and the start/apply
// box. (The two configuration lists and their buttons come with their own
// logic.)
#pragma once

#include "configurator/settings_model.h"

namespace quillon {

// The change timeout in decimal, and the start/apply box.
void ShowConfigurationsPage(const ConfiguratorSettings& model);
// The page's part of the window's global settings, as its controls hold it.
void ReadConfigurationsFields(WindowFields& fields);
// The change timeout as the settings took it.
void ShowConfigurationsFields(const WindowFields& fields);

}  // namespace quillon

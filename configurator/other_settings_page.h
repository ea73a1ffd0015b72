// The "Other settings" page: the mapping program, keyboard capture, the
// controller that the runtime polls, and what the runtime shows of itself.
#pragma once

#include "configurator/seams/window_controls.h"
#include "configurator/settings_model.h"

namespace quillon {

// Capture mode, the check boxes, the controller selected by name, polls per
// second and the mapping program's path and options.
void ShowOtherSettingsPage(const ConfiguratorSettings& model);
// The page's part of the window's global settings, as its controls hold it.
void ReadOtherSettingsFields(WindowFields& fields);
// The polls per second and the mapping program's path as the settings took
// them.
void ShowOtherSettingsFields(const WindowFields& fields);
// A click on one of the page's buttons.
void OnOtherSettingsEvent(int id, ControlEvent event);

// Lets the user pick the mapping program; the path field takes the choice.
void BrowseUltraMap();
// Lists the attached controllers, selecting none.
void EnumerateControllers();
// Lists them again, keeping the selected controller by name, else the first.
void RefreshControllers();
// Selects the first controller, then the one named `name` exactly if listed.
void SelectController(const std::string& name);

}  // namespace quillon

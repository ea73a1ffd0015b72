// Stands in for the help viewer and controller listing in the window's
// tests until their own fakes land: help calls are recorded, controllers
// are the names a test sets.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quillon::stub_help_and_controllers {

std::vector<std::pair<std::string, int>>& HelpCalls();
void SetControllers(std::vector<std::string> names);

}  // namespace quillon::stub_help_and_controllers

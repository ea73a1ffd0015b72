#include "tests/fakes/stub_help_and_controllers.h"

#include "configurator/seams/controller_list.h"
#include "configurator/seams/help_viewer.h"

namespace quillon::stub_help_and_controllers {

namespace {
std::vector<std::string> g_controllers;
}

std::vector<std::pair<std::string, int>>& HelpCalls() {
  static std::vector<std::pair<std::string, int>> calls;
  return calls;
}
void SetControllers(std::vector<std::string> names) { g_controllers = std::move(names); }

}  // namespace quillon::stub_help_and_controllers

namespace quillon {

void OpenHelpAtContext(const std::string& helpFilePath, int context) {
  stub_help_and_controllers::HelpCalls().emplace_back(helpFilePath, context);
}
std::vector<std::string> EnumerateAttachedControllers() { return stub_help_and_controllers::g_controllers; }

}  // namespace quillon

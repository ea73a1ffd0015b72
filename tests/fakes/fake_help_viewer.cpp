#include "tests/fakes/fake_help_viewer.h"

namespace quillon {

std::vector<std::pair<std::string, int>>& HelpViewerCalls() {
  static std::vector<std::pair<std::string, int>> calls;
  return calls;
}

void OpenHelpAtContext(const std::string& helpFilePath, int context) {
  HelpViewerCalls().emplace_back(helpFilePath, context);
}

}  // namespace quillon

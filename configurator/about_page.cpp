#include "configurator/about_page.h"

#include "configurator/resource_ids.h"
#include "configurator/seams/program_version.h"
#include "configurator/seams/window_controls.h"

namespace quillon {

std::string VersionLabelText(int major, int minor) {
  return "Version " + std::to_string(major) + "." + std::to_string(minor);
}

void ShowAboutPage() {
  ProgramVersion version = OwnProgramVersion();
  SetControlText(IDC_labVersion, VersionLabelText(version.major, version.minor));
}

}  // namespace quillon

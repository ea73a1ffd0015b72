#include "configurator/apply_command.h"

#include "configurator/path_helpers.h"
#include "configurator/runtime_control.h"
#include "configurator/seams/message_boxes.h"
#include "configurator/system_services.h"

namespace quillon {

bool WriteSettingsAndSignal(ConfiguratorSettings& model, const ConfiguratorSession& session) {
  const WriteFailure failure = ApplyToRegistry(model);
  if (!failure.what.empty()) {
    ShowMessageBox("Could not write the settings to \"" + failure.what + "\" (error " + std::to_string(failure.status) +
                       "). Quillon keeps the settings it has.",
                   "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  SignalRuntime(session.programFolder);
  return true;
}

bool ApplySettings(ConfiguratorSettings& model, const ConfiguratorSession& session, WindowFields& fields,
                   const EditorEntry& editor) {
  std::optional<std::string>& path = fields[Field::UltraMapPath];
  path = TrimBlanks(path.value_or(model.ultraMapPath));
  // A pattern can match a file and still name no program to start.
  if (HasWildcards(*path) || !FileExists(*path)) {
    ShowMessageBox("Check UltraMap path: file not found.", "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  ConfiguratorSettings candidate = CandidateSettings(model, fields, editor);
  if (!WriteSettingsAndSignal(candidate, session)) return false;
  model = std::move(candidate);
  return true;
}

}  // namespace quillon

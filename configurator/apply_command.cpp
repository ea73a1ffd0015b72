#include "configurator/apply_command.h"

#include "configurator/env_helpers.h"
#include "configurator/path_helpers.h"
#include "configurator/runtime_control.h"
#include "configurator/seams/message_boxes.h"

namespace quillon {

bool WriteSettingsAndSignal() {
  const WriteFailure failure = ApplyToRegistry();
  if (!failure.what.empty()) {
    ShowMessageBox("Could not write the settings to \"" + failure.what + "\" (error " + std::to_string(failure.status) +
                       "). Quillon keeps the settings it has.",
                   "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  SignalRuntime();
  return true;
}

bool ApplySettings(WindowFields& fields, const EditorEntry& editor) {
  fields.ultraMapPath = TrimBlanks(fields.ultraMapPath);
  // A pattern can match a file and still name no program to start.
  if (HasWildcards(fields.ultraMapPath) || !FileExists(fields.ultraMapPath)) {
    ShowMessageBox("Check UltraMap path: file not found.", "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  CollectGlobalSettings(fields);
  CommitEditorEntry(editor);
  return WriteSettingsAndSignal();
}

}  // namespace quillon

#include "configurator/apply_command.h"

#include "configurator/path_helpers.h"
#include "configurator/runtime_control.h"
#include "configurator/seams/file_system.h"
#include "configurator/seams/message_boxes.h"
#include "configurator/system_services.h"
#include "shared/seams/settings_lock.h"

namespace quillon {

namespace {
// The file of the first games list that could not be written; "" when all
// were.
std::string WriteGamesLists(const std::string& folder, const std::map<std::string, std::string>& gamesLists) {
  for (const auto& [map, text] : gamesLists) {
    const std::string file = JoinPath(folder, map + ".games");
    if (!WriteWholeFile(file, text)) return file;
  }
  return {};
}
}  // namespace

bool WriteSettingsAndSignal(ConfiguratorSettings& model, const ConfiguratorSession& session,
                            const std::map<std::string, std::string>& gamesLists) {
  // The lock covers every write and trim, and is let go before the runtime
  // is told: its reload takes the same lock, and the request is sent and
  // waited for. A lock whose last holder died mid-write is taken all the
  // same: this write replaces every key and trims the lists, so it mends
  // whatever that writer left half done.
  const SettingsLock lock = TakeSettingsLock(kWriterLockWaitMs);
  if (!Held(lock)) {
    ShowMessageBox(lock == SettingsLock::TimedOut
                       ? "Another program has been changing Quillon's settings for more than " +
                             std::to_string(kWriterLockWaitMs / 1000) +
                             " seconds. Nothing was written, and Quillon keeps the settings it has."
                       : std::string("Quillon's settings could not be locked against other programs. Nothing was "
                                     "written, and Quillon keeps the settings it has."),
                   "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  // The games lists first, under the same lock, since the runtime reads them
  // at the load this write asks for: when one fails, neither the tree nor the
  // runtime hears of this Apply.
  if (const std::string file = WriteGamesLists(session.dataFolder, gamesLists); !file.empty()) {
    ReleaseSettingsLock();
    ShowMessageBox("Could not write the games list \"" + file +
                       "\". Nothing else was written, and Quillon keeps the settings it has.",
                   "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  const WriteFailure failure = ApplyToRegistry(model);
  ReleaseSettingsLock();
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
  if (!WriteSettingsAndSignal(candidate, session, fields.gamesLists)) return false;
  model = std::move(candidate);
  return true;
}

}  // namespace quillon

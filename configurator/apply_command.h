// The Apply command, and the write that ends a command-line import: the
// model goes into the registry, and the runtime hears of a tree only once it
// was written whole.
#pragma once

#include <map>
#include <string>

#include "configurator/settings_model.h"

namespace quillon {

// The Apply command: the mapping program's path in `fields` is trimmed in
// place. False when the path check stopped it (its message shown, nothing
// written) or a write failed (see WriteSettingsAndSignal); the window keeps
// the user's edits, and the model becomes what was written only once it was.
bool ApplySettings(ConfiguratorSettings& model, const ConfiguratorSession& session, WindowFields& fields,
                   const EditorEntry& editor);

// How long a write waits for another writer, or the runtime's read, to let
// go of the tree. A whole tree is written in well under a second.
inline constexpr uint32_t kWriterLockWaitMs = 5000;

// Writes `model` into the registry, under the settings lock, and asks the
// runtime to reload. When the lock is held elsewhere for the whole wait, or
// a write fails, one error box says what failed, and the runtime is left
// with the settings that it has (after a time-out nothing was written).
// `gamesLists` (text by map name) are written first, into the data folder.
bool WriteSettingsAndSignal(ConfiguratorSettings& model, const ConfiguratorSession& session,
                            const std::map<std::string, std::string>& gamesLists = {});

}  // namespace quillon

// Whole configurations saved to and loaded from ".qlf" files: INI sections
// "Quillon", "Key 01".., "Joy 01"..., every value as text.
#pragma once

#include <string>

#include "configurator/settings_model.h"

namespace quillon {

inline constexpr const char* kExportFilterText = "Quillon configuration files";
inline constexpr const char* kExportFilterPattern = "*.qlf";
inline constexpr const char* kExportExtension = ".qlf";

// The menu command "Save configuration to file", with what the window holds.
void SaveCommand(ConfiguratorSettings& model, const ConfiguratorSession& session, WindowFields& fields,
                 const EditorEntry& editor);
// Writes the settings that the window's fields and the editor's entry make
// of the model to `path`; they become the model once written. The file is built beside the target and only replaces it
// when complete; false when nothing was written (refused overwrite or a
// failed write, which is reported).
bool ExportToFile(const std::string& path, ConfiguratorSettings& model, WindowFields& fields,
                  const EditorEntry& editor);
// The menu command "Load configuration from file"; true when the model was
// loaded (the window then shows it again).
bool LoadCommand(ConfiguratorSettings& model, const ConfiguratorSession& session);
// Reads a file into the model; false (after an error box) when it is missing
// or its path holds wildcards.
bool ImportFromFile(const std::string& path, ConfiguratorSettings& model, const ConfiguratorSession& session);

// The name of the file that an export is built in before it replaces `path`.
std::string ExportWorkFile(const std::string& path);

}  // namespace quillon

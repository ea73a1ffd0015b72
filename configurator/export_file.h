// Whole configurations saved to and loaded from ".qlf" files: INI sections
// "Quillon", "Key 01".., "Joy 01"..., every value as text.
#pragma once

#include <string>

namespace quillon {

inline constexpr const char* kExportSection = "Quillon";
inline constexpr const char* kExportKeySectionFormat = "Key %02d";
inline constexpr const char* kExportJoySectionFormat = "Joy %02d";
inline constexpr const char* kExportFilterText = "Quillon configuration files";
inline constexpr const char* kExportFilterPattern = "*.qlf";
inline constexpr const char* kExportExtension = ".qlf";

// The menu command "Save configuration to file".
void SaveCommand();
// Writes the main window's state to `path`. The file is built beside the
// target and only replaces it when complete; false when nothing was written
// (refused overwrite or a failed write, which is reported).
bool ExportToFile(const std::string& path);
// The menu command "Load configuration from file".
void LoadCommand();
// Reads a file into the model; false (after an error box) when it is missing.
bool ImportFromFile(const std::string& path);

// The name of the file that an export is built in before it replaces `path`.
std::string ExportWorkFile(const std::string& path);

}  // namespace quillon

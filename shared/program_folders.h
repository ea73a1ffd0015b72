// Where the two programs live and where their files are: the one rule both
// must apply alike.
//
// An installed copy keeps both programs in the program folder, which only
// administrators may change, and the user's maps, sounds and export files in
// the configurator's data folder (the common application data folder, then
// "KWP", then the configurator's program name), which every user of the PC
// may add files to. The runtime is never started from that folder: a
// program file there could have been put by any user.
#pragma once

#include <string>

namespace quillon {

inline constexpr const char* kDataFolderPublisher = "KWP";
// The configurator's file as installed and shipped; its program name (the
// file name without ".exe") names its data folder.
inline constexpr const char* kConfiguratorProgramFile = "QuillonConfig.exe";
inline constexpr const char* kConfiguratorProgramName = "QuillonConfig";
inline constexpr const char* kRuntimeProgramFile = "quillon.exe";

// `commonAppData` + "\KWP\" + `programName` + "\": the configurator's data
// folder. "" when the common folder is unknown.
std::string ConfiguratorDataFolder(const std::string& commonAppData, const std::string& programName);

// The folder (ending with "\") in which the runtime finds the maps, the
// sounds and the mapping program's default: the configurator's data folder
// when the configurator lies beside the runtime (`runtimeFolder` ends with
// "\"), else the runtime's own folder, as a copy of the runtime alone always
// had it.
std::string RuntimeFilesFolder(const std::string& runtimeFolder, bool configuratorBeside,
                               const std::string& commonAppData);

// Whether `program` may be started: it lies in a folder that no other user
// may write to, or its owner is the user, an administrator or the system.
// Asks shared/seams/file_trust.h.
bool TrustedToStart(const std::string& program);

}  // namespace quillon

#include "shared/program_folders.h"

namespace quillon {

namespace {
std::string WithSeparator(const std::string& folder) {
  return (folder.empty() || folder.back() == '\\' || folder.back() == '/') ? folder : folder + "\\";
}
}  // namespace

std::string ConfiguratorDataFolder(const std::string& commonAppData, const std::string& programName) {
  if (commonAppData.empty()) return std::string();
  return WithSeparator(commonAppData) + kDataFolderPublisher + "\\" + programName + "\\";
}

std::string RuntimeFilesFolder(const std::string& runtimeFolder, bool configuratorBeside,
                               const std::string& commonAppData) {
  if (!configuratorBeside) return runtimeFolder;
  // Without the common folder the program folder stands in: nothing of the
  // user's is there, so maps are not found, but nothing anyone else put
  // anywhere is read either.
  std::string data = ConfiguratorDataFolder(commonAppData, kConfiguratorProgramName);
  return data.empty() ? runtimeFolder : data;
}

}  // namespace quillon

#include "configurator/app_error.h"

#include "configurator/seams/file_system.h"
#include "configurator/seams/shell_folders.h"
#include "shared/text_helpers.h"

namespace quillon {

namespace {

// The shell's result codes are HRESULTs; the message shows them as the
// signed number they are.
long long SignedResult(long result) { return static_cast<int32_t>(static_cast<uint32_t>(result)); }

constexpr long kValidIdNoFolder = 1;  // S_FALSE
constexpr uint32_t kInvalidArgument = 0x80070057;

}  // namespace

namespace AppEx {

std::string Path(int pathId, bool create, uint32_t flags) {
  std::string path;
  long result = FolderPath(create ? (pathId | kFolderFlagCreate) : pathId, flags, &path);
  if (result == 0) return UpToFirstZero(path);
  if (result == kValidIdNoFolder)
    throw AppError(kErrPathMissing, "AppEx.Path", "Valid PathId but folder doesn't exist");
  if (static_cast<uint32_t>(result) == kInvalidArgument)
    throw AppError(kErrPathInvalidId, "AppEx.Path", "Invalid PathId for requested function");
  throw AppError(kErrPathSystem, "AppEx.Path", "System error " + std::to_string(SignedResult(result)));
}

}  // namespace AppEx

bool PathExists(const std::string& path) { return !path.empty() && PathAttributesReadable(path); }

}  // namespace quillon

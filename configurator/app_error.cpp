#include "configurator/app_error.h"

#include <cstdio>
#include <cstdlib>

#include "configurator/seams/file_system.h"
#include "configurator/seams/shell_services.h"

namespace quillon {

namespace {

struct VersionRead {
  bool done = false;
  OsVersionInfo version;
  uint32_t errorCode = 0;
};
VersionRead g_version;

const VersionRead& Version() {
  if (!g_version.done) {
    g_version.done = true;
    if (!ReadOsVersion(&g_version.version, &g_version.errorCode) && g_version.errorCode == 0)
      g_version.errorCode = 1;  // a failure must never pass for success
    if (g_version.errorCode != 0) g_version.version = OsVersionInfo{};
  }
  return g_version;
}

std::string Decimal(long long number) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld", number);
  return text;
}

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
  if (result == 0) return path.substr(0, path.find('\0'));
  if (result == kValidIdNoFolder) throw AppError(kErrPathMissing, "AppEx.Path", "Valid PathId but folder doesn't exist");
  if (static_cast<uint32_t>(result) == kInvalidArgument)
    throw AppError(kErrPathInvalidId, "AppEx.Path", "Invalid PathId for requested function");
  throw AppError(kErrPathSystem, "AppEx.Path", "System error " + Decimal(SignedResult(result)));
}

std::string PathAndSubDir(int pathId, const std::string& subFolder, bool create, uint32_t flags) {
  if (OSVersion() < 5.1f - 1e-4f)
    throw AppError(kErrSubDirNeedsXp, "AppEx.PathAndSubDir", "Requires Windows XP or later");
  std::string path;
  long result = FolderPathAndSubDir(create ? (pathId | kFolderFlagCreate) : pathId, flags, subFolder, &path);
  if (result == 0) return path.substr(0, path.find('\0'));
  if (result == kValidIdNoFolder)
    throw AppError(kErrSubDirMissing, "AppEx.PathAndSubDir", "Valid PathId but folder doesn't exist");
  if (static_cast<uint32_t>(result) == kInvalidArgument)
    throw AppError(kErrSubDirInvalidId, "AppEx.PathAndSubDir", "Invalid PathId for requested function");
  throw AppError(kErrSubDirSystem, "AppEx.PathAndSubDir", "System error " + Decimal(SignedResult(result)));
}

float OSVersion() {
  const VersionRead& read = Version();
  if (read.errorCode != 0)
    throw AppError(kErrOsVersion, "AppEx.OSVersion", "System error retrieving information " + Decimal(read.errorCode));
  std::string text = Decimal(read.version.major) + "." + Decimal(read.version.minor);
  return std::strtof(text.c_str(), nullptr);
}

void ResetForTests() { g_version = VersionRead{}; }

}  // namespace AppEx

bool PathExists(const std::string& path) { return !path.empty() && PathAttributesReadable(path); }

}  // namespace quillon

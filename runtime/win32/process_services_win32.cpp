#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "runtime/seams/process_services.h"

namespace quillon {

namespace {
// Taken when the program's statics are set up, which is its start.
const DWORD g_processStartTick = GetTickCount();
}  // namespace

// The folder the runtime lives in may be deeper than MAX_PATH; its path is
// read whole up to the 1023 characters that every text of the runtime may
// have. A longer one (cut by the system, which then returns the buffer's
// size) counts as unknown rather than as a wrong folder.
std::string ExecutablePath() {
  char path[1024];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return std::string();
  return std::string(path, length);
}

std::string CommonAppDataFolder() {
  char path[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return std::string();
  return path;
}

uint32_t ProcessClockMs() { return GetTickCount() - g_processStartTick; }

bool StartProgram(const std::string& program, const std::string& commandLine) {
  // CreateProcessA may write into the command line, so it gets its own copy.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  ZeroMemory(&process, sizeof process);
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                      nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace quillon

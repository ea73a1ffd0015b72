// Stands in for the joystick maker's mapping program in system tests: it
// appends the command line it was given, with the system tick count, to the
// log file named by QUILLON_STANDIN_LOG, and ends at once, with the status
// that QUILLON_STANDIN_STATUS holds (0 without it). The installer test has it
// stand in for icacls too.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
  char logPath[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("QUILLON_STANDIN_LOG", logPath, sizeof logPath);
  if (length == 0 || length >= sizeof logPath) return 2;
  // Several stand-ins may start close together: retry while another holds
  // the file, so no line is lost.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Sleep(10);
      continue;
    }
    char stamp[32];
    int stampLength = std::snprintf(stamp, sizeof stamp, "%lu\t", static_cast<unsigned long>(GetTickCount()));
    const char* commandLine = GetCommandLineA();
    DWORD written = 0;
    WriteFile(file, stamp, DWORD(stampLength), &written, nullptr);
    WriteFile(file, commandLine, DWORD(lstrlenA(commandLine)), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
    CloseHandle(file);
    char status[16];
    length = GetEnvironmentVariableA("QUILLON_STANDIN_STATUS", status, sizeof status);
    return length == 0 || length >= sizeof status ? 0 : std::atoi(status);
  }
  return 3;
}

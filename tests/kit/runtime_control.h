// Starting, watching and stopping Windows programs from system tests: the
// real quillon.exe, second copies of it, and the stand-in mapping program.
// Every wait polls a condition with a generous time-out.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quillon::test_kit {

inline constexpr DWORD kGenerousTimeoutMs = 20000;

// The folder of the running test program, ending with "\"; quillon.exe and
// the stand-ins are built into the same folder.
std::string ProgramFolder();
std::string RuntimePath();
std::string StandInMapperPath();
// The configurator's data folder (common application data, "KWP", its
// program name), ending with "\"; created when missing.
std::string ConfiguratorDataFolder();

struct Child {
  HANDLE process = nullptr;
  DWORD id = 0;
};

// Starts `program` with the command line "\"program\" tail"; inherits this
// process's environment.
Child StartChild(const std::string& program, const std::string& tail);
// Waits for the child to end; false on time-out. Closes its handle.
bool WaitForExit(Child& child, DWORD timeoutMs, DWORD* exitCode);
bool IsRunning(const Child& child);

// The runtime's main window (class "Quillon"), or nullptr after the time-out.
HWND WaitForRuntimeWindow(DWORD timeoutMs = kGenerousTimeoutMs);
// The main window of that particular copy of the runtime.
HWND WaitForRuntimeWindowOf(const Child& runtime, DWORD timeoutMs = kGenerousTimeoutMs);
// A top-level window of `className` with title `title` belonging to process
// `processId` (0: any process).
HWND FindTopLevelWindow(const char* className, const char* title, DWORD processId);
HWND WaitForTopLevelWindow(const char* className, const char* title, DWORD processId,
                           DWORD timeoutMs = kGenerousTimeoutMs);
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kGenerousTimeoutMs);
// Closes any running copy of the runtime and waits for its process to end.
void StopAnyRuntime();
// Starts a first copy of the runtime (empty command tail) into `runtime` and
// returns its main window, or nullptr. Wine may still list the window of a
// copy that just ended; a new copy that asks "Exit Quillon?" because of it is
// dismissed and started again, with a printed line saying so.
HWND StartRuntime(Child* runtime);

// The stand-in's log: a fresh file for this test, named in the environment
// that started programs inherit.
std::string UseFreshStandInLog(const std::string& name);
// The command lines logged so far (time stamps removed), and their ticks.
std::vector<std::string> LoggedCommandLines(const std::string& logPath);
std::vector<DWORD> LoggedTicks(const std::string& logPath);
bool WaitForLoggedLines(const std::string& logPath, size_t count, DWORD timeoutMs = kGenerousTimeoutMs);

// The whole file, or "" when it cannot be read.
std::string FileContents(const std::string& path);

// Lets a condition settle without a fixed sleep being the test's proof.
void PumpMessagesFor(DWORD milliseconds);

// Polls `condition`, pumping messages, until it holds; false on time-out.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kGenerousTimeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    PumpMessagesFor(20);
  }
  return true;
}

}  // namespace quillon::test_kit

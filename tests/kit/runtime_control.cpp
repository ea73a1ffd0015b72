#include "tests/kit/runtime_control.h"

#include <shlobj.h>

#include <cstdio>
#include <fstream>

namespace quillon::test_kit {

namespace {

template <typename Condition>
bool WaitUntil(DWORD timeoutMs, Condition condition) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    PumpMessagesFor(20);
  }
}

struct WindowQuery {
  const char* className;
  const char* title;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter) {
  auto* query = reinterpret_cast<WindowQuery*>(parameter);
  char className[256] = "";
  char title[256] = "";
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, title, sizeof title);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (lstrcmpA(className, query->className) == 0 && lstrcmpA(title, query->title) == 0 &&
      (query->processId == 0 || query->processId == processId)) {
    query->found = window;
    return FALSE;
  }
  return TRUE;
}

std::vector<std::string> LogLines(const std::string& logPath) {
  std::vector<std::string> lines;
  std::ifstream log(logPath);
  for (std::string line; std::getline(log, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

void PumpMessagesFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string RuntimePath() { return ProgramFolder() + "quillon.exe"; }
std::string StandInMapperPath() { return ProgramFolder() + "stand_in_mapper.exe"; }

std::string ConfiguratorDataFolder() {
  char common[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, common);
  const std::string kwp = std::string(common) + "\\KWP";
  CreateDirectoryA(kwp.c_str(), nullptr);
  CreateDirectoryA((kwp + "\\QuillonConfig").c_str(), nullptr);
  return kwp + "\\QuillonConfig\\";
}

Child StartChild(const std::string& program, const std::string& tail) {
  std::string commandLine = "\"" + program + "\"" + (tail.empty() ? "" : " " + tail);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  Child child;
  if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &info)) {
    CloseHandle(info.hThread);
    child.process = info.hProcess;
    child.id = info.dwProcessId;
  }
  return child;
}

bool WaitForExit(Child& child, DWORD timeoutMs, DWORD* exitCode) {
  if (child.process == nullptr) return false;
  if (WaitForSingleObject(child.process, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(child.process, &code);
  if (exitCode) *exitCode = code;
  CloseHandle(child.process);
  child.process = nullptr;
  return true;
}

bool IsRunning(const Child& child) {
  return child.process != nullptr && WaitForSingleObject(child.process, 0) == WAIT_TIMEOUT;
}

HWND WaitForRuntimeWindow(DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil(timeoutMs, [&] { return (window = FindWindowA("Quillon", nullptr)) != nullptr; });
  return window;
}

HWND WaitForRuntimeWindowOf(const Child& runtime, DWORD timeoutMs) {
  return WaitForTopLevelWindow("Quillon", "Quillon", runtime.id, timeoutMs);
}

HWND FindTopLevelWindow(const char* className, const char* title, DWORD processId) {
  WindowQuery query{className, title, processId, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND WaitForTopLevelWindow(const char* className, const char* title, DWORD processId, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(timeoutMs, [&] { return (found = FindTopLevelWindow(className, title, processId)) != nullptr; });
  return found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil(timeoutMs, [&] { return !IsWindow(window); });
}

void StopAnyRuntime() {
  // A copy that asked "Exit Quillon?" and was never answered would hold on.
  while (HWND box = FindWindowA("#32770", "Quillon")) {
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    if (!WaitForWindowGone(box, 5000)) break;
  }
  for (int round = 0; round < 5; ++round) {
    HWND window = FindWindowA("Quillon", nullptr);
    if (window == nullptr) break;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    if (process != nullptr) {
      if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 9);
      CloseHandle(process);
    }
  }
  // Wine may list a window of an ended process for a moment; a copy started
  // before it is gone would take itself for the second one.
  WaitUntil(kGenerousTimeoutMs, [] { return FindWindowA("Quillon", nullptr) == nullptr; });
}

HWND StartRuntime(Child* runtime) {
  for (int attempt = 1; attempt <= 3; ++attempt) {
    *runtime = StartChild(RuntimePath(), "");
    if (runtime->process == nullptr) return nullptr;
    HWND window = nullptr;
    HWND box = nullptr;
    WaitUntil(kGenerousTimeoutMs, [&] {
      window = FindTopLevelWindow("Quillon", "Quillon", runtime->id);
      box = FindTopLevelWindow("#32770", "Quillon", runtime->id);
      return window != nullptr || box != nullptr || !IsRunning(*runtime);
    });
    // Only a copy that took a leftover window for a running one is started
    // again; one that ended or hung is the runtime's own fault and fails.
    if (window != nullptr || box == nullptr) return window;
    std::printf("attempt %d: the runtime asked \"Exit Quillon?\" as if another copy ran; starting again\n", attempt);
    StopAnyRuntime();
    WaitForExit(*runtime, kGenerousTimeoutMs, nullptr);
  }
  return nullptr;
}

std::string UseFreshStandInLog(const std::string& name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  std::string path = std::string(folder) + name + ".log";
  DeleteFileA(path.c_str());
  SetEnvironmentVariableA("QUILLON_STANDIN_LOG", path.c_str());
  return path;
}

std::vector<std::string> LoggedCommandLines(const std::string& logPath) {
  std::vector<std::string> commandLines;
  for (const std::string& line : LogLines(logPath)) commandLines.push_back(line.substr(line.find('\t') + 1));
  return commandLines;
}

std::vector<DWORD> LoggedTicks(const std::string& logPath) {
  std::vector<DWORD> ticks;
  for (const std::string& line : LogLines(logPath)) ticks.push_back(DWORD(std::stoul(line.substr(0, line.find('\t')))));
  return ticks;
}

bool WaitForLoggedLines(const std::string& logPath, size_t count, DWORD timeoutMs) {
  return WaitUntil(timeoutMs, [&] { return LogLines(logPath).size() >= count; });
}

std::string FileContents(const std::string& path) {
  std::string bytes;
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

}  // namespace quillon::test_kit

#include <windows.h>

#include <vector>

#include "configurator/seams/process_control.h"

namespace quillon {

TopWindowHandle FindTopWindowByClass(const std::string& className) { return FindWindowA(className.c_str(), nullptr); }

TopWindowHandle FindTopWindowByTitle(const std::string& title) { return FindWindowA(nullptr, title.c_str()); }

void SendWindowMessage(TopWindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  SendMessageA(static_cast<HWND>(window), message, WPARAM(wParam), LPARAM(lParam));
}

bool StartProcess(const std::string& commandLine, const std::string& windowTitle, int showState) {
  // CreateProcessA may write into both texts, so they get copies.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  std::vector<char> title(windowTitle.begin(), windowTitle.end());
  title.push_back('\0');
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  startup.lpTitle = title.data();
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = WORD(showState);
  PROCESS_INFORMATION process;
  ZeroMemory(&process, sizeof process);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

std::string OwnExecutablePath() {
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(path, length);
}

}  // namespace quillon

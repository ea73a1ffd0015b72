#include <windows.h>

#include <vector>

#include "configurator/seams/process_control.h"

namespace quillon {

TopWindowHandle FindTopWindowByClass(const std::string& className) { return FindWindowA(className.c_str(), nullptr); }

TopWindowHandle FindTopWindowByTitle(const std::string& title) { return FindWindowA(nullptr, title.c_str()); }

bool SendWindowMessage(TopWindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  // A plain SendMessage waits for ever on a window whose thread hangs.
  // SMTO_ABORTIFHUNG gives up at once on one the system already knows to be
  // hung; SMTO_BLOCK keeps other sent messages out meanwhile, so that
  // nothing runs in the middle of the command that sends.
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(static_cast<HWND>(window), message, WPARAM(wParam), LPARAM(lParam),
                             SMTO_BLOCK | SMTO_ABORTIFHUNG, kMessageAnswerTimeoutMs, &answer) != 0;
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

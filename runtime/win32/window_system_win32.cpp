#include <windows.h>

#include "runtime/seams/window_system.h"

namespace quillon {

namespace {

HWND AsWindow(WindowHandle window) { return static_cast<HWND>(window); }

// Reads through a buffer one longer than `maxChars`, so the system has room
// for the terminating zero.
template <typename Reader>
std::string ReadWindowText(WindowHandle window, size_t maxChars, Reader read) {
  if (maxChars == 0) return std::string();
  std::string buffer(maxChars + 1, '\0');
  int length = read(AsWindow(window), buffer.data(), static_cast<int>(buffer.size()));
  if (length <= 0) return std::string();
  buffer.resize(static_cast<size_t>(length) < maxChars ? static_cast<size_t>(length) : maxChars);
  return buffer;
}

}  // namespace

WindowHandle FirstTopLevelWindow() { return GetTopWindow(nullptr); }
WindowHandle FirstChildWindow(WindowHandle parent) { return GetWindow(AsWindow(parent), GW_CHILD); }
WindowHandle NextWindowInZOrder(WindowHandle window) { return GetWindow(AsWindow(window), GW_HWNDNEXT); }

std::string WindowTitleText(WindowHandle window, size_t maxChars) {
  return ReadWindowText(window, maxChars, [](HWND w, char* text, int size) { return GetWindowTextA(w, text, size); });
}

std::string WindowClassName(WindowHandle window, size_t maxChars) {
  return ReadWindowText(window, maxChars, [](HWND w, char* text, int size) { return GetClassNameA(w, text, size); });
}

bool WindowStillExists(WindowHandle window) { return IsWindow(AsWindow(window)) != FALSE; }

// Only top-level windows can be the foreground window; a path that ends at a
// child brings the program's window holding it to the front instead.
// SetForegroundWindow's result is not to be trusted: the foreground lock can
// turn the call into a flashing taskbar button and still report success, so
// the answer is read back. A refused call is tried again with this thread's
// input attached to the foreground thread's, which the lock lets through,
// since the two threads then share one input state.
bool BringWindowToForeground(WindowHandle window) {
  HWND topLevel = GetAncestor(AsWindow(window), GA_ROOT);
  if (topLevel == nullptr) topLevel = AsWindow(window);
  SetForegroundWindow(topLevel);
  if (GetForegroundWindow() == topLevel) return true;
  DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  DWORD ownThread = GetCurrentThreadId();
  bool attached = foregroundThread != 0 && foregroundThread != ownThread &&
                  AttachThreadInput(ownThread, foregroundThread, TRUE) != FALSE;
  SetForegroundWindow(topLevel);
  if (attached) AttachThreadInput(ownThread, foregroundThread, FALSE);
  return GetForegroundWindow() == topLevel;
}

// Without SMTO_BLOCK the runtime's thread still handles messages sent to it
// while it waits, the keyboard hook's calls among them.
bool SendWindowMessageWithin(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam,
                             uint32_t timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(AsWindow(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                             SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

}  // namespace quillon

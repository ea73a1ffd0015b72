#include "tests/kit/key_recorder_window.h"

#include <cstdio>

namespace quillon::key_recorder {

namespace {

constexpr char kClassName[] = "QuillonKeyRecorder";

HWND g_window = nullptr;
std::vector<RecordedMessage> g_messages;

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      g_messages.push_back(RecordedMessage{message, wParam, lParam});
      break;  // the default handling still runs, so Alt+F4 asks to close
    case WM_CLOSE: g_messages.push_back(RecordedMessage{message, wParam, lParam}); return 0;  // stays open
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterRecorderClass() {
  WNDCLASSA windowClass{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &windowClass)) return true;
  windowClass.lpfnWndProc = RecorderProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

HWND Create(const char* title) {
  if (g_window != nullptr || !RegisterRecorderClass()) return nullptr;
  g_window = CreateWindowExA(0, kClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  if (g_window == nullptr) return nullptr;
  ShowWindow(g_window, SW_SHOWNORMAL);
  UpdateWindow(g_window);
  Focus();
  PumpPending();
  g_messages.clear();
  return g_window;
}

void Destroy() {
  if (g_window != nullptr) DestroyWindow(g_window);
  g_window = nullptr;
  PumpPending();
  g_messages.clear();
}

HWND Window() { return g_window; }

bool Focus() {
  if (g_window == nullptr) return false;
  SetForegroundWindow(g_window);
  SetActiveWindow(g_window);
  SetFocus(g_window);
  PumpUntil([] { return GetFocus() == g_window && GetForegroundWindow() == g_window; }, 5000);
  return GetFocus() == g_window;
}

void PumpPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    PumpPending();
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

const std::vector<RecordedMessage>& Messages() { return g_messages; }
void Clear() { g_messages.clear(); }

std::string Describe() {
  std::string text;
  for (const RecordedMessage& recorded : g_messages) {
    char entry[24];
    const char* sys = "";
    switch (recorded.message) {
      case WM_SYSKEYDOWN:
      case WM_SYSKEYUP:
      case WM_SYSCHAR: sys = "s"; break;
      default: break;
    }
    switch (recorded.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: std::snprintf(entry, sizeof entry, "%s%02xd", sys, unsigned(recorded.wParam)); break;
      case WM_KEYUP:
      case WM_SYSKEYUP: std::snprintf(entry, sizeof entry, "%s%02xu", sys, unsigned(recorded.wParam)); break;
      case WM_CHAR:
      case WM_SYSCHAR:
        if (recorded.wParam >= 0x20 && recorded.wParam < 0x7F)
          std::snprintf(entry, sizeof entry, "%s'%c'", sys, char(recorded.wParam));
        else std::snprintf(entry, sizeof entry, "%s'\\x%02x'", sys, unsigned(recorded.wParam));
        break;
      default: std::snprintf(entry, sizeof entry, "close"); break;
    }
    if (!text.empty()) text += ' ';
    text += entry;
  }
  return text;
}

size_t Count() { return g_messages.size(); }

void InjectKey(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = WORD(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

void PressKey(WORD key) {
  InjectKey(key, false);
  InjectKey(key, true);
}

}  // namespace quillon::key_recorder

// The yardsticks of the benchmarks: the least a Win32 program can do in the
// place of the measured one, so that what Wine itself costs shows beside it.
//   (nothing)  opens one plain window and waits to be closed (the
//              configurator's start-up);
//   timer      a hidden window with a 62 ms timer whose ticks do nothing
//              (the runtime's idle polling);
//   hotkey     F5 as a hot key types "a" with one SendInput (the runtime's
//              key latency in hot-key mode);
//   hook       a low-level hook swallows an injected F5 and posts a message,
//              on which "a" is typed once the callback has returned (the
//              same in hook mode).
// Closed by WM_CLOSE to its window.
#include <windows.h>

#include <cstring>

namespace {

constexpr UINT kTypeRequest = WM_APP + 1;
HWND g_window = nullptr;

void TypeA() {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = 'A';
    input.ki.wScan = WORD(MapVirtualKeyA('A', MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  if (code == HC_ACTION && key->vkCode == VK_F5 && (key->flags & LLKHF_INJECTED) != 0 && key->dwExtraInfo == 0) {
    if (wParam == WM_KEYDOWN) PostMessageA(g_window, kTypeRequest, 0, 0);
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HOTKEY:
    case kTypeRequest: TypeA(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "QuillonTrivialWindow";
  RegisterClassA(&windowClass);
  g_window = CreateWindowA("QuillonTrivialWindow", "Trivial window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           400, 300, nullptr, nullptr, instance, nullptr);
  HHOOK hook = nullptr;
  if (std::strcmp(commandLine, "timer") == 0) SetTimer(g_window, 2, 62, nullptr);
  else if (std::strcmp(commandLine, "hotkey") == 0) RegisterHotKey(g_window, 100, 0, VK_F5);
  else if (std::strcmp(commandLine, "hook") == 0) hook = SetWindowsHookExA(WH_KEYBOARD_LL, HookProc, instance, 0);
  else ShowWindow(g_window, SW_SHOW);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (hook != nullptr) UnhookWindowsHookEx(hook);
  return 0;
}

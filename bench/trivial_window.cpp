// The yardsticks of the benchmarks: the least a Win32 program can do in the
// place of the measured one, so that what Wine itself costs shows beside it.
//   (nothing)  opens one plain window and waits to be closed (the
//              configurator's start-up);
//   timer      a hidden window with a 62 ms timer whose ticks do nothing
//              (the runtime's idle polling);
//   hotkey     F5 as a hot key types "a" with one SendInput (the runtime's
//              key latency in hot-key mode), and Ctrl+F6 types it between
//              letting go of the left Ctrl and putting it back, in the
//              same call;
//   hook       a low-level hook swallows an injected F5 or F6 and posts a
//              message, on which the same is typed once the callback has
//              returned (the same in hook mode);
//   hookthread the same with the hook on a thread of its own, as the
//              runtime has it.
// Closed by WM_CLOSE to its window.
#include <windows.h>

#include <cstring>

namespace {

constexpr UINT kTypeRequest = WM_APP + 1;
constexpr WPARAM kCtrlF6 = 101;  // hot key id, and the request's wParam
HWND g_window = nullptr;
HANDLE g_hookInstalled = nullptr;

INPUT Key(WORD virtualKey, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = WORD(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  input.ki.dwExtraInfo = 1;  // the hook passes its own keys on
  return input;
}

void TypeA(bool letGoOfCtrl) {
  INPUT inputs[4] = {Key(VK_LCONTROL, KEYEVENTF_KEYUP), Key('A', 0), Key('A', KEYEVENTF_KEYUP), Key(VK_LCONTROL, 0)};
  if (letGoOfCtrl) SendInput(4, inputs, sizeof(INPUT));
  else SendInput(2, inputs + 1, sizeof(INPUT));
}

LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  if (code == HC_ACTION && (key->vkCode == VK_F5 || key->vkCode == VK_F6) && key->dwExtraInfo == 0) {
    const bool ctrl = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    if (wParam == WM_KEYDOWN) PostMessageA(g_window, kTypeRequest, key->vkCode == VK_F6 && ctrl ? kCtrlF6 : 0, 0);
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI HookThread(LPVOID instance) {
  HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, HookProc, HINSTANCE(instance), 0);
  SetEvent(g_hookInstalled);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
  }
  if (hook != nullptr) UnhookWindowsHookEx(hook);
  return 0;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HOTKEY:
    case kTypeRequest: TypeA(wParam == kCtrlF6); return 0;
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
  else if (std::strcmp(commandLine, "hotkey") == 0) {
    RegisterHotKey(g_window, 100, 0, VK_F5);
    RegisterHotKey(g_window, kCtrlF6, MOD_CONTROL, VK_F6);
  } else if (std::strcmp(commandLine, "hook") == 0) {
    hook = SetWindowsHookExA(WH_KEYBOARD_LL, HookProc, instance, 0);
  } else if (std::strcmp(commandLine, "hookthread") == 0) {
    // Left to end with the process. The window answers the benchmark's
    // first message only once the hook is in.
    g_hookInstalled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(CreateThread(nullptr, 0, HookThread, instance, 0, nullptr));
    WaitForSingleObject(g_hookInstalled, 10000);
  } else {
    ShowWindow(g_window, SW_SHOW);
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (hook != nullptr) UnhookWindowsHookEx(hook);
  return 0;
}

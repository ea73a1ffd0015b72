// The yardstick of the key latency benchmark: the least a program can do in
// the runtime's place. F5 (a hot key, or with "hook" a low-level hook that
// swallows it and posts a message, acting once the callback has returned)
// types "a" with one SendInput. Closed by WM_CLOSE to its window.
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
    case kTypeRequest:
      TypeA();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "QuillonBareKeyEcho";
  RegisterClassA(&windowClass);
  g_window = CreateWindowA("QuillonBareKeyEcho", "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  HHOOK hook = nullptr;
  if (std::strstr(commandLine, "hook") != nullptr)
    hook = SetWindowsHookExA(WH_KEYBOARD_LL, HookProc, instance, 0);
  else
    RegisterHotKey(g_window, 100, 0, VK_F5);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  if (hook != nullptr) UnhookWindowsHookEx(hook);
  return 0;
}

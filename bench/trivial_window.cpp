// The yardstick of the configurator's start-up benchmark: a Win32 program
// that opens one plain window and waits to be closed, nothing else. With
// "timer" it is the yardstick of the runtime's idle polling instead: a
// hidden window with a 62 ms timer whose ticks do nothing.
#include <windows.h>

#include <cstring>

namespace {
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
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
  HWND window = CreateWindowA("QuillonTrivialWindow", "Trivial window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
  if (std::strstr(commandLine, "timer") != nullptr)
    SetTimer(window, 2, 62, nullptr);
  else
    ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

// Stands in for an emulator: opens one top-level window of the class and
// title given, brings it to the front and runs until that window is closed,
// as an emulator ends with its game.
//
//   game_window_stand_in.exe CLASS TITLE [TICK_FILE]
//
// With TICK_FILE, appends to it the GetTickCount value of the moment the
// window was brought to the front, one line per start.
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = GameWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = argv[1];
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, argv[1], argv[2], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 240, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return 1;
  SetForegroundWindow(window);
  if (argc > 3) {
    if (std::FILE* ticks = std::fopen(argv[3], "a")) {
      std::fprintf(ticks, "%lu\n", static_cast<unsigned long>(GetTickCount()));
      std::fclose(ticks);
    }
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

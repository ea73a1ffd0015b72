// Stands in for a desktop full of programs in system tests:
//
//   window_crowd.exe COUNT TITLE
//
// shows COUNT visible top-level windows titled "TITLE 0" to "TITLE COUNT-1",
// each in front of the one before, and keeps them until it is ended. Under
// Wine, hiding or destroying a visible window costs a test about 2 s, the
// same in each; a test that ends this process instead loses them all at once.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  int count = std::atoi(argv[1]);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuillonWindowCrowd";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);
  for (int i = 0; i < count; ++i) {
    char title[200];
    std::snprintf(title, sizeof title, "%s %d", argv[2], i);
    CreateWindowExA(0, "QuillonWindowCrowd", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120 + i, 120 + i, 260, 160,
                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

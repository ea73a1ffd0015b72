// quillon.exe: the resident runtime. A second copy remote-controls the first.
#include <windows.h>

#include <new>

#include "runtime/command_tail.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/win32/main_window.h"
#include "runtime/win32/resource_ids.h"
#include "shared/settings_tree.h"
#include "shared/win32/system_libraries.h"

namespace {

// Acts on the running copy as the command tail asks; returns this copy's
// exit status.
int RemoteControl(HWND running, const char* tail) {
  switch (quillon::RemoteRequestFor(tail)) {
    case quillon::RemoteRequest::Close:
      SendMessageA(running, WM_CLOSE, 0, 0);
      return 1;
    case quillon::RemoteRequest::Reload:
      SendMessageA(running, quillon::WM_RELOAD_SETTINGS, 0, 0);
      return 1;
    case quillon::RemoteRequest::AskToClose:
      break;
  }
  if (MessageBoxA(nullptr, "Exit Quillon?", "Quillon", MB_OKCANCEL) != IDOK) return 0;
  SendMessageA(running, WM_CLOSE, 0, 0);
  return 1;
}

int RunMessageLoop(HINSTANCE instance) {
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  MSG message = {};
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    if (message.hwnd != nullptr && TranslateAcceleratorA(message.hwnd, accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;  // -1: the loop itself failed
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything can load a library: this program's folder is one that
  // every user may add files to.
  quillon::LoadLibrariesFromSystemFolderOnly();
  // Working memory that cannot be had ends the runtime at once.
  std::set_new_handler([] { ExitProcess(1); });

  const char* tail = quillon::CommandTail(GetCommandLineA());
  if (HWND running = FindWindowA(quillon::kRuntimeWindowClass, nullptr)) return RemoteControl(running, tail);

  HWND window = quillon::CreateMainWindow(instance);
  if (window == nullptr) return 0;
  ShowWindow(window, SW_HIDE);
  quillon::LoadSettings();
  UpdateWindow(window);
  return RunMessageLoop(instance);
}

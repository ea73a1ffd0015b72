#include "tests/kit/hung_window.h"

namespace quillon::test_kit {

HungWindow::HungWindow(const char* title, DWORD hungForMs)
    : title_(title),
      hungForMs_(hungForMs),
      ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thaw_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, Run, this, 0, nullptr)) {
  WaitForSingleObject(ready_, 20000);
}

HungWindow::~HungWindow() {
  SetEvent(thaw_);
  WaitForSingleObject(thread_, 20000);
  CloseHandle(thread_);
  CloseHandle(ready_);
  CloseHandle(thaw_);
}

DWORD WINAPI HungWindow::Run(void* context) {
  auto* self = static_cast<HungWindow*>(context);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuillonHungWindow";
  RegisterClassA(&windowClass);  // fails harmlessly when already registered
  self->window_ = CreateWindowExA(0, "QuillonHungWindow", self->title_, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 300,
                                  200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  SetEvent(self->ready_);
  WaitForSingleObject(self->thaw_, self->hungForMs_);  // no message is handled meanwhile
  DestroyWindow(self->window_);
  return 0;
}

}  // namespace quillon::test_kit

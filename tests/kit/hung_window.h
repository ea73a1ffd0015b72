// A top-level window whose thread stops handling messages, as a hung
// program's does, until the object goes (or `hungForMs` has passed).
#pragma once

#include <windows.h>

namespace quillon::test_kit {

class HungWindow {
 public:
  HungWindow(const char* title, DWORD hungForMs);
  ~HungWindow();
  HungWindow(const HungWindow&) = delete;
  HungWindow& operator=(const HungWindow&) = delete;

  HWND Window() const { return window_; }

 private:
  static DWORD WINAPI Run(void* self);

  const char* title_;
  DWORD hungForMs_;
  HWND window_ = nullptr;
  HANDLE ready_;
  HANDLE thaw_;
  HANDLE thread_;
};

}  // namespace quillon::test_kit

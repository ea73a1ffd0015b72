#include <windows.h>

#include "runtime/seams/window_timers.h"
#include "runtime/win32/main_window_handle.h"

namespace quillon {

uintptr_t StartWindowTimer(unsigned id, uint32_t intervalMs) {
  return SetTimer(MainWindowHandle(), id, intervalMs, nullptr);
}

void StopWindowTimer(unsigned id) { KillTimer(MainWindowHandle(), id); }

}  // namespace quillon

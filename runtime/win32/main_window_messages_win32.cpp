#include <windows.h>

#include "runtime/seams/main_window_messages.h"
#include "runtime/win32/main_window_handle.h"
#include "shared/settings_tree.h"

namespace quillon {

void PostShowSwitcherRequest() { PostMessageA(MainWindowHandle(), WM_SHOW_SWITCHER, 0, 0); }

}  // namespace quillon

#include <windows.h>

#include "runtime/seams/main_window_messages.h"
#include "runtime/win32/main_window_handle.h"
#include "shared/runtime_messages.h"

namespace quillon {

void PostHookActionRequest() { PostMessageA(MainWindowHandle(), WM_RUN_HOOK_ACTION, 0, 0); }

void PostOwnKeysMarker() { PostMessageA(MainWindowHandle(), WM_OWN_KEYS_MARKER, 0, 0); }

}  // namespace quillon

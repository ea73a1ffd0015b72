// Running the action of a keyboard or controller entry.
#pragma once

#include "runtime/settings_store.h"

namespace quillon {

// Where the action was captured. The keyboard hook must not open the
// switcher's menu inside its callback, so it asks the main window to.
enum class CapturedBy { HotKeyOrController, KeyboardHook };

void RunAction(const KeyAction& entry, CapturedBy source = CapturedBy::HotKeyOrController);
void RunAction(const ButtonAction& entry);

// WM_HOTKEY: hot key id 99 + n runs keyboard entry n; other ids do nothing.
void RunHotKeyAction(uintptr_t hotKeyId);

}  // namespace quillon

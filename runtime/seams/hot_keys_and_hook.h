// System-wide key capture: registered hot keys, or a low-level keyboard hook.
#pragma once

#include <cstdint>

namespace quillon {

// Claims `virtualKey` with exactly `modifiers` (Modifier bits) for the main
// window; each press then delivers hot key `id`. False when refused (for
// example because another program holds the combination).
bool RegisterCaptureHotKey(int id, uint32_t modifiers, uint32_t virtualKey);
void UnregisterCaptureHotKey(int id);

// Installs / removes the low-level keyboard hook of the runtime's thread.
bool InstallKeyboardHook();
void RemoveKeyboardHook();

}  // namespace quillon

// Arming and releasing the capture of the keyboard actions' keys.
#pragma once

#include <cstdint>

namespace quillon {

// Hot key ids: keyboard action n is registered as id 99 + n.
inline constexpr int kFirstHotKeyId = 100;
inline int HotKeyIdOf(uint32_t actionNumber) { return 99 + int(actionNumber); }

// Arms keyboard action `number` (already loaded into g_settings): in hook mode
// it takes the key's keyIndex slot, otherwise its hot key is registered. An
// entry whose VirtualKey lies outside 1..255 is never armed.
void ArmKeyAction(uint32_t number);
// Installs the keyboard hook when hook mode is on and there is an entry.
void InstallCaptureHook();
// Removes the hook (hook mode with entries) or unregisters hot keys 100 to
// 99 + keyCount.
void ReleaseKeyboardCapture();

// The hook saw a key-down of `virtualKey` while `heldModifiers` (Modifier
// bits) were down. Runs the entry that captures exactly that combination and
// returns true when the key-down must be swallowed; key-ups never come here.
bool HandleHookKeyDown(uint32_t virtualKey, uint32_t heldModifiers);

}  // namespace quillon

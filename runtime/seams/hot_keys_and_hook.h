// System-wide key capture: registered hot keys, or a low-level keyboard hook.
#pragma once

#include <cstdint>

namespace quillon {

struct HookShare;

// What a hot key delivers while its key is held down and the keyboard
// auto-repeats: every repeat, or the first press only.
enum class HeldKeyRepeats { EveryRepeat, FirstPressOnly };

// Claims `virtualKey` with exactly `modifiers` (Modifier bits) for the main
// window; each press then delivers hot key `id`. False when refused (for
// example because another program holds the combination).
bool RegisterCaptureHotKey(int id, uint32_t modifiers, uint32_t virtualKey, HeldKeyRepeats repeats);
void UnregisterCaptureHotKey(int id);

// Installs / removes the low-level keyboard hook, which runs on a thread of
// its own and calls only HookWatchesKey, HandleHookKeyDown and
// HandleHookKeyUp (keyboard_capture.h) with `share`, until it is removed.
bool InstallKeyboardHook(HookShare& share);
void RemoveKeyboardHook();

// Types one key that means nothing (down and up, tagged as the runtime's).
// Sent when the hook swallows the key of an Alt or Windows-key combination,
// so the modifier's release does not open the menu bar or the Start menu.
void SendNeutralKeyPress();

// Guards what the hook's thread and the main thread share. Held only to
// copy, swap or push, never while anything runs or waits.
void LockHookShare();
void UnlockHookShare();

}  // namespace quillon

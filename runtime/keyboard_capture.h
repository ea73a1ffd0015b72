// Arming and releasing the capture of the keyboard actions' keys, and what
// capture does with a key: in hook mode the callback only decides and posts,
// and the action runs on the main thread once the callback has returned.
#pragma once

#include <cstdint>

namespace quillon {

struct HookShare;
struct Runtime;
struct RuntimeSettings;

// Hot key ids: keyboard action n is registered as id 99 + n.
inline constexpr int kFirstHotKeyId = 100;
inline int HotKeyIdOf(uint32_t actionNumber) { return kFirstHotKeyId - 1 + int(actionNumber); }
// The keyboard action that hot key `id` stands for; 0 when it names none of
// the loaded entries.
uint32_t ActionNumberOfHotKey(const RuntimeSettings& settings, uintptr_t id);

// Arms every loaded keyboard action: in hook mode the key index is built
// (shared/entry_rules.h says which entry takes a key) and published to the
// hook, otherwise each entry's hot key is registered. An entry whose
// VirtualKey lies outside 1..255 is never armed.
void ArmKeyCapture(Runtime& runtime);
// Installs the keyboard hook when hook mode is on and there is an entry.
// Called last in a load: until then a matched key would be swallowed and
// wait behind the load's slow steps (a program start, a controller scan).
void InstallCaptureHook(Runtime& runtime);
// Removes the hook (hook mode with entries) or unregisters hot keys 100 to
// 99 + keyCount.
void ReleaseKeyboardCapture(Runtime& runtime);
// Releases and arms again from the loaded settings: after sleep or a return
// to the session the system may have dropped the hook or a hot key without
// a word.
void RearmKeyboardCapture(Runtime& runtime);

// The hook's side. It runs on a thread of its own, so these read only the
// share that arming published, never the settings.
//
// Whether some entry is bound to `virtualKey`: the hook asks first and reads
// the held modifiers only for those keys, since it sits in front of every
// key the user types.
bool HookWatchesKey(HookShare& share, uint32_t virtualKey);
// The hook saw a key-down of `virtualKey` while `heldModifiers` (Modifier
// bits) were down; `extraInfo` is the event's extra information. Returns true
// when the key-down must be swallowed: it matched an entry, whose number is
// then queued for the main window and a request posted (unless the queue is
// full, or the key is auto-repeating while its action still waits). The
// runtime's own injected keys never match.
bool HandleHookKeyDown(HookShare& share, uint32_t virtualKey, uint32_t heldModifiers, uintptr_t extraInfo);
// The hook saw `virtualKey` go up: its next key-down is a new press.
// Returns true when the key-up must be swallowed: its key-down began a
// press that lasts (a hold or repeat entry), whose end is then queued for
// the main window like a key-down.
bool HandleHookKeyUp(HookShare& share, uint32_t virtualKey);
// The hook saw modifier key `modifierKey` (a ModifierKey bit) go down or up;
// the runtime's own injected keys are not the user's and change nothing.
void HandleHookModifierKey(HookShare& share, uint32_t modifierKey, bool down, uintptr_t extraInfo);

// The main window's turn for the oldest key the hook queued. A key queued
// under settings that have since been unloaded runs nothing; a release ends
// its key's press whatever the settings.
void RunPostedHookAction(Runtime& runtime);

// WM_HOTKEY: hot key id 99 + n runs keyboard entry n; other ids do nothing,
// and neither do hot keys that the runtime's own keys set off.
void RunHotKeyAction(Runtime& runtime, uintptr_t hotKeyId);

}  // namespace quillon

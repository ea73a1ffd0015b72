#include <windows.h>

#include "shared/key_event.h"
#include "runtime/hook_threads.h"
#include "runtime/keyboard_capture.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/hot_keys_and_hook.h"
#include "runtime/seams/input_injection.h"
#include "runtime/win32/main_window_handle.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {

// The current hook's thread and what its callback decides with. The system
// calls the callback with no context of its own, so the share (which lives
// for the whole run) is kept here. Each thread's hook and generation are its
// own (hook_threads.h): an older thread may still be running beside this one.
struct HookThread {
  HANDLE thread = nullptr;
  DWORD threadId = 0;
  HookShare* share = nullptr;
};
HookThread g_hook;
HookThreads g_threads;
// The generation of the hook thread that this code runs on; the callback runs
// on the thread that installed its hook.
thread_local uint32_t t_generation = 0;

// What the installer hands its thread, valid until the thread sets `started`.
struct HookStart {
  HANDLE started = nullptr;
  uint32_t generation = 0;
  bool installed = false;
};
// The thread ends its loop a moment after being asked; a wait beyond this
// means it is stuck in the system, and the runtime goes on without it.
constexpr DWORD kHookThreadEndWaitMs = 3000;

bool IsDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// The modifiers held while the hooked key went down. The hook's thread never
// has the keyboard focus, so its synchronous key state can lag behind; the
// asynchronous state is what the user holds.
// Alt also counts when the event says so, and either Windows key counts.
uint32_t HeldModifiers(const KBDLLHOOKSTRUCT& event) {
  uint32_t modifiers = 0;
  if ((event.flags & LLKHF_ALTDOWN) != 0 || IsDown(VK_MENU)) modifiers |= ModifierAlt;
  if (IsDown(VK_CONTROL)) modifiers |= ModifierCtrl;
  if (IsDown(VK_SHIFT)) modifiers |= ModifierShift;
  if (IsDown(VK_LWIN) || IsDown(VK_RWIN)) modifiers |= ModifierWin;
  return modifiers;
}

// Which modifier key the event is (a ModifierKey bit; 0 for none). Windows
// gives the hook the sided codes; Wine gives the generic ones for keys
// injected with them, so the side is read from the extended flag (Ctrl and
// Alt) and the scan code (Shift) as the system reads it.
uint32_t ModifierKeyOf(const KBDLLHOOKSTRUCT& event) {
  const bool extended = (event.flags & LLKHF_EXTENDED) != 0;
  switch (event.vkCode) {
    case VK_LSHIFT: return kLeftShiftKey;
    case VK_RSHIFT: return kRightShiftKey;
    case VK_SHIFT: return event.scanCode == 0x36 ? kRightShiftKey : kLeftShiftKey;
    case VK_LCONTROL: return kLeftCtrlKey;
    case VK_RCONTROL: return kRightCtrlKey;
    case VK_CONTROL: return extended ? kRightCtrlKey : kLeftCtrlKey;
    case VK_LMENU: return kLeftAltKey;
    case VK_RMENU: return kRightAltKey;
    case VK_MENU: return extended ? kRightAltKey : kLeftAltKey;
    case VK_LWIN: return kLeftWinKey;
    case VK_RWIN: return kRightWinKey;
    default: return 0;
  }
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM lParam) {
  if (code == HC_ACTION && HookCaptures(g_threads, t_generation)) {
    const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (uint32_t modifier = ModifierKeyOf(event))
      HandleHookModifierKey(*g_hook.share, modifier, (event.flags & LLKHF_UP) == 0, event.dwExtraInfo);
    // Keys pressed while Alt is held (and F10) arrive as system key-downs;
    // Alt combinations must be capturable too.
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
      if (HookWatchesKey(*g_hook.share, event.vkCode) &&
          HandleHookKeyDown(*g_hook.share, event.vkCode, HeldModifiers(event), event.dwExtraInfo))
        return 1;
    } else if (message == WM_KEYUP || message == WM_SYSKEYUP) {
      if (HandleHookKeyUp(*g_hook.share, event.vkCode)) return 1;
    }
  }
  // The hook handle is ignored here since Windows NT.
  return CallNextHookEx(nullptr, code, message, lParam);
}

// The hook's own thread. The system calls a low-level hook on the thread that
// installed it, from inside that thread's message wait, and removes a hook
// without notice once a call overruns LowLevelHooksTimeout (300 ms by
// default, at most 1 s; Wine passes the key on after 2 s). On the main
// thread every key would wait behind whatever that thread does: a program
// start, the switcher gathering icons, a message box's loop, a click on a
// hung window. This thread does nothing but wait and decide, so the callback
// answers in microseconds whatever the main thread is doing.
DWORD WINAPI HookThreadMain(LPVOID parameter) {
  auto* start = static_cast<HookStart*>(parameter);
  const uint32_t generation = start->generation;
  t_generation = generation;
  MSG message;
  // Creates this thread's message queue before the installer learns the
  // thread's id, so the quit request that ends it cannot be lost.
  PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, GetModuleHandleA(nullptr), 0);
  RecordThreadHook(g_threads, generation, reinterpret_cast<uintptr_t>(hook));
  start->installed = hook != nullptr;
  SetEvent(start->started);  // `start` is gone from here on
  if (hook == nullptr) return 1;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
  }
  // This thread's own hook, even when it ends long after its stop and a
  // newer thread's hook is the one capturing.
  if (uintptr_t own = EndHookThread(g_threads, generation)) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(own));
  return 0;
}

}  // namespace

bool RegisterCaptureHotKey(int id, uint32_t modifiers, uint32_t virtualKey, HeldKeyRepeats repeats) {
  // MOD_NOREPEAT (Windows 7 and later; older MinGW headers lack the name)
  // makes the system deliver a held combination once, not at the keyboard's
  // repeat rate.
  constexpr UINT kNoRepeat = 0x4000;
  UINT flags = modifiers;
  if (repeats == HeldKeyRepeats::FirstPressOnly) flags |= kNoRepeat;
  return RegisterHotKey(MainWindowHandle(), id, flags, virtualKey) != FALSE;
}

void UnregisterCaptureHotKey(int id) { UnregisterHotKey(MainWindowHandle(), id); }

bool InstallKeyboardHook(HookShare& share) {
  if (g_hook.thread != nullptr) return true;
  HookStart start;
  start.started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (start.started == nullptr) return false;
  g_hook.share = &share;
  start.generation = BeginHookThread(g_threads);
  g_hook.thread = CreateThread(nullptr, 0, HookThreadMain, &start, 0, &g_hook.threadId);
  if (g_hook.thread != nullptr) {
    // Above the programs the user runs, so a busy machine does not delay
    // every key by a time slice.
    SetThreadPriority(g_hook.thread, THREAD_PRIORITY_HIGHEST);
    WaitForSingleObject(start.started, INFINITE);
    if (!start.installed) RemoveKeyboardHook();  // the thread has ended already
  } else {
    StopCapturingHook(g_threads);
  }
  CloseHandle(start.started);
  return start.installed;
}

// 0xE8 is a virtual key that no keyboard has and no program acts on.
// A slim reader/writer lock needs no set-up and no clean-up, and costs one
// interlocked operation when nobody else holds it.
SRWLOCK g_hookShare = SRWLOCK_INIT;

void LockHookShare() { AcquireSRWLockExclusive(&g_hookShare); }
void UnlockHookShare() { ReleaseSRWLockExclusive(&g_hookShare); }

void SendNeutralKeyPress() {
  constexpr WORD kNeutralKey = 0xE8;
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = kNeutralKey;
    input.ki.dwExtraInfo = kInjectedEventTag;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void RemoveKeyboardHook() {
  if (g_hook.thread == nullptr) return;
  // From here its hook passes keys on, even if the thread misses the wait.
  StopCapturingHook(g_threads);
  PostThreadMessageA(g_hook.threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(g_hook.thread, kHookThreadEndWaitMs);
  CloseHandle(g_hook.thread);
  g_hook.thread = nullptr;
  g_hook.threadId = 0;
}

}  // namespace quillon

#include <windows.h>

#include "runtime/seams/foreground_events.h"
#include "runtime/win32/main_window_handle.h"
#include "shared/runtime_messages.h"

namespace quillon {

namespace {

// The window-event hooks, all of them out of context: the system queues each
// event to the thread that set the hook (the main thread) and calls back
// while that thread fetches its messages, so nothing is loaded into other
// programs and nothing runs between events. An idle desktop sends none.
struct EventHooks {
  HWINEVENTHOOK front = nullptr;
  HWINEVENTHOOK created = nullptr;  // Wine only, see StartForegroundEvents
  HWINEVENTHOOK closing = nullptr;
  HWND watched = nullptr;
  // The watched window's process, and the wait for its end.
  HANDLE process = nullptr;
  HANDLE processWait = nullptr;
};
EventHooks g_hooks;

void PostWatchedWindowClosed(HWND window) {
  PostMessageA(MainWindowHandle(), WM_WATCHED_WINDOW_CLOSED, reinterpret_cast<WPARAM>(window), 0);
}

// The callback only posts: it may run inside any message loop of the main
// thread (a box's among them), and the window procedure is where the
// runtime's state is taken in hand.
void CALLBACK OnWindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (window == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) return;
  if (event == EVENT_SYSTEM_FOREGROUND) {
    PostMessageA(MainWindowHandle(), WM_WINDOW_IN_FRONT, reinterpret_cast<WPARAM>(window), 0);
  } else if (event == EVENT_OBJECT_CREATE) {
    if (GetAncestor(window, GA_PARENT) == GetDesktopWindow())
      PostMessageA(MainWindowHandle(), WM_WINDOW_IN_FRONT, reinterpret_cast<WPARAM>(window), 0);
  } else if (event == EVENT_OBJECT_DESTROY && window == g_hooks.watched) {
    PostWatchedWindowClosed(window);
  }
}

// The watched window's program ended: its windows went with it, and no
// destruction of theirs may have been reported (a program that is killed,
// and Wine, which reports none).
void CALLBACK OnProcessEnded(void* window, BOOLEAN) { PostWatchedWindowClosed(static_cast<HWND>(window)); }

void StopWatchingClosing() {
  if (g_hooks.closing != nullptr) UnhookWinEvent(g_hooks.closing);
  // Waits for a callback under way, which only posts.
  if (g_hooks.processWait != nullptr) UnregisterWaitEx(g_hooks.processWait, INVALID_HANDLE_VALUE);
  if (g_hooks.process != nullptr) CloseHandle(g_hooks.process);
  g_hooks.closing = nullptr;
  g_hooks.processWait = nullptr;
  g_hooks.process = nullptr;
  g_hooks.watched = nullptr;
}

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

// The runtime's own windows (its boxes, the switcher, the map's name) never
// choose a map, so its own process is left out. Wine (8.0) reports neither
// EVENT_SYSTEM_FOREGROUND nor EVENT_OBJECT_DESTROY, only the creation of
// windows: there a new top-level window stands for a window coming to the
// front, which the settle time then checks against the window in front.
bool StartForegroundEvents() {
  const DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  if (g_hooks.front == nullptr)
    g_hooks.front =
        SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnWindowEvent, 0, 0, flags);
  if (g_hooks.front != nullptr && g_hooks.created == nullptr && RunningUnderWine())
    g_hooks.created = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnWindowEvent, 0, 0, flags);
  return g_hooks.front != nullptr;
}

void StopForegroundEvents() {
  StopWatchingClosing();
  if (g_hooks.front != nullptr) UnhookWinEvent(g_hooks.front);
  if (g_hooks.created != nullptr) UnhookWinEvent(g_hooks.created);
  g_hooks.front = nullptr;
  g_hooks.created = nullptr;
}

// Every object of the desktop that goes away (each window, menu and caret)
// sends EVENT_OBJECT_DESTROY, so the hook is narrowed to the watched
// window's process: the runtime wakes for that program's objects only, and
// only while its window holds the map. The end of that process is waited
// for as well, on a thread of the system's pool that only posts.
void WatchWindowClosing(WindowHandle window) {
  StopWatchingClosing();
  HWND watched = static_cast<HWND>(window);
  DWORD processId = 0;
  if (watched == nullptr || GetWindowThreadProcessId(watched, &processId) == 0 || processId == 0) return;
  g_hooks.watched = watched;
  g_hooks.closing = SetWinEventHook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_DESTROY, nullptr, OnWindowEvent, processId, 0,
                                    WINEVENT_OUTOFCONTEXT);
  g_hooks.process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (g_hooks.process != nullptr && !RegisterWaitForSingleObject(&g_hooks.processWait, g_hooks.process, OnProcessEnded,
                                                                 watched, INFINITE, WT_EXECUTEONLYONCE))
    g_hooks.processWait = nullptr;
}

WindowHandle WindowInFront() { return GetForegroundWindow(); }

}  // namespace quillon

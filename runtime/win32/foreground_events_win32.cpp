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
  HWINEVENTHOOK closing = nullptr;
  HWND watched = nullptr;
};
EventHooks g_hooks;

// The callback only posts: it may run inside any message loop of the main
// thread (a box's among them), and the window procedure is where the
// runtime's state is taken in hand.
void CALLBACK OnWindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (window == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) return;
  if (event == EVENT_SYSTEM_FOREGROUND)
    PostMessageA(MainWindowHandle(), WM_WINDOW_IN_FRONT, reinterpret_cast<WPARAM>(window), 0);
  else if (event == EVENT_OBJECT_DESTROY && window == g_hooks.watched)
    PostMessageA(MainWindowHandle(), WM_WATCHED_WINDOW_CLOSED, reinterpret_cast<WPARAM>(window), 0);
}

void UnhookClosing() {
  if (g_hooks.closing != nullptr) UnhookWinEvent(g_hooks.closing);
  g_hooks.closing = nullptr;
  g_hooks.watched = nullptr;
}

}  // namespace

// The runtime's own windows (its boxes, the switcher, the map's name) never
// choose a map, so its own process is left out.
bool StartForegroundEvents() {
  if (g_hooks.front == nullptr)
    g_hooks.front = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnWindowEvent, 0, 0,
                                    WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  return g_hooks.front != nullptr;
}

void StopForegroundEvents() {
  UnhookClosing();
  if (g_hooks.front != nullptr) UnhookWinEvent(g_hooks.front);
  g_hooks.front = nullptr;
}

// Every object of the desktop that goes away (each window, menu and caret)
// sends EVENT_OBJECT_DESTROY, so the hook is narrowed to the watched
// window's process: the runtime wakes for that program's objects only, and
// only while its window holds the map.
void WatchWindowClosing(WindowHandle window) {
  UnhookClosing();
  HWND watched = static_cast<HWND>(window);
  DWORD process = 0;
  if (watched == nullptr || GetWindowThreadProcessId(watched, &process) == 0 || process == 0) return;
  g_hooks.closing = SetWinEventHook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_DESTROY, nullptr, OnWindowEvent, process, 0,
                                    WINEVENT_OUTOFCONTEXT);
  if (g_hooks.closing != nullptr) g_hooks.watched = watched;
}

WindowHandle WindowInFront() { return GetForegroundWindow(); }

}  // namespace quillon

#include "runtime/win32/main_window.h"

#include <dbt.h>
#include <wtsapi32.h>

#include "runtime/controller_poll.h"
#include "runtime/game_window.h"
#include "runtime/held_actions.h"
#include "runtime/keyboard_capture.h"
#include "runtime/map_choice.h"
#include "runtime/map_switching.h"
#include "runtime/own_keys.h"
#include "runtime/modal_boxes.h"
#include "runtime/seams/window_timers.h"
#include "runtime/session_events.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/user_notices.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/app_switcher.h"
#include "runtime/win32/main_window_handle.h"
#include "runtime/win32/notification_icon_win32.h"
#include "runtime/win32/resource_ids.h"
#include "shared/runtime_messages.h"
#include "shared/text_helpers.h"
#include "shared/win32/system_libraries.h"
#include "shared/settings_tree.h"

namespace quillon {

// shared/runtime_messages.h is written without <windows.h>; its numbers must
// start where the system leaves them to programs.
static_assert(kWmApp == WM_APP, "kWmApp must be WM_APP");

namespace {

// The window's own Win32 state; the runtime's lives in the Runtime that the
// window was created with, kept in its user data.
struct WindowState {
  HINSTANCE instance = nullptr;
  // A second request while the about box is open brings that box to the
  // front instead of opening another inside its message loop.
  HWND aboutBox = nullptr;
};
WindowState g_window;

Runtime& RuntimeOf(HWND window) { return *reinterpret_cast<Runtime*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void PaintWindow(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  char text[100];
  int length = LoadStringA(g_window.instance, IDS_PAINT_TEXT, text, sizeof text);
  RECT client;
  GetClientRect(window, &client);
  DrawTextA(dc, text, length, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  EndPaint(window, &paint);
}

// Centres the box in its parent's client rectangle; never at negative
// coordinates.
void CentreOnParent(HWND box) {
  RECT parent;
  RECT self;
  GetClientRect(GetParent(box), &parent);
  GetWindowRect(box, &self);
  int x = ((parent.right - parent.left) - (self.right - self.left)) / 2;
  int y = ((parent.bottom - parent.top) - (self.bottom - self.top)) / 2;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      g_window.aboutBox = box;
      CentreOnParent(box);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

// WM_DEVICECHANGE. Every top-level window gets DBT_DEVNODES_CHANGED when a
// device comes or goes, without registering for anything; the arrival and
// removal codes come too once someone registered for them.
LRESULT OnDeviceChange(Runtime& runtime, WPARAM event) {
  if (event == DBT_DEVNODES_CHANGED || event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE)
    HandleSessionEvent(runtime, SessionEvent::DevicesChanged);
  return TRUE;
}

// WM_POWERBROADCAST. After sleep the automatic resume always comes; the
// suspend resume follows only when a user woke the machine, so either one
// re-arms (twice does no harm). PBT_APMSUSPEND comes with about two seconds
// left before the machine sleeps: enough to let go of what is held.
LRESULT OnPowerBroadcast(Runtime& runtime, WPARAM event) {
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND)
    HandleSessionEvent(runtime, SessionEvent::Resumed);
  else if (event == PBT_APMSUSPEND) HandleSessionEvent(runtime, SessionEvent::Suspending);
  return TRUE;
}

// WM_WTSSESSION_CHANGE, sent once the window asked for it
// (WatchSessionChanges).
LRESULT OnSessionChange(Runtime& runtime, WPARAM event) {
  switch (event) {
    case WTS_SESSION_LOCK:
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT: HandleSessionEvent(runtime, SessionEvent::Left); break;
    case WTS_SESSION_UNLOCK:
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT: HandleSessionEvent(runtime, SessionEvent::Returned); break;
    default: break;
  }
  return 0;
}

using SessionNotificationFunction = BOOL(WINAPI*)(HWND, DWORD);
using EndSessionNotificationFunction = BOOL(WINAPI*)(HWND);

// wtsapi32.dll is not one of the libraries Windows always takes from the
// system folder, so it is loaded from there by full path rather than
// imported. Without it the runtime simply hears of no lock or unlock.
HMODULE SessionLibrary() {
  static HMODULE library = LoadSystemLibrary(L"wtsapi32.dll");
  return library;
}

void WatchSessionChanges(HWND window) {
  auto watch = LibraryFunction<SessionNotificationFunction>(SessionLibrary(), "WTSRegisterSessionNotification");
  if (watch != nullptr) watch(window, NOTIFY_FOR_THIS_SESSION);
}

void StopWatchingSessionChanges(HWND window) {
  auto stop = LibraryFunction<EndSessionNotificationFunction>(SessionLibrary(), "WTSUnRegisterSessionNotification");
  if (stop != nullptr) stop(window);
}

// Log-off or shut-down: the process may be ended without a WM_DESTROY once
// this returns, so whatever the runtime holds is let go now. A session that
// goes on after all (wParam FALSE) keeps the runtime as it was.
void EndSession(Runtime& runtime, WPARAM sessionEnds) {
  if (sessionEnds) EndRuntime(runtime);
}

void ShowAboutBox(Runtime& runtime, HWND window) {
  if (g_window.aboutBox != nullptr) {
    SetForegroundWindow(g_window.aboutBox);
    return;
  }
  if (BoxOpen(runtime.boxes)) return;
  WithBoxOpen(runtime.boxes, [window] {
    DialogBoxParamA(g_window.instance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutBoxProc, 0);
    g_window.aboutBox = nullptr;
  });
  RunWaitingReload(runtime);
}

// A second copy hands on a front end's command. It is answered at once
// (whether "M" names a map) and carried out from the queue after the reply.
// Any program of the desktop can send this message, so the data is taken
// for what it claims only within its stated length.
LRESULT OnCopyData(Runtime& runtime, HWND window, const COPYDATASTRUCT* data) {
  if (data == nullptr || (data->dwData & ~ULONG_PTR(0xFF)) != kFrontEndCommandData ||
      data->cbData > kLongestFrontEndArgument || (data->cbData > 0 && data->lpData == nullptr))
    return 0;
  const char letter[2] = {char(data->dwData & 0xFF), '\0'};
  RemoteCommand command;
  command.request = RemoteRequestFor(letter);
  if (!IsFrontEndRequest(command.request)) return 0;
  if (data->cbData > 0)
    command.argument = UpToFirstZero(std::string(static_cast<const char*>(data->lpData), data->cbData));
  if (!MapForCommand(runtime.settings, command)) return kNoSuchMapStatus;
  runtime.map.waitingCommand = std::move(command);
  PostMessageA(window, WM_RUN_FRONT_END_COMMAND, 0, 0);
  return kRequestHandedOnStatus;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  // The few messages before WM_NCCREATE find no runtime yet.
  if (GetWindowLongPtrA(window, GWLP_USERDATA) == 0) return DefWindowProcA(window, message, wParam, lParam);
  Runtime& runtime = RuntimeOf(window);
  switch (message) {
    case WM_CREATE: return 0;
    case WM_PAINT: PaintWindow(window); return 0;
    case WM_CLOSE: StopTimersAndController(runtime); return DefWindowProcA(window, message, wParam, lParam);
    case WM_ENDSESSION: EndSession(runtime, wParam); return 0;
    case WM_DESTROY:
      StopWatchingSessionChanges(window);
      EndRuntime(runtime);
      PostQuitMessage(0);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDM_EXIT: DestroyWindow(window); return 0;
        case IDM_ABOUT: ShowAboutBox(runtime, window); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
      }
    case WM_DEVICECHANGE: return OnDeviceChange(runtime, wParam);
    case WM_POWERBROADCAST: return OnPowerBroadcast(runtime, wParam);
    case WM_WTSSESSION_CHANGE: return OnSessionChange(runtime, wParam);
    case WM_HOTKEY: RunHotKeyAction(runtime, wParam); return 0;
    case WM_COPYDATA: return OnCopyData(runtime, window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_TIMER:
      if (wParam == ChangeTimerId) CompleteMapChange(runtime);
      else if (wParam == PollTimerId) PollController(runtime);
      else if (wParam == IconTimerId) RetryNotificationIcon(runtime);
      else if (wParam == SettleTimerId) WindowSettled(runtime);
      else (void)RepeatPressTimer(runtime, unsigned(wParam));
      RunWaitingReload(runtime);  // the hand-over may have shown a box
      return 0;
    default: break;
  }
  if (message == WM_RELOAD_SETTINGS) {
    ReloadSettings(runtime);
    return 0;
  }
  if (message == WM_RUN_HOOK_ACTION) {
    RunPostedHookAction(runtime);
    return 0;
  }
  if (message == WM_OWN_KEYS_MARKER) {
    OwnKeysMarkerArrived(runtime.ownKeys);
    return 0;
  }
  if (message == WM_RUN_FRONT_END_COMMAND) {
    RunWaitingFrontEndCommand(runtime);
    RunWaitingReload(runtime);  // the hand-over may have shown a box
    return 0;
  }
  if (message == WM_WINDOW_IN_FRONT) {
    WindowCameToFront(runtime, reinterpret_cast<WindowHandle>(wParam));
    return 0;
  }
  if (message == WM_WATCHED_WINDOW_CLOSED) {
    WatchedWindowClosed(runtime, reinterpret_cast<WindowHandle>(wParam));
    RunWaitingReload(runtime);  // the hand-over may have shown a box
    return 0;
  }
  if (message == WM_SHOW_SWITCHER) {
    ShowAppSwitcher();
    return 0;
  }
  if (IsNotificationIconMessage(message)) return OnNotificationIconMessage(window, message, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, Runtime& runtime) {
  g_window.instance = instance;
  char className[100];
  char title[100];
  LoadStringA(instance, IDS_WINDOW_CLASS, className, sizeof className);
  LoadStringA(instance, IDS_WINDOW_TITLE, title, sizeof title);

  WNDCLASSA windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUILLON));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);

  HWND window = CreateWindowExA(0, className, title, WS_MINIMIZE, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr,
                                nullptr, instance, &runtime);
  SetMainWindowHandle(window);
  if (window != nullptr) WatchSessionChanges(window);
  return window;
}

}  // namespace quillon

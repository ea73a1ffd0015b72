#include "runtime/win32/main_window.h"

#include <dbt.h>
#include <wtsapi32.h>

#include "runtime/controller_poll.h"
#include "runtime/keyboard_capture.h"
#include "runtime/map_switching.h"
#include "runtime/own_keys.h"
#include "runtime/modal_boxes.h"
#include "runtime/seams/window_timers.h"
#include "runtime/session_events.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
#include "runtime/seams/app_switcher.h"
#include "runtime/win32/main_window_handle.h"
#include "runtime/win32/notification_icon_win32.h"
#include "runtime/win32/resource_ids.h"
#include "shared/win32/system_libraries.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {

HINSTANCE g_instance = nullptr;

void PaintWindow(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  char text[100];
  int length = LoadStringA(g_instance, IDS_PAINT_TEXT, text, sizeof text);
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

// A second request while the box is open brings that box to the front
// instead of opening another inside its message loop.
HWND g_aboutBox = nullptr;

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      g_aboutBox = box;
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
LRESULT OnDeviceChange(WPARAM event) {
  if (event == DBT_DEVNODES_CHANGED || event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE)
    HandleSessionEvent(SessionEvent::DevicesChanged);
  return TRUE;
}

// WM_POWERBROADCAST. After sleep the automatic resume always comes; the
// suspend resume follows only when a user woke the machine, so either one
// re-arms (twice does no harm).
LRESULT OnPowerBroadcast(WPARAM event) {
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) HandleSessionEvent(SessionEvent::Resumed);
  return TRUE;
}

// WM_WTSSESSION_CHANGE, sent once the window asked for it
// (WatchSessionChanges).
LRESULT OnSessionChange(WPARAM event) {
  switch (event) {
    case WTS_SESSION_LOCK:
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT: HandleSessionEvent(SessionEvent::Left); break;
    case WTS_SESSION_UNLOCK:
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT: HandleSessionEvent(SessionEvent::Returned); break;
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
void EndSession(WPARAM sessionEnds) {
  if (sessionEnds) EndRuntime();
}

void ShowAboutBox(HWND window) {
  if (g_aboutBox != nullptr) {
    SetForegroundWindow(g_aboutBox);
    return;
  }
  if (BoxOpen()) return;
  WithBoxOpen([window] {
    DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutBoxProc, 0);
    g_aboutBox = nullptr;
  });
  RunWaitingReload();
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return 0;
    case WM_PAINT: PaintWindow(window); return 0;
    case WM_CLOSE: StopTimersAndController(); return DefWindowProcA(window, message, wParam, lParam);
    case WM_ENDSESSION: EndSession(wParam); return 0;
    case WM_DESTROY:
      StopWatchingSessionChanges(window);
      EndRuntime();
      PostQuitMessage(0);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDM_EXIT: DestroyWindow(window); return 0;
        case IDM_ABOUT: ShowAboutBox(window); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
      }
    case WM_DEVICECHANGE: return OnDeviceChange(wParam);
    case WM_POWERBROADCAST: return OnPowerBroadcast(wParam);
    case WM_WTSSESSION_CHANGE: return OnSessionChange(wParam);
    case WM_HOTKEY: RunHotKeyAction(wParam); return 0;
    case WM_TIMER:
      if (wParam == ChangeTimerId) CompleteMapChange();
      else if (wParam == PollTimerId) PollController();
      RunWaitingReload();  // the hand-over may have shown a box
      return 0;
    default: break;
  }
  if (message == WM_RELOAD_SETTINGS) {
    ReloadSettings();
    return 0;
  }
  if (message == WM_RUN_HOOK_ACTION) {
    RunPostedHookAction();
    return 0;
  }
  if (message == WM_OWN_KEYS_MARKER) {
    OwnKeysMarkerArrived();
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

HWND CreateMainWindow(HINSTANCE instance) {
  g_instance = instance;
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
                                nullptr, instance, nullptr);
  SetMainWindowHandle(window);
  if (window != nullptr) WatchSessionChanges(window);
  return window;
}

}  // namespace quillon

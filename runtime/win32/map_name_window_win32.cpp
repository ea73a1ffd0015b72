#include "runtime/win32/map_name_window_win32.h"

#include <windows.h>

#include "runtime/seams/map_name_display.h"
#include "runtime/user_notices.h"

namespace quillon {

namespace {

constexpr UINT_PTR kFadeTimerId = 1;
constexpr UINT kFadeStepMs = 40;
constexpr COLORREF kBackground = RGB(24, 24, 24);
constexpr COLORREF kTextColour = RGB(255, 255, 255);
// A lighter edge keeps the box apart from a dark game or desktop.
constexpr COLORREF kEdge = RGB(128, 128, 128);
// Shown over everything, yet never activated (not even by a click, which
// the transparent style lets through to the window below), and kept out of
// the task bar and Alt+Tab by being a tool window.
constexpr DWORD kExtendedStyle =
    WS_EX_NOACTIVATE | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

struct NameWindow {
  HWND window = nullptr;
  HFONT font = nullptr;
  int fontHeight = 0;
  DWORD shownAt = 0;
};
NameWindow g_name;

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH background = CreateSolidBrush(kBackground);
  FillRect(dc, &client, background);
  DeleteObject(background);
  HBRUSH edge = CreateSolidBrush(kEdge);
  FrameRect(dc, &client, edge);
  DeleteObject(edge);
  char text[1024];
  int length = GetWindowTextA(window, text, sizeof text);
  HGDIOBJ oldFont = SelectObject(dc, g_name.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTextColour);
  DrawTextA(dc, text, length, &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

void Fade(HWND window) {
  uint8_t opacity = MapNameOpacityAfter(GetTickCount() - g_name.shownAt);
  if (opacity == 0) {
    // Hidden, the window costs nothing: no timer runs while nothing shows.
    KillTimer(window, kFadeTimerId);
    ShowWindow(window, SW_HIDE);
    return;
  }
  SetLayeredWindowAttributes(window, 0, opacity, LWA_ALPHA);
  SetTimer(window, kFadeTimerId, kFadeStepMs, nullptr);
}

LRESULT CALLBACK NameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_TIMER:
      if (wParam == kFadeTimerId) Fade(window);
      return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST: return HTTRANSPARENT;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool CreateNameWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.lpfnWndProc = NameWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kMapNameWindowClass;
  RegisterClassA(&windowClass);
  g_name.window = CreateWindowExA(kExtendedStyle, kMapNameWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
  return g_name.window != nullptr;
}

// The work area of the monitor that holds the foreground window: the user
// is looking there, and a cabinet's game may run on a second screen.
ScreenRect ForegroundMonitor() {
  MONITORINFO info;
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromWindow(GetForegroundWindow(), MONITOR_DEFAULTTOPRIMARY);
  if (!GetMonitorInfoA(monitor, &info)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

void UseFontOfHeight(int height) {
  if (g_name.font != nullptr && g_name.fontHeight == height) return;
  if (g_name.font != nullptr) DeleteObject(g_name.font);
  g_name.font = CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Segoe UI");
  g_name.fontHeight = height;
}

SIZE TextSize(const std::string& name) {
  HDC dc = GetDC(g_name.window);
  HGDIOBJ oldFont = SelectObject(dc, g_name.font);
  RECT measured = {0, 0, 0, 0};
  DrawTextA(dc, name.c_str(), static_cast<int>(name.size()), &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  SelectObject(dc, oldFont);
  ReleaseDC(g_name.window, dc);
  return {measured.right - measured.left, measured.bottom - measured.top};
}

}  // namespace

void ShowMapNameOnScreen(const std::string& name) {
  if (g_name.window == nullptr && !CreateNameWindow()) return;
  ScreenRect monitor = ForegroundMonitor();
  UseFontOfHeight(MapNameTextHeight(monitor.bottom - monitor.top));
  SetWindowTextA(g_name.window, name.c_str());
  SIZE text = TextSize(name);
  ScreenRect placed = MapNamePlacement(monitor, text.cx, text.cy);
  SetLayeredWindowAttributes(g_name.window, 0, kMapNameOpacity, LWA_ALPHA);
  SetWindowPos(g_name.window, HWND_TOPMOST, placed.left, placed.top, placed.right - placed.left,
               placed.bottom - placed.top, SWP_NOACTIVATE);
  ShowWindow(g_name.window, SW_SHOWNOACTIVATE);
  InvalidateRect(g_name.window, nullptr, TRUE);
  UpdateWindow(g_name.window);
  g_name.shownAt = GetTickCount();
  SetTimer(g_name.window, kFadeTimerId, kMapNameHoldMs, nullptr);
}

void HideMapNameOnScreen() {
  if (g_name.window == nullptr) return;
  DestroyWindow(g_name.window);
  g_name.window = nullptr;
  if (g_name.font != nullptr) DeleteObject(g_name.font);
  g_name.font = nullptr;
  g_name.fontHeight = 0;
}

}  // namespace quillon

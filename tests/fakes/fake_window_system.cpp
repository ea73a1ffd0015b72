#include "tests/fakes/fake_window_system.h"

#include "runtime/seams/foreground_events.h"

#include <cinttypes>
#include <cstdio>
#include <cstdint>
#include <utility>

namespace quillon::fake_window_system {

namespace {

struct FakeWindow {
  int parent = 0;  // 0: top level
  std::string className;
  std::string title;
  bool gone = false;
  bool hung = false;  // handles no message in time
};

std::vector<FakeWindow> g_windows;  // window n lives at index n - 1
std::vector<std::string> g_calls;
int g_foreground = 0;
int g_foregroundRefusals = 0;
int g_textReads = 0;
std::function<void()> g_whileHandlingMessage;
bool g_refuseEvents = false;
bool g_hearing = false;
int g_watched = 0;

WindowHandle HandleOf(int number) { return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(number)); }

FakeWindow* Find(WindowHandle window) {
  int number = NumberOf(window);
  return number == 0 ? nullptr : &g_windows[number - 1];
}

// The first sibling after `number` (0: from the start) under `parent`.
WindowHandle NextSiblingAfter(int parent, int number) {
  for (size_t i = static_cast<size_t>(number); i < g_windows.size(); ++i)
    if (g_windows[i].parent == parent) return HandleOf(static_cast<int>(i) + 1);
  return nullptr;
}

WindowHandle Add(int parent, const std::string& className, const std::string& title) {
  g_windows.push_back(FakeWindow{parent, className, title, false, false});
  return HandleOf(static_cast<int>(g_windows.size()));
}

std::string ReadText(WindowHandle window, const std::string FakeWindow::*field, size_t maxChars) {
  ++g_textReads;
  FakeWindow* found = Find(window);
  if (found == nullptr || found->gone) return std::string();
  return (found->*field).substr(0, maxChars);
}

}  // namespace

void Reset() {
  g_windows.clear();
  g_calls.clear();
  g_foreground = 0;
  g_foregroundRefusals = 0;
  g_textReads = 0;
  g_whileHandlingMessage = nullptr;
  g_refuseEvents = false;
  g_hearing = false;
  g_watched = 0;
}

WindowHandle AddTopLevelWindow(const std::string& className, const std::string& title) {
  return Add(0, className, title);
}

WindowHandle AddChildWindow(WindowHandle parent, const std::string& className, const std::string& title) {
  return Add(NumberOf(parent), className, title);
}

void MarkWindowGone(WindowHandle window) {
  if (FakeWindow* found = Find(window)) found->gone = true;
}

void MarkWindowHung(WindowHandle window) {
  if (FakeWindow* found = Find(window)) found->hung = true;
}

void WhileHandlingMessages(std::function<void()> action) { g_whileHandlingMessage = std::move(action); }

int NumberOf(WindowHandle window) {
  uintptr_t number = reinterpret_cast<uintptr_t>(window);
  return (number >= 1 && number <= g_windows.size()) ? static_cast<int>(number) : 0;
}

WindowHandle WindowNumber(int number) { return HandleOf(number); }
const std::vector<std::string>& Calls() { return g_calls; }
void RecordCall(const std::string& line) { g_calls.push_back(line); }
void RefuseForeground(int times) { g_foregroundRefusals = times; }

WindowHandle ForegroundWindow() { return g_foreground ? HandleOf(g_foreground) : nullptr; }
int TextReads() { return g_textReads; }
void PutInFront(WindowHandle window) { g_foreground = NumberOf(window); }
void RefuseForegroundEvents(bool refuse) { g_refuseEvents = refuse; }
bool HearingForegroundEvents() { return g_hearing; }
WindowHandle WatchedForClosing() { return g_watched ? HandleOf(g_watched) : nullptr; }

}  // namespace quillon::fake_window_system

namespace quillon {

using namespace fake_window_system;

WindowHandle FirstTopLevelWindow() { return NextSiblingAfter(0, 0); }

WindowHandle FirstChildWindow(WindowHandle parent) {
  int number = NumberOf(parent);
  return number == 0 ? nullptr : NextSiblingAfter(number, 0);
}

WindowHandle NextWindowInZOrder(WindowHandle window) {
  FakeWindow* found = Find(window);
  if (found == nullptr) return nullptr;
  return NextSiblingAfter(found->parent, NumberOf(window));
}

std::string WindowTitleText(WindowHandle window, size_t maxChars) {
  return ReadText(window, &FakeWindow::title, maxChars);
}

std::string WindowClassName(WindowHandle window, size_t maxChars) {
  return ReadText(window, &FakeWindow::className, maxChars);
}

bool WindowStillExists(WindowHandle window) {
  FakeWindow* found = Find(window);
  return found != nullptr && !found->gone;
}

bool BringWindowToForeground(WindowHandle window) {
  g_calls.push_back("Foreground " + std::to_string(NumberOf(window)));
  if (g_foregroundRefusals != 0) {
    if (g_foregroundRefusals > 0) --g_foregroundRefusals;
    return false;
  }
  if (WindowStillExists(window)) g_foreground = NumberOf(window);
  return g_foreground == NumberOf(window);
}

bool SendWindowMessageWithin(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam,
                             uint32_t timeoutMs) {
  char line[112];
  std::snprintf(line, sizeof line, "SendMessage %d 0x%04x %" PRIuPTR " %" PRIdPTR, NumberOf(window), message, wParam,
                lParam);
  g_calls.push_back(line);
  if (g_whileHandlingMessage) g_whileHandlingMessage();
  FakeWindow* found = Find(window);
  return timeoutMs > 0 && found != nullptr && !found->gone && !found->hung;
}

bool StartForegroundEvents() {
  g_calls.push_back("ForegroundEvents on");
  g_hearing = !g_refuseEvents;
  return g_hearing;
}

void StopForegroundEvents() {
  g_calls.push_back("ForegroundEvents off");
  g_hearing = false;
  g_watched = 0;
}

void WatchWindowClosing(WindowHandle window) {
  g_calls.push_back("WatchClosing " + std::to_string(NumberOf(window)));
  g_watched = WindowStillExists(window) ? NumberOf(window) : 0;
}

// A destroyed window is no longer in front: the system has moved the front on.
WindowHandle WindowInFront() { return WindowStillExists(ForegroundWindow()) ? ForegroundWindow() : nullptr; }

}  // namespace quillon

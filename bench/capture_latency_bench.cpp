// Under Wine, against the real quillon.exe: the time from a key-down that
// this program injects, or from a button of a virtual controller going down,
// to the first key of the action's sequence arriving at a focused window: in
// hot-key mode, in hook mode, and with the controller polled 16 and 100
// times a second.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/kit/controller_double/virtual_pads_control.h"
#include "tests/kit/key_recorder_window.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace kit = quillon::test_kit;
namespace reg = quillon::test_registry;
namespace rec = quillon::key_recorder;

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

bool ArrivedA() {
  for (const rec::RecordedMessage& m : rec::Messages())
    if (m.message == WM_KEYDOWN && m.wParam == 'A') return true;
  return false;
}

kit::Child StartRuntime() {
  kit::Child runtime = kit::StartChild(kit::RuntimePath(), "");
  HWND window = kit::WaitForRuntimeWindowOf(runtime);
  DWORD_PTR ignored = 0;
  if (window) SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
  return runtime;
}

// Busy-waits: a wait that the system ends (a time-out, a timer) ends on the
// same clock round as the runtime's poll timer under Wine, so a press placed
// after one lands just after a tick every time, whatever the delay asked.
void SpinFor(double milliseconds) {
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  do QueryPerformanceCounter(&now);
  while (Milliseconds(start, now) < milliseconds);
}

// Prints the figures and returns the median (0 when nothing arrived).
double PrintFigures(const char* what, std::vector<double> latencies) {
  if (latencies.empty()) return 0;
  std::sort(latencies.begin(), latencies.end());
  double median = latencies[latencies.size() / 2];
  std::printf("%s: %zu presses, median %.2f ms, 95th percentile %.2f ms\n", what, latencies.size(), median,
              latencies[std::min(latencies.size() - 1, latencies.size() * 95 / 100)]);
  return median;
}

void MeasureButtonLatency(uint32_t pollPerSecond, int presses) {
  namespace pads = quillon::virtual_pads;
  reg::DeleteSettingsTree();
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteNumber(reg::SettingsPath(), "UseJoystick", 1);
  reg::WriteNumber(reg::SettingsPath(), "PollPerSecond", pollPerSecond);
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", "Bench Pad");
  reg::WriteNumber(reg::ButtonActionPath(1), "Buttons", 1);
  reg::WriteText(reg::ButtonActionPath(1), "KeySeq", "a");
  pads::ResetSharedBlock();
  int pad = pads::AddPad("Bench Pad", 4);
  pads::InstallControllerDoubleInSystemFolder();
  pads::PreferDoubleInRuntime();
  kit::Child runtime = StartRuntime();
  rec::Focus();
  const DWORD interval = 1000 / pollPerSecond;
  rec::PumpFor(3 * interval);  // the first tick only acquires the pad
  std::vector<double> latencies;
  unsigned phase = 12345;
  for (int press = 0; press < presses; ++press) {
    // A user's press falls anywhere between two ticks. Pressing a fixed time
    // after the release was seen would keep every press at the same point of
    // the timer's period, and measure that point instead of the average.
    phase = phase * 1103515245u + 12345u;
    rec::PumpFor(interval);
    SpinFor(double((phase >> 8) % (interval * 1000)) / 1000.0);
    rec::Clear();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    pads::HoldButtons(pad, {1});
    bool arrived = rec::PumpUntil(ArrivedA, 5000);
    QueryPerformanceCounter(&end);
    pads::ReleaseEveryButton();
    rec::PumpFor(2 * interval + 10);  // let the runtime see the release
    if (arrived) latencies.push_back(Milliseconds(start, end));
    else std::printf("  press %d: no key arrived\n", press);
  }
  kit::StopAnyRuntime();
  kit::WaitForExit(runtime, 10000, nullptr);
  pads::PreferBuiltInInRuntime();
  char what[120];
  std::snprintf(what, sizeof what, "button to first typed key (%u polls a second; bound %.1f ms)", pollPerSecond,
                interval / 2.0 + 1.0);
  PrintFigures(what, latencies);
}

bool ArrivedCtrlAfterA() {
  bool a = false;
  for (const rec::RecordedMessage& m : rec::Messages()) {
    if (m.message == WM_KEYDOWN && m.wParam == 'A') a = true;
    if (a && m.message == WM_KEYDOWN && m.wParam == VK_CONTROL) return true;
  }
  return false;
}

// One press of `key` to the first "a" that comes of it; a negative time
// when none came.
double TimeKeyToA(WORD key) {
  rec::PumpFor(5);
  rec::Clear();
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = WORD(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
  if (!rec::PumpUntil(ArrivedA, 5000)) return -1;
  QueryPerformanceCounter(&end);
  return Milliseconds(start, end);
}

// F5 alone and Ctrl+F6, each typing "a", pressed in turns, so a machine
// busy with something else for a while weighs on both alike. Ctrl goes down
// before each F6 and up once the burst has put it back, outside the time
// measured: the difference of the medians is what letting go of Ctrl and
// putting it back costs. Prints the figures under `what` and returns that
// difference (0 when nothing arrived).
double TimeBothKeys(const char* what, int presses) {
  rec::Focus();
  std::vector<double> plain, ctrlHeld;
  for (int press = 0; press < presses; ++press) {
    double ms = TimeKeyToA(VK_F5);
    if (ms >= 0) plain.push_back(ms);
    else std::printf("  press %d of F5: no key arrived\n", press);
    rec::InjectKey(VK_CONTROL, false);
    rec::PumpFor(1);
    ms = TimeKeyToA(VK_F6);
    if (ms >= 0) ctrlHeld.push_back(ms);
    else std::printf("  press %d of Ctrl+F6: no key arrived\n", press);
    // Wine does not keep one SendInput call together: Ctrl let go before
    // the put-back would leave it down.
    rec::PumpUntil(ArrivedCtrlAfterA, 200);
    rec::InjectKey(VK_CONTROL, true);
  }
  // The first action of a process is the one that would pay for loading the
  // keyboard tables, had start-up not done it.
  if (!plain.empty()) std::printf("  first press after start: %.2f ms\n", plain.front());
  char line[160];
  std::snprintf(line, sizeof line, "%s", what);
  double plainMedian = PrintFigures(line, plain);
  std::snprintf(line, sizeof line, "%s, Ctrl held, let go and put back", what);
  double heldMedian = PrintFigures(line, ctrlHeld);
  if (plainMedian <= 0 || heldMedian <= 0) return 0;
  std::printf("  letting go of Ctrl and putting it back: %+.3f ms on the median\n", heldMedian - plainMedian);
  return heldMedian - plainMedian;
}

// The runtime with the two entries; returns what letting go of Ctrl costs.
double MeasureKeyLatency(bool hookMode, int presses) {
  reg::DeleteSettingsTree();
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 1);
  reg::WriteNumber(reg::SettingsPath(), "UseHook", hookMode ? 1 : 0);
  reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", VK_F5);
  reg::WriteText(reg::KeyActionPath(1), "KeySeq", "a");
  reg::WriteNumber(reg::KeyActionPath(2), "VirtualKey", VK_F6);
  reg::WriteNumber(reg::KeyActionPath(2), "Modifier", 2);
  reg::WriteText(reg::KeyActionPath(2), "KeySeq", "a");
  kit::Child runtime = StartRuntime();
  double cost =
      TimeBothKeys(hookMode ? "key-down to first typed key (hook mode)" : "key-down to first typed key (hot-key mode)",
                   presses);
  kit::StopAnyRuntime();
  kit::WaitForExit(runtime, 10000, nullptr);
  return cost;
}

// The same against the yardstick: what Wine itself takes for the round,
// `mode` as trivial_window.cpp names it.
double MeasureBareEcho(const char* mode, const char* what, int presses) {
  kit::Child echo = kit::StartChild(kit::ProgramFolder() + "trivial_window.exe", mode);
  HWND window = nullptr;
  for (int wait = 0; wait < 500 && window == nullptr; ++wait) {
    rec::PumpFor(10);
    window = FindWindowA("QuillonTrivialWindow", nullptr);
  }
  if (window == nullptr) {
    std::printf("  the bare echo did not start\n");
    return 0;
  }
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
  double cost = TimeBothKeys(what, presses);
  PostMessageA(window, WM_CLOSE, 0, 0);
  kit::WaitForExit(echo, 10000, nullptr);
  return cost;
}

}  // namespace

int main(int argc, char** argv) {
  int presses = argc > 1 ? std::atoi(argv[1]) : 200;
  if (presses < 1) presses = 1;
  kit::StopAnyRuntime();
  if (rec::Create("Latency recorder") == nullptr) return 1;
  // Under Wine every key typed makes a round trip through each low-level
  // hook before the next goes in, so one more key ahead of the first costs
  // a bare program as much: the bound is on what the runtime adds to that.
  const double hotKeyCost = MeasureKeyLatency(false, presses);
  const double bareHotKeyCost = MeasureBareEcho("hotkey", "  beside a bare hot key that types", presses);
  const double hookCost = MeasureKeyLatency(true, presses);
  MeasureBareEcho("hook", "  beside a bare hook that posts and types", presses);
  // The runtime's hook has a thread of its own, so that it answers whatever
  // the main thread does; the keys the main thread types make their round
  // trips to that thread.
  const double bareHookCost = MeasureBareEcho("hookthread", "  beside a bare hook on its own thread", presses);
  std::printf(
      "letting go of Ctrl and putting it back, beyond what the bare program pays for the same keys: "
      "hot-key mode %+.3f ms, hook mode %+.3f ms (bound +0.05 ms)\n",
      hotKeyCost - bareHotKeyCost, hookCost - bareHookCost);
  // Half as many: a press at a random point of a 62 ms period takes a
  // while, and fewer than a hundred leave the median a few ms off.
  MeasureButtonLatency(16, presses / 2 + 1);
  MeasureButtonLatency(100, presses / 2 + 1);
  rec::Destroy();
  reg::DeleteSettingsTree();
  return 0;
}

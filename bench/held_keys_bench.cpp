// Under Wine, against the real quillon.exe in hook mode: how closely a hold
// entry's key follows the captured key (key-down to the hold's key-down,
// key-up to its key-up), and how even a repeat entry's interval is at
// Repeat 100, both as a focused window sees the keys arrive. Then the same
// hold bound to a button of a virtual pad (the DirectInput double) polled
// 100 times a second, and what polling that pad costs the idle runtime.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "shared/settings_tree.h"
#include "tests/kit/controller_double/virtual_pads_control.h"
#include "tests/kit/key_recorder_window.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace kit = quillon::test_kit;
namespace reg = quillon::test_registry;
namespace rec = quillon::key_recorder;
namespace pads = quillon::virtual_pads;

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// How many times the recorder saw `key` go down (`down`) or up.
int Seen(WORD key, bool down) {
  int count = 0;
  for (const rec::RecordedMessage& m : rec::Messages())
    if (m.wParam == key && m.message == (down ? WM_KEYDOWN : WM_KEYUP)) ++count;
  return count;
}

double Percentile(std::vector<double> values, size_t percent) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, values.size() * percent / 100)];
}

void PrintLatency(const char* what, const std::vector<double>& latencies) {
  if (latencies.empty()) return (void)std::printf("%s: nothing arrived\n", what);
  std::printf("%s: %zu presses, median %.2f ms, 95th percentile %.2f ms\n", what, latencies.size(),
              Percentile(latencies, 50), Percentile(latencies, 95));
}

kit::Child StartRuntime() {
  kit::Child runtime = kit::StartChild(kit::RuntimePath(), "");
  HWND window = kit::WaitForRuntimeWindowOf(runtime);
  DWORD_PTR ignored = 0;
  if (window) SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
  rec::Focus();
  return runtime;
}

void StopRuntime(kit::Child& runtime) {
  kit::StopAnyRuntime();
  kit::WaitForExit(runtime, 10000, nullptr);
}

void WriteEntry(int number, WORD key, uint32_t action, const char* sequence) {
  reg::WriteNumber(reg::KeyActionPath(number), "VirtualKey", key);
  reg::WriteNumber(reg::KeyActionPath(number), "Action", action);
  reg::WriteText(reg::KeyActionPath(number), "KeySeq", sequence);
  reg::WriteNumber(reg::KeyActionPath(number), "Repeat", 100);
}

void MeasureHold(int presses) {
  kit::Child runtime = StartRuntime();
  std::vector<double> downs, ups;
  for (int press = 0; press < presses; ++press) {
    rec::PumpFor(5);
    rec::Clear();
    double start = Now();
    rec::InjectKey(VK_F5, false);
    if (rec::PumpUntil([] { return Seen(VK_LEFT, true) > 0; }, 5000)) downs.push_back(Now() - start);
    rec::PumpFor(unsigned(press % 7) * 3);  // held a while, not always as long
    start = Now();
    rec::InjectKey(VK_F5, true);
    if (rec::PumpUntil([] { return Seen(VK_LEFT, false) > 0; }, 5000)) ups.push_back(Now() - start);
  }
  StopRuntime(runtime);
  PrintLatency("hold entry, key-down to the held key down (hook mode)", downs);
  PrintLatency("hold entry, key-up to the held key up (hook mode)", ups);
}

// Held `holds` times for two seconds each; every interval between two keys
// the window sees counts.
void MeasureRepeat(int holds) {
  kit::Child runtime = StartRuntime();
  std::vector<double> intervals;
  for (int hold = 0; hold < holds; ++hold) {
    rec::PumpFor(50);
    rec::Clear();
    int seen = 0;
    double last = 0;
    const double start = Now();
    rec::InjectKey(VK_F6, false);
    rec::PumpUntil(
        [&] {
          const int now = Seen(VK_RIGHT, true);
          if (now > seen) {
            const double at = Now();
            if (seen > 0) intervals.push_back((at - last) / (now - seen));
            last = at;
            seen = now;
          }
          return Now() - start > 2000;
        },
        3000);
    rec::InjectKey(VK_F6, true);
  }
  StopRuntime(runtime);
  if (intervals.empty()) return (void)std::printf("repeat entry: nothing arrived\n");
  double mean = 0;
  for (double v : intervals) mean += v;
  mean /= double(intervals.size());
  double variance = 0;
  for (double v : intervals) variance += (v - mean) * (v - mean);
  const double deviation = std::sqrt(variance / double(intervals.size()));
  std::printf(
      "repeat entry at Repeat 100 (hook mode): %zu intervals, median %.2f ms, standard deviation %.2f ms, "
      "5th to 95th percentile %.2f to %.2f ms, least %.2f ms, most %.2f ms\n",
      intervals.size(), Percentile(intervals, 50), deviation, Percentile(intervals, 5), Percentile(intervals, 95),
      Percentile(intervals, 0), Percentile(intervals, 100));
}

constexpr const char* kPadName = "Bench Pad";

// Busy-waits: a wait that the system ends (a time-out, a timer) ends on the
// same clock round as the runtime's poll timer under Wine, so a button moved
// after one would land at the same point of the tick's period every time.
void SpinFor(double milliseconds) {
  const double start = Now();
  while (Now() - start < milliseconds) {
  }
}

// Controller settings only: the pad named kPadName polled `pollPerSecond`
// times a second (or not at all), button 1 holding {LEFT}.
void WritePadSettings(bool useJoystick, uint32_t pollPerSecond) {
  reg::DeleteSettingsTree();
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteNumber(reg::SettingsPath(), "UseJoystick", useJoystick ? 1 : 0);
  reg::WriteNumber(reg::SettingsPath(), "PollPerSecond", pollPerSecond);
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", kPadName);
  reg::WriteNumber(reg::ButtonActionPath(1), "Buttons", 1);
  reg::WriteNumber(reg::ButtonActionPath(1), "Action", quillon::HoldKeys);
  reg::WriteText(reg::ButtonActionPath(1), "KeySeq", "{LEFT}");
}

// A fresh block with one pad of kPadName, which quillon.exe reads through
// the double from now on; returns the pad's number.
int AttachPad() {
  pads::ResetSharedBlock();
  const int pad = pads::AddPad(kPadName, 10);
  pads::InstallControllerDoubleInSystemFolder();
  pads::PreferDoubleInRuntime();
  return pad;
}

bool WaitForAcquired(int pad) {
  return rec::PumpUntil([pad] { return pads::Block().pads[pad].acquired == 1; }, 10000);
}

// Button 1 pressed `presses` times: the press to the held key's down, the
// release to its up. Both moves fall at a random point between two ticks,
// as a player's would.
void MeasurePadHold(int presses) {
  const uint32_t pollPerSecond = 100;
  WritePadSettings(true, pollPerSecond);
  const int pad = AttachPad();
  kit::Child runtime = StartRuntime();
  if (!WaitForAcquired(pad)) std::printf("pad hold: the pad was never acquired: was the double loaded?\n");
  const double interval = 1000.0 / pollPerSecond;
  std::vector<double> downs, ups;
  unsigned phase = 12345;
  auto randomPhase = [&] {
    phase = phase * 1103515245u + 12345u;
    return double((phase >> 8) % 10000u) / 10000.0 * interval;
  };
  for (int press = 0; press < presses; ++press) {
    rec::PumpFor(DWORD(2 * interval));
    SpinFor(randomPhase());
    rec::Clear();
    double start = Now();
    pads::HoldButtons(pad, {1});
    if (rec::PumpUntil([] { return Seen(VK_LEFT, true) > 0; }, 5000)) downs.push_back(Now() - start);
    rec::PumpFor(unsigned(press % 7) * 3);  // held a while, not always as long
    SpinFor(randomPhase());
    start = Now();
    pads::HoldButtons(pad, {});
    if (rec::PumpUntil([] { return Seen(VK_LEFT, false) > 0; }, 5000)) ups.push_back(Now() - start);
  }
  StopRuntime(runtime);
  pads::PreferBuiltInInRuntime();
  PrintLatency("hold entry, button press to the held key down (100 polls a second)", downs);
  PrintLatency("hold entry, button release to the held key up (100 polls a second)", ups);
}

double CpuMilliseconds(HANDLE process) {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
  auto ticks = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return double(ticks(kernel) + ticks(user)) / 10000.0;
}

// The runtime's own CPU time (GetProcessTimes: Wine reads it from the Linux
// process, so it counts in the kernel's 10 ms ticks) over `seconds` once
// start-up is over, the pad attached and nothing pressed.
void MeasureIdleCpu(bool useJoystick, uint32_t pollPerSecond, unsigned seconds) {
  WritePadSettings(useJoystick, pollPerSecond);
  const int pad = AttachPad();
  kit::Child runtime = StartRuntime();
  if (useJoystick && !WaitForAcquired(pad)) std::printf("idle CPU: the pad was never acquired\n");
  rec::PumpFor(1000);
  const int32_t readsBefore = pads::Block().pads[pad].stateReads;
  const double before = CpuMilliseconds(runtime.process);
  const double start = Now();
  rec::PumpFor(seconds * 1000);
  const double after = CpuMilliseconds(runtime.process);
  const double elapsed = Now() - start;
  const int32_t reads = pads::Block().pads[pad].stateReads - readsBefore;
  StopRuntime(runtime);
  pads::PreferBuiltInInRuntime();
  char what[80];
  if (useJoystick) std::snprintf(what, sizeof what, "polling one pad %u times a second", pollPerSecond);
  else std::snprintf(what, sizeof what, "controller off, the pad attached");
  if (before < 0 || after < 0) return (void)std::printf("idle runtime, %s: GetProcessTimes failed\n", what);
  std::printf("idle runtime, %s: %.0f ms CPU over %.1f s (%.2f %% of one core), %.1f reads a second\n", what,
              after - before, elapsed / 1000.0, (after - before) * 100.0 / elapsed, reads * 1000.0 / elapsed);
}

}  // namespace

int main(int argc, char** argv) {
  int presses = argc > 1 ? std::atoi(argv[1]) : 200;
  if (presses < 1) presses = 1;
  kit::StopAnyRuntime();
  if (rec::Create("Held keys recorder") == nullptr) return 1;
  reg::DeleteSettingsTree();
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 1);
  reg::WriteNumber(reg::SettingsPath(), "UseHook", 1);
  WriteEntry(1, VK_F5, quillon::HoldKeys, "{LEFT}");
  WriteEntry(2, VK_F6, quillon::RepeatKeys, "{RIGHT}");
  MeasureHold(presses);
  MeasureRepeat(std::max(1, presses / 40));
  MeasurePadHold(std::max(1, presses / 2));
  // In one run, so the three figures share the machine's load.
  MeasureIdleCpu(false, 100, 5);
  MeasureIdleCpu(true, 100, 5);
  MeasureIdleCpu(true, 16, 5);
  rec::Destroy();
  reg::DeleteSettingsTree();
  return 0;
}

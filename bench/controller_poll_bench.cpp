// The cost of one PollTimer tick: one pad, and two pads of one name with
// EveryDevice on; 10 and 99 controller entries; nothing held, and a
// combination held after its action ran (the tick reads and matches, and
// runs nothing). Runs against the fake input system with its call log off,
// so the figures are the tick's own logic (reading the state, forming the
// held buttons and directions, finding the entry), without DirectInput's
// Poll and GetDeviceState, which a real pad adds to each pad's share.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "runtime/controller_poll.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_controller.h"
#include "tests/fakes/fake_platform.h"

namespace {

namespace pad = quillon::fake_controller;
using Clock = std::chrono::steady_clock;
constexpr const char* kPadName = "Quillon Pad";

// Entries on buttons 11 and up (two at a time) and on the hat, none of
// which the cases below hold but the last: a tick that finds nothing
// looks at every one.
void FillEntries(quillon::RuntimeSettings& s, uint32_t count) {
  s.buttonCount = count;
  for (uint32_t n = 0; n < count; ++n) {
    quillon::ButtonAction& entry = s.buttonActions[n];
    entry = quillon::ButtonAction{};
    entry.action = quillon::StuffKeys;  // with no sequence: types nothing
    entry.buttons = (1u << (10 + n % 20)) | (1u << (11 + n % 20));
    entry.directions = n % 3 == 0 ? uint32_t(quillon::HatDown) : 0u;
  }
  s.buttonActions[count - 1].buttons = 1 | 2;
  s.buttonActions[count - 1].directions = quillon::StickUp;
}

// The median of 15 batches of ticks, in nanoseconds a tick.
double NanosecondsPerTick(quillon::Runtime& runtime) {
  std::vector<double> batches;
  for (int batch = 0; batch < 15; ++batch) {
    constexpr int kTicks = 20000;
    Clock::time_point start = Clock::now();
    for (int tick = 0; tick < kTicks; ++tick) quillon::PollController(runtime);
    batches.push_back(1e9 * std::chrono::duration<double>(Clock::now() - start).count() / kTicks);
  }
  std::sort(batches.begin(), batches.end());
  return batches[batches.size() / 2];
}

void Bench(int pads, uint32_t entries, bool held) {
  quillon::fake_platform::Reset();
  pad::Reset();
  pad::RecordCalls(false);
  auto runtime = std::make_unique<quillon::Runtime>();
  quillon::RuntimeSettings& s = runtime->settings;
  s.useJoystick = 1;
  s.switchDevice = kPadName;
  s.pollPerSecond = 100;
  s.everyDevice = pads > 1 ? 1 : 0;
  FillEntries(s, entries);
  std::vector<int> numbers;
  for (int p = 0; p < pads; ++p) numbers.push_back(pad::AddPad(kPadName, 32));
  quillon::InitController(*runtime);
  quillon::PollController(*runtime);  // acquires
  for (int number : numbers) {
    if (!held) continue;
    pad::HoldButtons(number, {1, 2});
    pad::MoveStick(number, 0, -1000);
  }
  quillon::PollController(*runtime);  // a held combination runs here, once
  double ns = NanosecondsPerTick(*runtime);
  std::printf("poll tick  %d pad%s  %2u entries  %-36s %8.1f ns/tick\n", pads, pads > 1 ? "s" : " ", entries,
              held ? "a combination held (already run)" : "nothing held (every entry looked at)", ns);
  quillon::StopPollTimer(runtime->poll);
  quillon::ReleaseController(runtime->poll);
}

}  // namespace

int main() {
  for (uint32_t entries : {10u, 99u})
    for (bool held : {false, true})
      for (int pads : {1, 2}) Bench(pads, entries, held);
  return 0;
}

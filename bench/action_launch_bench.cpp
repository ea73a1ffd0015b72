// Launch latency of a "Run application" entry (windows build, under Wine):
// from RunAction on a controller entry until the started program has
// written its line to the stand-in log, which it does first thing. Also the
// time RunAction itself takes (process creation, not waiting for the
// program) and, from the program's own tick stamp, when it began running.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <memory>
#include <vector>

#include "runtime/action_dispatch.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "tests/kit/runtime_control.h"

namespace kit = quillon::test_kit;

namespace {

using Clock = std::chrono::steady_clock;

// Complete lines only: the stand-in writes its stamp, its command line and
// the line end in separate writes.
size_t CompleteLines(const std::string& path) {
  std::ifstream log(path, std::ios::binary);
  return size_t(std::count(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>(), '\n'));
}

struct Summary {
  double median = 0;
  double max = 0;
  double min = 0;
};

Summary Summarise(std::vector<double> values) {
  Summary s;
  if (values.empty()) return s;
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  s.min = values.front();
  s.max = values.back();
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::atoi(argv[1]) : 20;
  if (runs < 1) runs = 1;
  const std::string log = kit::UseFreshStandInLog("action_launch_bench");

  quillon::ButtonAction entry;
  entry.buttons = 1;
  entry.action = quillon::RunApplication;
  entry.sendType = quillon::CurrentWindow;
  entry.appName = kit::StandInMapperPath();
  entry.appParms = "bench";

  auto runtime = std::make_unique<quillon::Runtime>();
  std::vector<double> untilLogged;
  std::vector<double> callOnly;
  std::vector<double> untilStartTick;
  double firstUntilLogged = 0;
  // Run 0 warms up (the first start of a program may have to load more of
  // Wine) and is reported on its own.
  for (int run = 0; run <= runs; ++run) {
    size_t before = CompleteLines(log);
    DWORD tickAtCall = GetTickCount();
    Clock::time_point start = Clock::now();
    quillon::RunAction(*runtime, entry);
    double callMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    bool logged = false;
    double loggedMs = 0;
    while (std::chrono::duration<double, std::milli>(Clock::now() - start).count() < kit::kGenerousTimeoutMs) {
      if (CompleteLines(log) > before) {
        loggedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        logged = true;
        break;
      }
      Sleep(1);
    }
    if (!logged) {
      std::printf("run %d: the program never logged its start (is %s there?)\n", run, entry.appName.c_str());
      return 1;
    }
    std::vector<DWORD> ticks = kit::LoggedTicks(log);
    if (run == 0) {
      firstUntilLogged = loggedMs;
    } else {
      untilLogged.push_back(loggedMs);
      callOnly.push_back(callMs);
      untilStartTick.push_back(double(ticks.back() - tickAtCall));
    }
    // Let the program end before the next start, so runs do not overlap.
    Sleep(100);
  }

  Summary logged = Summarise(untilLogged);
  Summary call = Summarise(callOnly);
  Summary tick = Summarise(untilStartTick);
  std::printf("launch: first run (not counted) until its line was logged: %.1f ms\n", firstUntilLogged);
  std::printf("launch: %d runs, RunAction until the line was logged: median %.1f ms, min %.1f ms, max %.1f ms\n", runs,
              logged.median, logged.min, logged.max);
  std::printf("launch: %d runs, RunAction call alone (process created): median %.1f ms, max %.1f ms\n", runs,
              call.median, call.max);
  std::printf("launch: %d runs, call tick to the program's own tick stamp: median %.0f ms, max %.0f ms\n", runs,
              tick.median, tick.max);
  DeleteFileA(log.c_str());
  return 0;
}

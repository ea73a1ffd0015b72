// Start-up time of QuillonConfig.exe under Wine: from starting the program
// until its window is visible and its change-timeout field shows the stored
// settings, beside the same time for a program that opens one plain window.
// The stored tree is put in place first and removed afterwards.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/kit/dialog_probe.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace kit = quillon::test_kit;
namespace reg = quillon::test_registry;

namespace {
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Milliseconds until `shown` holds for the started program's window; -1 on
// time-out. The program is closed and waited for afterwards.
template <typename Shown>
double TimeToWindow(const std::string& program, const char* className, const char* title, Shown shown) {
  const Clock::time_point start = Clock::now();
  kit::Child child = kit::StartChild(program, "");
  double elapsed = -1;
  HWND window = nullptr;
  while (std::chrono::duration<double, std::milli>(Clock::now() - start).count() < kit::kGenerousTimeoutMs) {
    window = kit::FindTopLevelWindow(className, title, child.id);
    if (window != nullptr && IsWindowVisible(window) && shown(window)) {
      elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      break;
    }
    Sleep(1);
  }
  if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
  kit::WaitForExit(child, kit::kGenerousTimeoutMs, nullptr);
  return elapsed;
}

void Report(const char* what, double first, const std::vector<double>& runs) {
  std::printf("%-44s first %7.1f ms, then median %7.1f ms, min %7.1f ms, max %7.1f ms (%zu runs)\n", what, first,
              Median(runs), *std::min_element(runs.begin(), runs.end()), *std::max_element(runs.begin(), runs.end()),
              runs.size());
}
}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::atoi(argv[1]) : 10;
  if (runs < 1) runs = 1;
  reg::DeleteSettingsTree();
  reg::WriteText(reg::SettingsPath(), "Config0", "Analog");
  reg::WriteNumber(reg::SettingsPath(), "ChangeTimeout", 1234);

  auto settingsShown = [](HWND window) {
    return kit::VisibleText(kit::ControlLabelled(window, "Config switch timeout (ms):")) == "1234";
  };
  auto anyWindow = [](HWND) { return true; };
  struct Subject {
    const char* what;
    std::string program;
    const char* className;
    const char* title;
    bool configurator;
  };
  const Subject subjects[] = {
      {"QuillonConfig.exe, window with its settings", kit::ProgramFolder() + "QuillonConfig.exe", "#32770",
       " Quillon Configurator", true},
      {"trivial one-window program", kit::ProgramFolder() + "trivial_window.exe", "QuillonTrivialWindow",
       "Trivial window", false},
  };
  int status = 0;
  for (const Subject& subject : subjects) {
    std::vector<double> times;
    double first = 0;
    // Run 0 warms Wine up for this program and is reported on its own.
    for (int run = 0; run <= runs; ++run) {
      double ms = subject.configurator ? TimeToWindow(subject.program, subject.className, subject.title, settingsShown)
                                       : TimeToWindow(subject.program, subject.className, subject.title, anyWindow);
      if (ms < 0) {
        std::printf("%s: the window never showed\n", subject.what);
        status = 1;
        break;
      }
      if (run == 0) first = ms;
      else times.push_back(ms);
    }
    if (!times.empty()) Report(subject.what, first, times);
  }
  reg::DeleteSettingsTree();
  return status;
}

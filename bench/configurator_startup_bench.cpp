// Start-up time of QuillonConfig.exe under Wine: from starting the program
// until its window is visible and its change-timeout field shows the stored
// settings, with an almost empty tree and with a full one (99 keyboard and 99
// controller entries, 10 active configurations), beside the same time for a
// program that opens one plain window, and the ratios of the medians. The
// stored tree is put in place first and removed afterwards.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "configurator/resource_ids.h"
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

void WriteSmallTree() {
  reg::DeleteSettingsTree();
  reg::WriteText(reg::SettingsPath(), "Config0", "Analog");
  reg::WriteNumber(reg::SettingsPath(), "ChangeTimeout", 1234);
}

// Every list full; sequences of the kinds users write.
void WriteFullTree() {
  WriteSmallTree();
  for (int slot = 0; slot < 10; ++slot)
    reg::WriteText(reg::SettingsPath(), "Config" + std::to_string(slot), "Map " + std::to_string(slot));
  for (int n = 1; n <= 99; ++n) {
    reg::WriteNumber(reg::KeyActionPath(n), "Modifier", uint32_t(n % 16));
    reg::WriteNumber(reg::KeyActionPath(n), "VirtualKey", uint32_t(0x41 + n % 26));
    reg::WriteNumber(reg::KeyActionPath(n), "Action", 0);
    reg::WriteText(reg::KeyActionPath(n), "KeySeq", "hello{ENTER}+(ab)%{F4}");
    reg::WriteNumber(reg::ButtonActionPath(n), "Buttons", uint32_t(n % 1023 + 1));
    reg::WriteNumber(reg::ButtonActionPath(n), "Action", 0);
    reg::WriteText(reg::ButtonActionPath(n), "KeySeq", "^c~");
  }
}

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::atoi(argv[1]) : 10;
  if (runs < 1) runs = 1;

  // The field is found by its id, which costs no message to the program: by
  // its label, each of the page's labels would be a message that waits for
  // the program's loop, and the probe would weigh on what it measures.
  auto settingsShown = [](HWND window) {
    HWND field = nullptr;
    for (HWND control : kit::Descendants(window))
      if (GetDlgCtrlID(control) == IDC_txtSwitchTimeout) field = control;
    return field != nullptr && kit::VisibleText(field) == "1234";
  };
  auto anyWindow = [](HWND) { return true; };
  struct Subject {
    const char* what;
    std::string program;
    const char* className;
    const char* title;
    bool configurator;
    void (*writeTree)();
  };
  const Subject subjects[] = {
      {"trivial one-window program", kit::ProgramFolder() + "trivial_window.exe", "QuillonTrivialWindow",
       "Trivial window", false, WriteSmallTree},
      {"QuillonConfig.exe, small tree", kit::ProgramFolder() + "QuillonConfig.exe", "#32770", " Quillon Configurator",
       true, WriteSmallTree},
      {"QuillonConfig.exe, full tree", kit::ProgramFolder() + "QuillonConfig.exe", "#32770", " Quillon Configurator",
       true, WriteFullTree},
  };
  // Per tree, rounds of one trivial run and one configurator run, so that a
  // machine that slows down or speeds up over the minutes weighs on both
  // alike. The tree is written once, before its rounds: Wine's server was
  // seen to slow the next program's start after many registry writes.
  // Round 0 warms Wine up and is reported on its own.
  const Subject& trivialSubject = subjects[0];
  for (const Subject& subject : subjects) {
    if (!subject.configurator) continue;
    subject.writeTree();
    std::vector<double> trivialTimes, times, ratios;
    double trivialFirst = 0, first = 0;
    for (int round = 0; round <= runs; ++round) {
      double trivial = TimeToWindow(trivialSubject.program, trivialSubject.className, trivialSubject.title, anyWindow);
      double ms = TimeToWindow(subject.program, subject.className, subject.title, settingsShown);
      if (trivial < 0 || ms < 0) {
        std::printf("%s: the window never showed\n", trivial < 0 ? trivialSubject.what : subject.what);
        reg::DeleteSettingsTree();
        return 1;
      }
      if (round == 0) {
        trivialFirst = trivial;
        first = ms;
        continue;
      }
      trivialTimes.push_back(trivial);
      times.push_back(ms);
      ratios.push_back(ms / trivial);
    }
    Report(trivialSubject.what, trivialFirst, trivialTimes);
    Report(subject.what, first, times);
    std::printf("%-44s %.2f times the trivial program's median; median of the rounds' ratios %.2f\n", "",
                Median(times) / Median(trivialTimes), Median(ratios));
  }
  reg::DeleteSettingsTree();
  return 0;
}

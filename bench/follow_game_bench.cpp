// Following the game (windows build, under Wine): from the emulator's
// window coming to the front until the mapping program has started with the
// game's map, with the real quillon.exe and FollowGame on. The window must
// stay in front kWindowSettleMs before it chooses; that wait is taken off
// the figures, which leaves the window events, the choice and the start.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/game_window.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace kit = quillon::test_kit;
namespace reg = quillon::test_registry;

namespace {

using Clock = std::chrono::steady_clock;

size_t CompleteLines(const std::string& path) {
  std::ifstream log(path, std::ios::binary);
  return size_t(std::count(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>(), '\n'));
}

// Milliseconds until the log has more than `before` lines, pumping this
// thread's messages (the game's window is this thread's); -1 on time-out.
double UntilLogged(const std::string& log, size_t before, Clock::time_point start) {
  for (;;) {
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (CompleteLines(log) > before) return ms;
    if (ms > kit::kGenerousTimeoutMs) return -1;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(1);
  }
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  size_t at = size_t(fraction * double(values.size() - 1) + 0.5);
  return values[at];
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::atoi(argv[1]) : 20;
  if (runs < 2) runs = 2;
  kit::StopAnyRuntime();
  reg::DeleteSettingsTree();
  const std::string log = kit::UseFreshStandInLog("follow_game_bench");
  const std::string at = reg::SettingsPath();
  reg::WriteText(at, "UltraMapPath", kit::StandInMapperPath());
  reg::WriteText(at, "UltraMapOptions", "%s");
  reg::WriteText(at, "Config0", "Race");
  reg::WriteText(at, "Config1", "Fly");
  reg::WriteNumber(at, "ApplyOnStart", 1);
  reg::WriteNumber(at, "FollowGame", 1);
  const std::string games = kit::ConfiguratorDataFolder() + "Fly.games";
  std::ofstream(games) << "pacman\n";

  kit::Child runtime = kit::StartChild(kit::RuntimePath(), "");
  if (kit::WaitForRuntimeWindow() == nullptr || UntilLogged(log, 0, Clock::now()) < 0) {
    std::printf("the runtime did not start or handed nothing over\n");
    return 1;
  }
  // The emulator stand-in stamps the tick at which its window came to the
  // front; the stand-in mapper stamps the tick at which it started.
  const std::string frontTicks = kit::ProgramFolder() + "follow_game_bench.ticks";
  DeleteFileA(frontTicks.c_str());
  const std::string emulator = kit::ProgramFolder() + "game_window_stand_in.exe";
  const char* title = "MAME: Pac-Man (Midway) [pacman]";
  std::vector<double> toGame;
  std::vector<double> toDefault;
  std::vector<double> toExit;
  for (int run = 0; run <= runs; ++run) {  // run 0 warms up
    size_t before = CompleteLines(log);
    kit::Child game = kit::StartChild(emulator, std::string("MAME \"") + title + "\" \"" + frontTicks + "\"");
    HWND window = kit::WaitForTopLevelWindow("MAME", title, game.id, 5000);
    bool chosen = window != nullptr && UntilLogged(log, before, Clock::now()) >= 0;
    Clock::time_point closed = Clock::now();
    if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
    kit::WaitForExit(game, 5000, nullptr);
    double exited = std::chrono::duration<double, std::milli>(Clock::now() - closed).count();
    double back = chosen ? UntilLogged(log, before + 1, closed) : -1;
    if (!chosen || back < 0) {
      std::printf("run %d: no hand-over logged (window %p)\n", run, static_cast<void*>(window));
      kit::StopAnyRuntime();
      return 1;
    }
    std::ifstream stamps(frontTicks);
    unsigned long inFront = 0;
    for (unsigned long stamp; stamps >> stamp;) inFront = stamp;
    std::vector<DWORD> started = kit::LoggedTicks(log);
    if (run == 0) continue;
    toGame.push_back(double(LONG(started[before] - DWORD(inFront))) - quillon::kWindowSettleMs);
    toDefault.push_back(back);
    toExit.push_back(exited);
  }
  std::printf(
      "follow game: %d runs, window in front (its own tick) to the mapping program's start (its tick), less the %u ms "
      "settle: median %.1f ms, 95th percentile %.1f ms\n",
      runs, unsigned(quillon::kWindowSettleMs), Percentile(toGame, 0.5), Percentile(toGame, 0.95));
  std::printf(
      "follow game: %d runs, WM_CLOSE to the emulator until the default map's start was logged: median %.1f ms, "
      "95th percentile %.1f ms\n",
      runs, Percentile(toDefault, 0.5), Percentile(toDefault, 0.95));
  // Where no window's destruction is reported (Wine), the default map comes
  // at the end of the emulator's program, which this part is.
  std::printf(
      "follow game: %d runs, WM_CLOSE to the emulator until its process had ended: median %.1f ms, "
      "95th percentile %.1f ms\n",
      runs, Percentile(toExit, 0.5), Percentile(toExit, 0.95));
  kit::StopAnyRuntime();
  kit::WaitForExit(runtime, kit::kGenerousTimeoutMs, nullptr);
  reg::DeleteSettingsTree();
  DeleteFileA(games.c_str());
  DeleteFileA(log.c_str());
  DeleteFileA(frontTicks.c_str());
  return 0;
}

// The real quillon.exe under Wine: single instance, remote control by a
// second copy, reload requests, the about box and the ways it ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "runtime/win32/resource_ids.h"
#include "shared/runtime_messages.h"
#include "shared/settings_tree.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

namespace kit = test_kit;
namespace reg = test_registry;

class RuntimeShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    log_ = kit::UseFreshStandInLog("runtime_shell");
    // Every load hands the default map to the stand-in, so its log counts loads.
    reg::WriteText(reg::SettingsPath(), "UltraMapPath", kit::StandInMapperPath());
    reg::WriteText(reg::SettingsPath(), "UltraMapOptions", "%s");
    reg::WriteText(reg::SettingsPath(), "Config0", "Race");
    reg::WriteText(reg::SettingsPath(), "Config1", "Fly");
    reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 1);
  }
  void TearDown() override {
    kit::StopAnyRuntime();
    if (first_.process) kit::WaitForExit(first_, kit::kGenerousTimeoutMs, nullptr);
    reg::DeleteSettingsTree();
  }

  // Starts the first copy and waits until it has loaded its settings.
  HWND StartFirstCopy(const std::string& tail = "") {
    first_ = kit::StartChild(kit::RuntimePath(), tail);
    HWND window = kit::WaitForRuntimeWindow();
    EXPECT_NE(window, nullptr) << "the runtime's window never appeared";
    EXPECT_TRUE(kit::WaitForLoggedLines(log_, 1)) << "the first load handed nothing over";
    return window;
  }

  DWORD RunSecondCopy(const std::string& tail) {
    kit::Child second = kit::StartChild(kit::RuntimePath(), tail);
    DWORD exitCode = 99;
    EXPECT_TRUE(kit::WaitForExit(second, kit::kGenerousTimeoutMs, &exitCode)) << "second copy did not end";
    return exitCode;
  }

  // The runtime lies beside the configurator here, as installed: it takes
  // the maps and their games lists from the configurator's data folder.
  static std::string MapFolder() { return kit::ConfiguratorDataFolder(); }
  std::string MapArgument(const char* map) const { return " \"" + MapFolder() + map + ".ugc\""; }

  std::string log_;
  kit::Child first_;
};

TEST_F(RuntimeShellTest, FirstStartIgnoresTheArgumentAndStaysHidden) {
  HWND window = StartFirstCopy("Q");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(kit::IsRunning(first_));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(kit::LoggedCommandLines(log_), std::vector<std::string>{MapArgument("Race")});
  // Closed by the system's way, the runtime ends with status 0.
  SendMessageA(window, WM_CLOSE, 0, 0);
  DWORD exitCode = 99;
  ASSERT_TRUE(kit::WaitForExit(first_, kit::kGenerousTimeoutMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(RuntimeShellTest, SecondCopyWithQClosesTheFirstAndCreatesNoWindow) {
  ASSERT_NE(StartFirstCopy(), nullptr);
  EXPECT_EQ(RunSecondCopy("q"), 1u);
  DWORD exitCode = 99;
  ASSERT_TRUE(kit::WaitForExit(first_, kit::kGenerousTimeoutMs, &exitCode)) << "the first copy kept running";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(FindWindowA("Quillon", nullptr), nullptr);
  // The second copy never loaded settings: only the first load handed over.
  EXPECT_EQ(kit::LoggedCommandLines(log_).size(), 1u);
}

TEST_F(RuntimeShellTest, SecondCopyWithRReloadsTheFirst) {
  ASSERT_NE(StartFirstCopy(), nullptr);
  reg::WriteNumber(reg::SettingsPath(), "DefaultConfig", 1);
  EXPECT_EQ(RunSecondCopy("R"), 1u);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  EXPECT_EQ(kit::LoggedCommandLines(log_), (std::vector<std::string>{MapArgument("Race"), MapArgument("Fly")}));
  EXPECT_TRUE(kit::IsRunning(first_));
}

TEST_F(RuntimeShellTest, SecondCopyWithAnotherLetterAsksAndCancelKeepsTheFirst) {
  ASSERT_NE(StartFirstCopy(), nullptr);
  kit::Child second = kit::StartChild(kit::RuntimePath(), "x");
  HWND box = kit::WaitForTopLevelWindow("#32770", "Quillon", second.id);
  ASSERT_NE(box, nullptr) << "the \"Exit Quillon?\" box did not appear";
  EXPECT_NE(FindWindowExA(box, nullptr, "Static", "Exit Quillon?"), nullptr);
  PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  DWORD exitCode = 99;
  ASSERT_TRUE(kit::WaitForExit(second, kit::kGenerousTimeoutMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(kit::IsRunning(first_));
  EXPECT_NE(FindWindowA("Quillon", nullptr), nullptr);
}

TEST_F(RuntimeShellTest, SecondCopyWithoutArgumentsAsksAndOkClosesTheFirst) {
  ASSERT_NE(StartFirstCopy(), nullptr);
  kit::Child second = kit::StartChild(kit::RuntimePath(), "");
  HWND box = kit::WaitForTopLevelWindow("#32770", "Quillon", second.id);
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  DWORD exitCode = 99;
  ASSERT_TRUE(kit::WaitForExit(second, kit::kGenerousTimeoutMs, &exitCode));
  EXPECT_EQ(exitCode, 1u);
  ASSERT_TRUE(kit::WaitForExit(first_, kit::kGenerousTimeoutMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

// A front end's commands before and after a game, from the start on.
TEST_F(RuntimeShellTest, AFrontEndsCommandsHandTheGamesMapOverAtOnceAndOnce) {
  const std::string games = MapFolder() + "Fly.games";
  std::ofstream(games) << "# games for the flying map\npacman, galaxian\n";
  // Started by the front end's "game starts" command: the game's map first.
  ASSERT_NE(StartFirstCopy("G pacman"), nullptr);
  EXPECT_EQ(RunSecondCopy("E"), 1u);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  EXPECT_EQ(RunSecondCopy("g \"PACMAN\""), 1u);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 3));
  EXPECT_EQ(RunSecondCopy("G galaxian"), 1u);  // the same map: no second start
  EXPECT_EQ(RunSecondCopy("M Nowhere"), 3u);
  EXPECT_EQ(RunSecondCopy("M 1"), 1u);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 4));
  EXPECT_EQ(kit::LoggedCommandLines(log_), (std::vector<std::string>{MapArgument("Fly"), MapArgument("Race"),
                                                                     MapArgument("Fly"), MapArgument("Race")}));
  EXPECT_TRUE(kit::IsRunning(first_));
  DeleteFileA(games.c_str());
}

// With FollowGame on, the emulator's window (of class "MAME", titled as MAME
// titles the window of the game it runs, in a program of its own) chooses
// its map once it has stayed in front, and its closing brings the default
// map back.
TEST_F(RuntimeShellTest, TheEmulatorsWindowChoosesItsMapInFrontAndTheDefaultComesBackWhenItCloses) {
  const std::string games = MapFolder() + "Fly.games";
  std::ofstream(games) << "pacman\n";
  reg::WriteNumber(reg::SettingsPath(), "FollowGame", 1);
  ASSERT_NE(StartFirstCopy(), nullptr);
  const char* title = "MAME: Pac-Man (Midway) [pacman]";
  const DWORD started = GetTickCount();
  kit::Child emulator =
      kit::StartChild(kit::ProgramFolder() + "game_window_stand_in.exe", std::string("MAME \"") + title + "\"");
  HWND game = kit::WaitForTopLevelWindow("MAME", title, emulator.id, 5000);
  ASSERT_NE(game, nullptr) << "the emulator's window never appeared";
  auto logged = [this](size_t count) {
    return kit::WaitUntil([&] { return kit::LoggedCommandLines(log_).size() >= count; }, 5000);
  };
  ASSERT_TRUE(logged(2)) << "the game's window chose nothing";
  EXPECT_GE(LONG(kit::LoggedTicks(log_)[1] - started), 300L) << "chosen before the window had settled";
  PostMessageA(game, WM_CLOSE, 0, 0);
  EXPECT_TRUE(kit::WaitForExit(emulator, 5000, nullptr));
  ASSERT_TRUE(logged(3)) << "the default map did not come back";
  kit::PumpMessagesFor(500);
  EXPECT_EQ(kit::LoggedCommandLines(log_),
            (std::vector<std::string>{MapArgument("Race"), MapArgument("Fly"), MapArgument("Race")}));
  DeleteFileA(games.c_str());
}

TEST_F(RuntimeShellTest, ReloadMessageReadsTheTreeAsChangedInBetween) {
  HWND window = StartFirstCopy();
  ASSERT_NE(window, nullptr);
  reg::WriteText(reg::SettingsPath(), "UltraMapOptions", "/load %s /min");
  reg::WriteNumber(reg::SettingsPath(), "DefaultConfig", 1);
  EXPECT_EQ(SendMessageA(window, WM_RELOAD_SETTINGS, 0, 0), 0);
  // The reload is synchronous, so the hand-over has started by now.
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  EXPECT_EQ(kit::LoggedCommandLines(log_)[1], " /load \"" + kit::ConfiguratorDataFolder() + "Fly.ugc\" /min");
  // With ApplyOnStart off a reload hands nothing over.
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  SendMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  SendMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 1);
  SendMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 3));
  kit::PumpMessagesFor(500);
  EXPECT_EQ(kit::LoggedCommandLines(log_).size(), 3u);
}

// The settings tree's lock as a writer (an Apply, an import) holds it: the
// same named mutex that both programs open.
HANDLE HoldSettingsLock() {
  HANDLE lock = CreateMutexA(nullptr, TRUE, "Local\\Quillon settings");
  if (lock != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) WaitForSingleObject(lock, kit::kGenerousTimeoutMs);
  return lock;
}
void LetGoOf(HANDLE lock) {
  ReleaseMutex(lock);
  CloseHandle(lock);
}

// A reload that comes while a writer holds the tree reads it only once the
// writer has let go: the hand-over of the map the new tree names starts
// after the release, never in the middle of the write.
TEST_F(RuntimeShellTest, AReloadDuringAWriteWaitsForTheWriterToLetGo) {
  HWND window = StartFirstCopy();
  ASSERT_NE(window, nullptr);
  HANDLE lock = HoldSettingsLock();
  ASSERT_NE(lock, nullptr);
  reg::WriteNumber(reg::SettingsPath(), "DefaultConfig", 1);  // the write under way
  PostMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  kit::PumpMessagesFor(500);  // the rest of the write
  const DWORD released = GetTickCount();
  LetGoOf(lock);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2));
  EXPECT_EQ(kit::LoggedCommandLines(log_)[1], MapArgument("Fly"));
  EXPECT_GE(LONG(kit::LoggedTicks(log_)[1] - released), 0) << "the runtime read the tree while it was written";
}

TEST_F(RuntimeShellTest, AboutBoxOpensOnItsCommandAndClosesWithEscape) {
  HWND window = StartFirstCopy();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, IDM_ABOUT, 0);
  HWND box = kit::WaitForTopLevelWindow("#32770", "About Quillon", first_.id);
  ASSERT_NE(box, nullptr);
  // The box's window can be found a moment before its controls exist.
  HWND version = nullptr;
  for (DWORD start = GetTickCount(); version == nullptr && GetTickCount() - start < kit::kGenerousTimeoutMs; Sleep(20))
    version = FindWindowExA(box, nullptr, "Static", "Quillon Version 1.0");
  EXPECT_NE(version, nullptr);
  RECT frame;
  GetWindowRect(box, &frame);
  EXPECT_GE(frame.left, 0);
  EXPECT_GE(frame.top, 0);
  // A second request (and reloads) while it is open: still one box, and the
  // runtime answers.
  for (int again = 0; again < 3; ++again) {
    PostMessageA(window, WM_COMMAND, IDM_ABOUT, 0);
    PostMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  }
  DWORD_PTR ignored = 0;
  EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kit::kGenerousTimeoutMs, &ignored), 0);
  int boxes = 0;
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", "About Quillon")) != nullptr;) ++boxes;
  EXPECT_EQ(boxes, 1);
  PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(kit::WaitForWindowGone(box));
  EXPECT_TRUE(kit::IsRunning(first_));
  EXPECT_TRUE(kit::WaitForLoggedLines(log_, 2)) << "the folded reloads never ran";
}

TEST_F(RuntimeShellTest, ExitCommandEndsTheRuntimeWithStatusZero) {
  HWND window = StartFirstCopy();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
  DWORD exitCode = 99;
  ASSERT_TRUE(kit::WaitForExit(first_, kit::kGenerousTimeoutMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(FindWindowA("Quillon", nullptr), nullptr);
}

// The mapping program that the user put in the shared data folder (where
// every user may create files) is the user's own, and still starts.
TEST_F(RuntimeShellTest, AMappingProgramTheUserPutInTheSharedFolderStarts) {
  std::string program = kit::ConfiguratorDataFolder() + "UltraMap.exe";
  ASSERT_TRUE(CopyFileA(kit::StandInMapperPath().c_str(), program.c_str(), FALSE));
  reg::WriteText(reg::SettingsPath(), "UltraMapPath", program);
  HWND window = StartFirstCopy();
  EXPECT_NE(window, nullptr);
  EXPECT_EQ(FindWindowA("#32770", "Quillon"), nullptr) << "the program was refused";
  kit::StopAnyRuntime();
  kit::WaitForExit(first_, kit::kGenerousTimeoutMs, nullptr);
  DeleteFileA(program.c_str());
}

// Copies started at the same moment (the start-up folder's and the
// configurator's " R"): exactly one becomes the runtime, the others reload it.
TEST_F(RuntimeShellTest, CopiesStartedTogetherMakeOneRuntime) {
  kit::Child copies[3];
  for (kit::Child& copy : copies) copy = kit::StartChild(kit::RuntimePath(), "R");
  int ended = 0;
  for (kit::Child& copy : copies) {
    DWORD exitCode = 99;
    if (kit::WaitForExit(copy, 5000, &exitCode)) {
      ++ended;
      EXPECT_EQ(exitCode, 1u);
    } else {
      first_ = copy;
    }
  }
  EXPECT_EQ(ended, 2);
  int windows = 0;
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "Quillon", nullptr)) != nullptr;) ++windows;
  EXPECT_EQ(windows, 1);
}

// A stand-in for a runtime whose thread has stopped handling messages, until
// the test sets `released` (or 30 s pass).
DWORD WINAPI RunHungRuntimeWindow(void* released) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "Quillon";
  RegisterClassA(&windowClass);
  HWND window =
      CreateWindowExA(0, "Quillon", "Quillon", 0, 0, 0, 100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  WaitForSingleObject(static_cast<HANDLE>(released), 30000);
  DestroyWindow(window);
  return 0;
}

// A second copy's request to a runtime that does not answer ends after a
// bounded wait instead of holding its starter for ever. Both requests are
// made at once: each waits out the same time-out.
TEST_F(RuntimeShellTest, ASecondCopyDoesNotWaitForeverForAHungRuntime) {
  HANDLE released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, RunHungRuntimeWindow, released, 0, nullptr);
  ASSERT_TRUE(kit::WaitUntil([] { return FindWindowA("Quillon", nullptr) != nullptr; }));
  const char* tails[] = {"R", "Q"};
  kit::Child seconds[2] = {kit::StartChild(kit::RuntimePath(), tails[0]),
                           kit::StartChild(kit::RuntimePath(), tails[1])};
  for (int i = 0; i < 2; ++i) {
    DWORD exitCode = 99;
    EXPECT_TRUE(kit::WaitForExit(seconds[i], 15000, &exitCode)) << tails[i] << ": still waiting";
    EXPECT_EQ(exitCode, 1u) << tails[i];
    if (kit::IsRunning(seconds[i])) TerminateProcess(seconds[i].process, 9);
  }
  SetEvent(released);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  CloseHandle(released);
}

}  // namespace
}  // namespace quillon

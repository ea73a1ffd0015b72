#include "tests/fakes/fake_platform.h"

#include <cstdlib>
#include <utility>

#include "runtime/seams/hot_keys_and_hook.h"
#include "runtime/seams/main_window_messages.h"
#include "runtime/seams/process_services.h"
#include "runtime/seams/program_trust.h"
#include "runtime/seams/sound_player.h"
#include "runtime/seams/warning_box.h"
#include "runtime/seams/window_timers.h"

namespace quillon::fake_platform {

namespace {
std::vector<std::string> g_calls;
std::string g_executablePath;
std::string g_commonAppData;
uint32_t g_clock = 0;
std::set<std::string> g_existingFiles;
std::set<int> g_refusedHotKeyIds;
bool g_hookInstallFails = false;
std::set<unsigned> g_runningTimers;
std::set<int> g_registeredHotKeys;
bool g_hookInstalled = false;
std::function<void()> g_whileStarting;
std::set<std::string> g_sharedFolders;
std::set<std::string> g_foreignFiles;
std::set<std::string> g_failingPrograms;
}  // namespace

void Reset() {
  g_calls.clear();
  g_executablePath = "C:\\Quillon\\quillon.exe";
  g_commonAppData = "C:\\ProgramData";
  g_clock = 0;
  g_existingFiles.clear();
  g_refusedHotKeyIds.clear();
  g_hookInstallFails = false;
  g_runningTimers.clear();
  g_registeredHotKeys.clear();
  g_hookInstalled = false;
  g_whileStarting = nullptr;
  g_sharedFolders.clear();
  g_foreignFiles.clear();
  g_failingPrograms.clear();
}

void SetProgramsThatFailToStart(std::set<std::string> programs) { g_failingPrograms = std::move(programs); }
void WhileStartingPrograms(std::function<void()> action) { g_whileStarting = std::move(action); }

const std::vector<std::string>& Calls() { return g_calls; }

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
  std::vector<std::string> matching;
  for (const std::string& call : g_calls)
    if (call.compare(0, prefix.size(), prefix) == 0) matching.push_back(call);
  return matching;
}

void ClearCalls() { g_calls.clear(); }
void SetExecutablePath(const std::string& path) { g_executablePath = path; }
void SetCommonAppDataFolder(const std::string& path) { g_commonAppData = path; }
void SetClock(uint32_t milliseconds) { g_clock = milliseconds; }
void AdvanceClock(uint32_t milliseconds) { g_clock += milliseconds; }
void SetExistingFiles(std::set<std::string> paths) { g_existingFiles = std::move(paths); }
void SetRefusedHotKeyIds(std::set<int> ids) { g_refusedHotKeyIds = std::move(ids); }
void SetHookInstallFails(bool fails) { g_hookInstallFails = fails; }
void SetFoldersOthersMayWrite(std::set<std::string> folders) { g_sharedFolders = std::move(folders); }
void SetFilesOwnedByOthers(std::set<std::string> paths) { g_foreignFiles = std::move(paths); }
const std::set<unsigned>& RunningTimers() { return g_runningTimers; }
bool HookInstalled() { return g_hookInstalled; }
const std::set<int>& RegisteredHotKeys() { return g_registeredHotKeys; }

}  // namespace quillon::fake_platform

namespace quillon {

using namespace fake_platform;

std::string ExecutablePath() { return g_executablePath; }
std::string CommonAppDataFolder() { return g_commonAppData; }
uint32_t ProcessClockMs() { return g_clock; }

bool StartProgram(const std::string& program, const std::string& commandLine) {
  g_calls.push_back("StartProgram " + program + "|" + commandLine);
  if (g_whileStarting) g_whileStarting();
  return g_failingPrograms.count(program) == 0;
}

void StopSound() { g_calls.push_back("StopSound"); }
void PlaySoundFileAsync(const std::string& path) { g_calls.push_back("PlaySound " + path); }
bool FileAttributesReadable(const std::string& path) { return g_existingFiles.count(path) != 0; }

bool OthersMayWriteIn(const std::string& folder) { return g_sharedFolders.count(folder) != 0; }
bool OwnedByUserOrAdministrators(const std::string& path) {
  return g_existingFiles.count(path) != 0 && g_foreignFiles.count(path) == 0;
}
void ShowRefusedProgramBox(const std::string& text) { g_calls.push_back("RefusedProgramBox " + text); }
void ShowWarningBox(const std::string& text) { g_calls.push_back("WarningBox " + text); }

uintptr_t StartWindowTimer(unsigned id, uint32_t intervalMs) {
  g_calls.push_back("StartTimer " + std::to_string(id) + " " + std::to_string(intervalMs));
  g_runningTimers.insert(id);
  return id;
}

void StopWindowTimer(unsigned id) {
  g_calls.push_back("StopTimer " + std::to_string(id));
  g_runningTimers.erase(id);
}

bool RegisterCaptureHotKey(int id, uint32_t modifiers, uint32_t virtualKey, HeldKeyRepeats repeats) {
  g_calls.push_back("RegisterHotKey " + std::to_string(id) + " " + std::to_string(modifiers) + " " +
                    std::to_string(virtualKey) + (repeats == HeldKeyRepeats::FirstPressOnly ? " once" : ""));
  if (g_refusedHotKeyIds.count(id) != 0) return false;
  g_registeredHotKeys.insert(id);
  return true;
}

void UnregisterCaptureHotKey(int id) {
  g_calls.push_back("UnregisterHotKey " + std::to_string(id));
  g_registeredHotKeys.erase(id);
}

bool InstallKeyboardHook(HookShare&) {
  g_calls.push_back("InstallHook");
  if (g_hookInstallFails) return false;
  g_hookInstalled = true;
  return true;
}

void PostHookActionRequest() { g_calls.push_back("PostHookAction"); }
void PostOwnKeysMarker() { g_calls.push_back("PostOwnKeysMarker"); }
void SendNeutralKeyPress() { g_calls.push_back("NeutralKey"); }

// The real lock is not re-entrant: taking it twice on one thread hangs the
// hook, so the fake stops the test there instead.
namespace {
bool g_hookShareHeld = false;
}
void LockHookShare() {
  if (g_hookShareHeld) std::abort();
  g_hookShareHeld = true;
}
void UnlockHookShare() { g_hookShareHeld = false; }

void RemoveKeyboardHook() {
  g_calls.push_back("RemoveHook");
  g_hookInstalled = false;
}

}  // namespace quillon

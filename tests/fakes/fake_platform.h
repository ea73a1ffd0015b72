// Scriptable fakes of the runtime's platform seams other than the registry:
// process services, sound, window timers, hot keys and the keyboard hook.
// Every call is recorded, in order, as one line of text.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace quillon::fake_platform {

// Forgets every recorded call and restores the defaults below.
void Reset();

// Lines such as "StartProgram C:\UltraMap.exe| \"C:\Q\Fly.ugc\"",
// "RegisterHotKey 100 2 116" (with " once" when a held key must not repeat
// it), "StartTimer 2 62", "StopTimer 1",
// "InstallHook", "RemoveHook", "UnregisterHotKey 100", "StopSound",
// "PlaySound C:\Q\Fly.wav", "PostHookAction", "PostOwnKeysMarker",
// "NeutralKey", "WarningBox <text>".
const std::vector<std::string>& Calls();
// Recorded calls that start with `prefix`.
std::vector<std::string> CallsStartingWith(const std::string& prefix);
void ClearCalls();

// Defaults: "C:\Quillon\quillon.exe", the common data folder
// "C:\ProgramData" ("" for one that cannot be had), clock 0, every file
// missing, every registration and installation succeeds.
void SetExecutablePath(const std::string& path);
void SetCommonAppDataFolder(const std::string& path);
void SetClock(uint32_t milliseconds);
void AdvanceClock(uint32_t milliseconds);
void SetExistingFiles(std::set<std::string> paths);
// Folders (ending with "\\") in which other users may create files, and
// existing files whose owner is neither the user nor an administrator. The
// refusal box records "RefusedProgramBox <text>".
void SetFoldersOthersMayWrite(std::set<std::string> folders);
void SetFilesOwnedByOthers(std::set<std::string> paths);
void SetRefusedHotKeyIds(std::set<int> ids);
void SetHookInstallFails(bool fails);
// Starts of these programs fail, as for a file that is not a program.
void SetProgramsThatFailToStart(std::set<std::string> programs);
// Runs `action` at each program start (nullptr: nothing).
void WhileStartingPrograms(std::function<void()> action);

// Timers currently running, by id.
const std::set<unsigned>& RunningTimers();
bool HookInstalled();
const std::set<int>& RegisteredHotKeys();

}  // namespace quillon::fake_platform

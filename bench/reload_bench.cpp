// Under Wine, against the real quillon.exe: 10,000 reloads through
// WM_RELOAD_SETTINGS, with 40 keyboard entries as hot keys and then in hook
// mode, and the runtime's handle, GDI and user object counts and private
// bytes before and after. A runtime that leaks on reload shows it here.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shared/runtime_messages.h"
#include "shared/settings_tree.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace kit = quillon::test_kit;
namespace reg = quillon::test_registry;

namespace {

struct Resources {
  long linuxRssAnonKb = -1;
  long linuxFileDescriptors = -1;
  DWORD handles = 0;
  DWORD gdiObjects = 0;
  DWORD userObjects = 0;
  SIZE_T privateBytes = 0;
};

// Wine reports neither object counts nor private bytes of another process
// (and its handles only through the system's handle list), so under Wine
// the memory comes from the Linux process that runs the runtime, read
// through Wine's Z: drive: its anonymous (private) memory, and its open file
// descriptors, Wine's share of the runtime's handles.
struct LinuxFigures {
  long rssAnonKb = -1;
  long fileDescriptors = -1;
};

std::string ReadWholeFile(const std::string& path) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

LinuxFigures LinuxFiguresOf(const char* programName) {
  LinuxFigures figures;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return figures;
  std::string folder;
  do {
    if (entry.cFileName[0] < '0' || entry.cFileName[0] > '9') continue;
    std::string candidate = std::string("Z:\\proc\\") + entry.cFileName;
    std::string commandLine = ReadWholeFile(candidate + "\\cmdline");
    if (commandLine.find(programName) != std::string::npos && commandLine.find("wine") == std::string::npos) {
      folder = candidate;
      break;
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  if (folder.empty()) return figures;
  std::string status = ReadWholeFile(folder + "\\status");
  size_t at = status.find("RssAnon:");
  if (at != std::string::npos) figures.rssAnonKb = std::atol(status.c_str() + at + 8);
  HANDLE descriptors = FindFirstFileA((folder + "\\fd\\*").c_str(), &entry);
  if (descriptors != INVALID_HANDLE_VALUE) {
    figures.fileDescriptors = 0;
    do {
      if (entry.cFileName[0] != '.') ++figures.fileDescriptors;
    } while (FindNextFileA(descriptors, &entry));
    FindClose(descriptors);
  }
  return figures;
}

// The process's entries in the system's handle list. Wine answers
// GetProcessHandleCount for another process with 0 but keeps this list.
DWORD HandlesInSystemList(DWORD processId) {
  struct Entry {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = LONG(0xC0000004);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return 0;
  std::vector<ULONG_PTR> buffer(1 << 16);  // aligned for the entries
  ULONG length = 0;
  LONG status;
  while ((status = query(kSystemHandleInformation, buffer.data(), ULONG(buffer.size() * sizeof(ULONG_PTR)), &length)) ==
             kInfoLengthMismatch &&
         buffer.size() < (1u << 26))
    buffer.resize(buffer.size() * 2);
  if (status < 0) return 0;
  ULONG count = ULONG(buffer[0]);
  const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + 1);
  DWORD handles = 0;
  for (ULONG i = 0; i < count; ++i)
    if (entries[i].processId == processId) ++handles;
  return handles;
}

Resources ResourcesOf(HANDLE process) {
  Resources r;
  GetProcessHandleCount(process, &r.handles);
  if (r.handles == 0) r.handles = HandlesInSystemList(GetProcessId(process));
  r.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  r.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
    r.privateBytes = memory.PrivateUsage;
  LinuxFigures fromLinux = LinuxFiguresOf("quillon.exe");
  r.linuxRssAnonKb = fromLinux.rssAnonKb;
  r.linuxFileDescriptors = fromLinux.fileDescriptors;
  return r;
}

void Print(const char* when, const Resources& r) {
  std::printf("  %-6s handles %lu, GDI objects %lu, user objects %lu, private bytes %llu", when,
              static_cast<unsigned long>(r.handles), static_cast<unsigned long>(r.gdiObjects),
              static_cast<unsigned long>(r.userObjects), static_cast<unsigned long long>(r.privateBytes));
  std::printf("; Linux process: private memory %ld kB, file descriptors %ld\n", r.linuxRssAnonKb,
              r.linuxFileDescriptors);
}

void MeasureReloads(bool hookMode, int reloads) {
  reg::DeleteSettingsTree();
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 1);
  reg::WriteNumber(reg::SettingsPath(), "UseHook", hookMode ? 1 : 0);
  for (int n = 1; n <= 40; ++n) {
    reg::WriteNumber(reg::KeyActionPath(n), "VirtualKey", VK_F1 + (n - 1) % 24);
    reg::WriteNumber(reg::KeyActionPath(n), "Modifier", quillon::ModifierCtrl | quillon::ModifierAlt);
    reg::WriteText(reg::KeyActionPath(n), "KeySeq", "a sequence that is typed when the key is pressed");
  }
  kit::Child runtime;
  HWND window = kit::StartRuntime(&runtime);
  if (window == nullptr) {
    std::printf("the runtime did not start\n");
    return;
  }
  HANDLE process = runtime.process;                         // full access, from the start
  SendMessageA(window, quillon::WM_RELOAD_SETTINGS, 0, 0);  // everything allocated once
  Resources before = ResourcesOf(process);
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < reloads; ++i) SendMessageA(window, quillon::WM_RELOAD_SETTINGS, 0, 0);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  Resources after = ResourcesOf(process);
  std::printf("%d reloads with 40 keyboard entries (%s): %.1f s, %.0f us per reload\n", reloads,
              hookMode ? "hook" : "hot keys", seconds, 1e6 * seconds / reloads);
  Print("before", before);
  Print("after", after);
  kit::StopAnyRuntime();
  kit::WaitForExit(runtime, kit::kGenerousTimeoutMs, nullptr);
}

// The reload's time with ten maps, without games lists and with one of
// 2,000 names beside each map: the lists are read at every load.
void MeasureGamesListReloads(int reloads) {
  const std::string folder = kit::ConfiguratorDataFolder();
  for (bool withLists : {false, true}) {
    reg::DeleteSettingsTree();
    reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
    for (int k = 0; k < 10; ++k) {
      const std::string map = "Map" + std::to_string(k);
      reg::WriteText(reg::SettingsPath(), ("Config" + std::to_string(k)).c_str(), map);
      const std::string path = folder + map + ".games";
      DeleteFileA(path.c_str());
      if (!withLists) continue;
      std::string text;
      for (int n = 0; n < 2000; ++n) text += "game" + std::to_string(k) + "x" + std::to_string(n) + "\r\n";
      HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      if (file != INVALID_HANDLE_VALUE) WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
      CloseHandle(file);
    }
    kit::Child runtime;
    HWND window = kit::StartRuntime(&runtime);
    if (window == nullptr) {
      std::printf("the runtime did not start\n");
      return;
    }
    SendMessageA(window, quillon::WM_RELOAD_SETTINGS, 0, 0);
    std::vector<double> times;
    for (int i = 0; i < reloads; ++i) {
      auto start = std::chrono::steady_clock::now();
      SendMessageA(window, quillon::WM_RELOAD_SETTINGS, 0, 0);
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%d reloads with ten maps, %s: median %.2f ms, 95th percentile %.2f ms\n", reloads,
                withLists ? "each with a games list of 2,000 names" : "no games lists", times[times.size() / 2],
                times[times.size() * 95 / 100]);
    kit::StopAnyRuntime();
    kit::WaitForExit(runtime, kit::kGenerousTimeoutMs, nullptr);
    for (int k = 0; k < 10; ++k) DeleteFileA((folder + "Map" + std::to_string(k) + ".games").c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  int reloads = argc > 1 ? std::atoi(argv[1]) : 10000;
  if (reloads < 1) reloads = 1;
  kit::StopAnyRuntime();
  MeasureReloads(false, reloads);
  MeasureReloads(true, reloads);
  MeasureGamesListReloads(reloads < 200 ? reloads : 200);
  reg::DeleteSettingsTree();
  return 0;
}

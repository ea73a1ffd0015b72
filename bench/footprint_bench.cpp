// What the release weighs: the sizes of the stripped programs, the installer
// and the portable zip as built, and the memory of the runtime idling with
// its controller poll on (16 ticks a second, no pad attached).
//
// Under Wine the memory figures are those Wine reports for the whole
// process, Wine's own libraries and their Unix side included; the runtime's
// share on Windows is a fraction of them.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "quillon_version.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace kit = quillon::test_kit;
namespace reg = quillon::test_registry;

namespace {

void PrintSize(const char* what, const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    std::printf("%-34s (not built)\n", what);
    return;
  }
  std::printf("%-34s %7.1f KB\n", what, data.nFileSizeLow / 1024.0);
}

double Megabytes(SIZE_T bytes) { return bytes / (1024.0 * 1024.0); }

}  // namespace

int main() {
  const std::string bin = kit::ProgramFolder(), package = bin + "..\\package\\";
  PrintSize("quillon.exe (stripped)", bin + "quillon.exe");
  PrintSize("QuillonConfig.exe (stripped)", bin + "QuillonConfig.exe");
  PrintSize("installer", package + "QuillonSetup-" QUILLON_VERSION_TEXT ".exe");
  PrintSize("portable zip", package + "Quillon-" QUILLON_VERSION_TEXT "-portable.zip");

  kit::StopAnyRuntime();
  reg::DeleteSettingsTree();
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteNumber(reg::SettingsPath(), "UseJoystick", 1);
  reg::WriteNumber(reg::SettingsPath(), "PollPerSecond", 16);
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", "Ultrastick 360");
  kit::Child runtime;
  if (kit::StartRuntime(&runtime) == nullptr) {
    std::printf("*** the runtime did not start\n");
    return 1;
  }
  kit::PumpMessagesFor(5000);  // start-up is over; it idles
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  bool read =
      GetProcessMemoryInfo(runtime.process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  // Committed private memory: the heaps and stacks of the process.
  SIZE_T privateBytes = 0;
  MEMORY_BASIC_INFORMATION region;
  for (char* address = nullptr; VirtualQueryEx(runtime.process, address, &region, sizeof region) == sizeof region;
       address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) privateBytes += region.RegionSize;
  }
  kit::StopAnyRuntime();
  kit::WaitForExit(runtime, kit::kGenerousTimeoutMs, nullptr);
  reg::DeleteSettingsTree();
  if (!read) {
    std::printf("*** the runtime's memory could not be read\n");
    return 1;
  }
  std::printf("%-34s %7.1f MB\n", "idle runtime: working set", Megabytes(counters.WorkingSetSize));
  std::printf("%-34s %7.1f MB\n", "idle runtime: committed private", Megabytes(privateBytes));
  return 0;
}

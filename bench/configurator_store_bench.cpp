// The configurator's two heavy walks over a full configuration (10 names, 99
// keyboard and 99 controller entries, every text 250 characters): importing
// an export file into the model, and writing the model into the registry,
// the heart of Apply and of a command-line import. Natively the file is on
// disk through the portable profile store and the registry is in memory; in
// the windows build both are Wine's own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "configurator/export_file.h"
#include "configurator/settings_model.h"
#include "tests/configurator/test_files.h"
#include "tests/kit/test_registry.h"

namespace {

std::string FullExportFile() {
  const std::string text(250, 't');
  std::string file = "[Quillon]\r\n";
  for (int i = 0; i < 10; ++i) file += "Config" + std::to_string(i) + "=" + std::string(250, char('a' + i)) + "\r\n";
  file += "UltraMapPath=" + text + "\r\nUltraMapOptions=" + text + "\r\nUseJoystick=1\r\nUseKeyboard=1\r\n";
  file += "ApplyOnStart=0\r\nSwitchDevice=" + text + "\r\nDefaultConfig=0\r\nChangeTimeout=2048\r\nUseHook=1\r\n";
  file += "PollPerSecond=16\r\n";
  for (int n = 1; n <= 99; ++n) {
    const std::string number = (n < 10 ? "0" : "") + std::to_string(n);
    std::string texts;
    for (const char* name : {"Select", "KeySeq", "AppName", "AppParms"})
      texts += std::string(name) + "=" + text + "\r\n";
    file += "[Key " + number + "]\r\nModifier=2\r\nVirtualKey=" + std::to_string(0x30 + n) +
            "\r\nSendType=0\r\nAction=0\r\n" + texts;
    file += "[Joy " + number + "]\r\nButtons=3\r\nSendType=0\r\nAction=0\r\n" + texts;
  }
  return file;
}

// The median round: on a busy machine a mean follows whoever else ran.
template <typename Walk>
double MicrosecondsPerRound(int rounds, Walk walk) {
  walk();  // warm up caches once
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    walk();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() * 1e6);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillon;
  int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
  if (rounds < 1) rounds = 1;
  const std::string folder = test_files::MakeScratchFolder("store-bench");
  const std::string file = test_files::InFolder(folder, "full.qlf");
  test_files::WriteFile(file, FullExportFile());
  // An export file is usually saved long before it is loaded. Wine reads a
  // profile file again on every call while its time stamp is recent, which
  // would time the parser of Wine rather than the import.
  std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
  ConfiguratorSettings g_model;
  ConfiguratorSession g_session;
  g_session.dataFolder = folder;
  FillDefaultConfigNames(g_session);
  test_registry::DeleteSettingsTree();

  double import = MicrosecondsPerRound(rounds, [&] { ImportFromFile(file, g_model, g_session); });
  std::printf("import of a full export file: %d rounds, median %.1f us per round, %d keys and %d buttons loaded\n",
              rounds, import, int(g_model.keyCount), int(g_model.buttonCount));
  double apply = MicrosecondsPerRound(rounds, [&] { ApplyToRegistry(g_model); });
  std::printf("write of a full tree into the registry: %d rounds, median %.1f us per round\n", rounds, apply);

  test_registry::DeleteSettingsTree();
  test_files::RemoveScratchFolder(folder);
  return 0;
}

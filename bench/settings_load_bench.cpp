// Time of one LoadSettings + UnloadSettings over a full settings tree: 10
// configurations, 99 keyboard and 99 controller entries, every text 250
// characters. Natively the tree is in the in-memory registry; in the
// windows build it is in Wine's real registry.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <memory>
#include <vector>

#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_platform.h"
#include "tests/kit/test_registry.h"

namespace reg = quillon::test_registry;

namespace {

std::string Text(char fill) { return std::string(250, fill); }

void WriteFullTree() {
  reg::DeleteSettingsTree();
  for (int i = 0; i < 10; ++i) reg::WriteText(reg::SettingsPath(), "Config" + std::to_string(i), Text(char('a' + i)));
  reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 1);
  reg::WriteNumber(reg::SettingsPath(), "UseHook", 1);
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteText(reg::SettingsPath(), "UltraMapPath", Text('p'));
  reg::WriteText(reg::SettingsPath(), "UltraMapOptions", Text('o'));
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", Text('d'));
  for (int n = 1; n <= 99; ++n) {
    for (const std::string& key : {reg::KeyActionPath(n), reg::ButtonActionPath(n)}) {
      reg::WriteNumber(key, "Modifier", 2);
      reg::WriteNumber(key, "VirtualKey", uint32_t(0x30 + n));
      reg::WriteNumber(key, "Buttons", 3);
      reg::WriteNumber(key, "SendType", 0);
      reg::WriteNumber(key, "Action", 0);
      for (const char* name : {"Select", "KeySeq", "AppName", "AppParms"}) reg::WriteText(key, name, Text('t'));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
  if (rounds < 1) rounds = 1;
  quillon::fake_platform::Reset();
  WriteFullTree();
  auto runtime = std::make_unique<quillon::Runtime>();
  quillon::LoadSettings(*runtime);  // warm up caches once
  quillon::UnloadSettings(*runtime);
  // The median round: on a busy machine a mean follows whoever else ran.
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    quillon::LoadSettings(*runtime);
    quillon::UnloadSettings(*runtime);
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() * 1e6);
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "settings load+unload (%s registry): %d rounds, median %.1f us per round, %u keys and %u buttons loaded\n",
#if QUILLON_FAKE_REGISTRY
      "in-memory",
#else
      "Win32",
#endif
      rounds, times[times.size() / 2], 99u, 99u);
  reg::DeleteSettingsTree();
  return 0;
}

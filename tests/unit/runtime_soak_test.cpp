// A seeded soak of the runtime against the fakes: random presses and
// releases of keys and pad buttons in both capture modes, reloads, the
// switcher opened (now and then with a key pressed while it is open) and
// dismissed, hold words, and exits. After every step each press has run its
// entry exactly once; after every exit nothing that the runtime pressed is
// still down. QUILLON_SOAK_STEPS sets the number of steps (a few seconds'
// worth by default), QUILLON_SOAK_SEED the seed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>

#include "runtime/controller_poll.h"
#include "runtime/keyboard_capture.h"
#include "runtime/own_keys.h"
#include "runtime/runtime_ending.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_app_switcher.h"
#include "tests/fakes/fake_controller.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_window_system.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

namespace reg = test_registry;
namespace pad = fake_controller;

// An entry's trace in the fakes: the program of its own name started
// ("Start"), a burst typed ("Type"), or the switcher shown ("Switcher").
struct Row {
  uint32_t modifier;  // keys
  uint32_t trigger;   // virtual key, or Buttons mask
  uint32_t action;
  const char* keySeq;
  const char* trace;
};

const Row kKeys[] = {
    {0, 0x70, RunApplication, nullptr, "Start key1"}, {ModifierAlt, 0x71, RunApplication, nullptr, "Start key2"},
    {0, 0x72, StuffKeys, "{SHIFT DOWN}", "Type"},     {0, 0x73, StuffKeys, "{SHIFT UP}x", "Type"},
    {0, 0x74, ShowSwitcher, nullptr, "Switcher"},     {ModifierCtrl, 0x75, StuffKeys, "{CTRL DOWN}{ALT DOWN}a", "Type"},
};
const Row kButtons[] = {
    {0, 1, RunApplication, nullptr, "Start pad1"},
    {0, 2 | 4, StuffKeys, "{ALT DOWN}", "Type"},
    {0, 8, ShowSwitcher, nullptr, "Switcher"},
};

void WriteEntry(const std::string& path, const Row& row, const char* program) {
  reg::WriteNumber(path, "Action", row.action);
  reg::WriteText(path, "AppName", program);
  if (row.keySeq) reg::WriteText(path, "KeySeq", row.keySeq);
}

void WriteSettings(bool hookMode) {
  reg::DeleteSettingsTree();
  for (const char* name : {"UseKeyboard", "UseJoystick"}) reg::WriteNumber(reg::SettingsPath(), name, 1);
  reg::WriteNumber(reg::SettingsPath(), "UseHook", hookMode ? 1 : 0);
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", "Soak Pad");
  for (int n = 1; n <= int(std::size(kKeys)); ++n) {
    reg::WriteNumber(reg::KeyActionPath(n), "Modifier", kKeys[n - 1].modifier);
    reg::WriteNumber(reg::KeyActionPath(n), "VirtualKey", kKeys[n - 1].trigger);
    WriteEntry(reg::KeyActionPath(n), kKeys[n - 1], ("key" + std::to_string(n)).c_str());
  }
  for (int n = 1; n <= int(std::size(kButtons)); ++n) {
    reg::WriteNumber(reg::ButtonActionPath(n), "Buttons", kButtons[n - 1].trigger);
    WriteEntry(reg::ButtonActionPath(n), kButtons[n - 1], ("pad" + std::to_string(n)).c_str());
  }
}

// How often each trace appears in the fakes' logs.
std::map<std::string, int> Traces() {
  std::map<std::string, int> seen;
  for (const std::string& call : fake_platform::CallsStartingWith("StartProgram "))
    ++seen["Start " + call.substr(13, call.find('|') - 13)];
  for (const std::string& call : fake_window_system::Calls()) seen["Switcher"] += call == "ShowAppSwitcher";
  for (const std::string& call : fake_keyboard::Calls()) seen["Type"] += call == "BlockInput 1";
  std::erase_if(seen, [](const auto& item) { return item.second == 0; });
  return seen;
}

std::string Describe(const std::map<std::string, int>& traces) {
  std::string text;
  for (const auto& [trace, count] : traces) text += trace + " " + std::to_string(count) + "; ";
  return text;
}

class Soak {
 public:
  explicit Soak(uint64_t seed) : random_(seed) {}

  // A start of the runtime: its state and the fakes' start empty.
  void Start() {
    rt = Runtime{};
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_window_system::Reset();
    pad::Reset();
    pad_ = pad::AddPad("Soak Pad", 10);
    fake_app_switcher::WhileOpen([this] { WhileSwitcherOpen(); });
    expected_.clear();
    WriteSettings(random_() % 2 == 0);
    LoadSettings(rt);
    PollController(rt);  // the first tick only acquires
  }

  // One random step; "" when every invariant holds, else what broke.
  std::string Step() {
    int choice = int(random_() % 100);
    if (choice < 40) PressKey();
    else if (choice < 45) MainThreadTurn();
    else if (choice < 75) PressButtons();
    else if (choice < 85) Hold(0);
    else if (choice < 97) Reload();
    else return Exit();
    return Traces() == expected_ ? "" : "seen " + Describe(Traces()) + "\nmeant " + Describe(expected_);
  }

  std::string Exit() {
    Hold(0);
    EndRuntime(rt);
    pending_.clear();
    std::set<uint32_t> down;
    for (const KeyEvent& event : fake_keyboard::InsertedEvents()) {
      if (event.flags & kKeyEventKeyUp) down.erase(event.virtualKey);
      else down.insert(event.virtualKey);
    }
    if (!down.empty()) return "after exit key " + std::to_string(*down.begin()) + " is still down";
    if (pad::OpenDeviceCount() != 0 || pad::UsesAfterClose() != 0) return "the pad was left open or used closed";
    if (Traces() != expected_) return "at exit seen " + Describe(Traces()) + "\nmeant " + Describe(expected_);
    ForgetRuntimeEnd();
    Start();  // the next day: the fakes start empty, so their logs stay small
    return "";
  }

 private:
  Runtime rt;
  void Reload() {
    Hold(0);
    UnloadSettings(rt);
    pending_.clear();  // queued under the old settings: they run nothing
    WriteSettings(random_() % 2 == 0);
    LoadSettings(rt);
    PollController(rt);
  }

  // A hot key runs at once; a hooked key runs on the main thread's turn,
  // now or some steps later (unless a reload comes first).
  void PressKey() {
    size_t row = random_() % std::size(kKeys);
    if (!rt.settings.useHook) {
      ++expected_[kKeys[row].trace];
      RunHotKeyAction(rt, uintptr_t(HotKeyIdOf(uint32_t(row + 1))));
      OwnKeysMarkerArrived(rt.ownKeys);
      return;
    }
    EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, kKeys[row].trigger, kKeys[row].modifier, 0));
    HandleHookKeyUp(rt.capture.hook, kKeys[row].trigger);
    pending_.push_back(row);
    if (random_() % 2 == 0 || pending_.size() > 3) MainThreadTurn();
  }

  void MainThreadTurn() {
    while (!pending_.empty()) {
      ++expected_[kKeys[pending_.front()].trace];
      pending_.erase(pending_.begin());
      RunPostedHookAction(rt);
    }
  }

  // The switcher's menu loop runs what arrives meanwhile: now and then a
  // key (not a second time inside that one).
  void WhileSwitcherOpen() {
    if (insideSwitcher_ || random_() % 4 != 0) return;
    insideSwitcher_ = true;
    PressKey();
    insideSwitcher_ = false;
  }

  // A combination held for a few ticks runs once, unless one that matches
  // is held already: then the press goes on with what it holds.
  void PressButtons() {
    uint32_t mask = uint32_t(random_() % 16);
    const Row* before = Matching(held_);
    const Row* after = Matching(mask);
    if (after != nullptr && before == nullptr) ++expected_[after->trace];
    if (after != nullptr && before != nullptr) mask = held_;
    Hold(mask, int(random_() % 3) + 1);
  }

  void Hold(uint32_t mask, int ticks = 1) {
    std::vector<int> buttons;
    for (int b = 0; b < 10; ++b)
      if (mask & (1u << b)) buttons.push_back(b + 1);
    pad::HoldButtons(pad_, buttons);
    held_ = mask;
    while (ticks-- > 0) PollController(rt);
  }

  static const Row* Matching(uint32_t mask) {
    for (const Row& row : kButtons)
      if (mask != 0 && (mask & row.trigger) == row.trigger) return &row;
    return nullptr;
  }

  std::mt19937_64 random_;
  int pad_ = 0;
  bool insideSwitcher_ = false;
  uint32_t held_ = 0;
  std::vector<size_t> pending_;
  std::map<std::string, int> expected_;
};

uint64_t FromEnvironment(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

TEST(RuntimeSoakTest, EveryPressRunsOnceAndNothingStaysDownAfterAnyExit) {
  const uint64_t steps = FromEnvironment("QUILLON_SOAK_STEPS", 10000);
  const uint64_t seed = FromEnvironment("QUILLON_SOAK_SEED", 19);
  Soak soak(seed);
  soak.Start();
  for (uint64_t step = 0; step < steps; ++step) {
    std::string failure = soak.Step();
    ASSERT_EQ(failure, "") << "seed " << seed << ", step " << step;
  }
  ASSERT_EQ(soak.Exit(), "") << "seed " << seed << ", final exit";
  fake_app_switcher::WhileOpen(nullptr);
  std::printf("soak: %llu steps, seed %llu\n", static_cast<unsigned long long>(steps),
              static_cast<unsigned long long>(seed));
}

}  // namespace
}  // namespace quillon

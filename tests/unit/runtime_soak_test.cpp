// A seeded soak of the runtime against the fakes: random presses and
// releases of keys and pad buttons in both capture modes, reloads, the
// switcher opened (now and then with a key pressed while it is open) and dismissed, hold
// words, and exits. After every step each press has run its entry exactly
// once; after every exit nothing that the runtime pressed is still down.
// QUILLON_SOAK_STEPS sets the number of steps (a few seconds' worth by
// default), QUILLON_SOAK_SEED the seed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>

#include "runtime/controller_poll.h"
#include "runtime/keyboard_capture.h"
#include "runtime/own_keys.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
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

constexpr const char* kPadName = "Soak Pad";

// What an entry does, as the soak sees it: start a program of its own name,
// type (a hold word or text), or show the switcher.
enum class Effect { Start, Type, Switcher };

struct KeyRow {
  uint32_t modifier;
  uint32_t virtualKey;
  uint32_t action;
  const char* keySeq;
  Effect effect;
};

const KeyRow kKeys[] = {
    {0, 0x70, RunApplication, nullptr, Effect::Start},
    {ModifierAlt, 0x71, RunApplication, nullptr, Effect::Start},
    {0, 0x72, StuffKeys, "{SHIFT DOWN}", Effect::Type},
    {0, 0x73, StuffKeys, "{SHIFT UP}x", Effect::Type},
    {0, 0x74, ShowSwitcher, nullptr, Effect::Switcher},
    {ModifierCtrl, 0x75, StuffKeys, "{CTRL DOWN}{ALT DOWN}a", Effect::Type},
};

struct ButtonRow {
  uint32_t buttons;
  uint32_t action;
  const char* keySeq;
  Effect effect;
};

const ButtonRow kButtons[] = {
    {1, RunApplication, nullptr, Effect::Start},
    {2 | 4, StuffKeys, "{ALT DOWN}", Effect::Type},
    {8, ShowSwitcher, nullptr, Effect::Switcher},
};

std::string KeyProgram(size_t row) { return "key" + std::to_string(row + 1); }
std::string ButtonProgram(size_t row) { return "pad" + std::to_string(row + 1); }

void WriteSettings(bool hookMode) {
  reg::DeleteSettingsTree();
  reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 1);
  reg::WriteNumber(reg::SettingsPath(), "UseHook", hookMode ? 1 : 0);
  reg::WriteNumber(reg::SettingsPath(), "UseJoystick", 1);
  reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
  reg::WriteNumber(reg::SettingsPath(), "PollPerSecond", 16);
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", kPadName);
  for (size_t n = 0; n < std::size(kKeys); ++n) {
    std::string path = reg::KeyActionPath(int(n + 1));
    reg::WriteNumber(path, "Modifier", kKeys[n].modifier);
    reg::WriteNumber(path, "VirtualKey", kKeys[n].virtualKey);
    reg::WriteNumber(path, "Action", kKeys[n].action);
    reg::WriteText(path, "AppName", KeyProgram(n));
    if (kKeys[n].keySeq) reg::WriteText(path, "KeySeq", kKeys[n].keySeq);
  }
  for (size_t n = 0; n < std::size(kButtons); ++n) {
    std::string path = reg::ButtonActionPath(int(n + 1));
    reg::WriteNumber(path, "Buttons", kButtons[n].buttons);
    reg::WriteNumber(path, "Action", kButtons[n].action);
    reg::WriteText(path, "AppName", ButtonProgram(n));
    if (kButtons[n].keySeq) reg::WriteText(path, "KeySeq", kButtons[n].keySeq);
  }
}

// Counts of what the fakes saw: programs started by name, switcher showings,
// typed bursts.
struct Observed {
  std::map<std::string, int> started;
  int switcher = 0;
  int typed = 0;
  bool operator==(const Observed&) const = default;
};

Observed Observe() {
  Observed seen;
  for (const std::string& call : fake_platform::CallsStartingWith("StartProgram "))
    ++seen.started[call.substr(13, call.find('|') - 13)];
  for (const std::string& call : fake_window_system::Calls()) seen.switcher += call == "ShowAppSwitcher";
  for (const std::string& call : fake_keyboard::Calls()) seen.typed += call == "BlockInput 1";
  return seen;
}

std::string Describe(const Observed& o) {
  std::string text = "switcher " + std::to_string(o.switcher) + ", typed " + std::to_string(o.typed);
  for (const auto& [name, count] : o.started) text += ", " + name + " " + std::to_string(count);
  return text;
}

// Virtual keys still down after replaying every event the runtime inserted.
std::set<uint32_t> KeysLeftDown() {
  std::set<uint32_t> down;
  for (const KeyEvent& event : fake_keyboard::InsertedEvents()) {
    if (event.flags & kKeyEventKeyUp) down.erase(event.virtualKey);
    else down.insert(event.virtualKey);
  }
  return down;
}

uint64_t FromEnvironment(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

class Soak {
 public:
  explicit Soak(uint64_t seed) : random_(seed) {}

  void Start() {
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_window_system::Reset();
    pad::Reset();
    pad_ = pad::AddPad(kPadName, 10);
    fake_app_switcher::WhileOpen([this] { WhileSwitcherOpen(); });
    expected_ = Observed{};
    Load();
  }

  // One random step; false (with `failure` set) when an invariant broke.
  bool Step(std::string* failure) {
    int choice = int(random_() % 100);
    if (choice < 40) PressKey();
    else if (choice < 45) MainThreadTurn();
    else if (choice < 75) PressButtons();
    else if (choice < 85) ReleaseButtons();
    else if (choice < 97) Reload();
    else return Exit(failure);
    if (Observe() != expected_) {
      *failure = "seen: " + Describe(Observe()) + "\nmeant: " + Describe(expected_);
      return false;
    }
    return true;
  }

  bool Exit(std::string* failure) {
    ReleaseButtons();
    EndRuntime();
    pending_.clear();
    std::set<uint32_t> down = KeysLeftDown();
    if (!down.empty()) {
      *failure = "after exit " + std::to_string(down.size()) + " key(s) still down, first " +
                 std::to_string(*down.begin());
      return false;
    }
    if (pad::OpenDeviceCount() != 0 || pad::UsesAfterClose() != 0) {
      *failure = "the pad was left open or used after closing";
      return false;
    }
    if (Observe() != expected_) {
      *failure = "at exit seen: " + Describe(Observe()) + "\nmeant: " + Describe(expected_);
      return false;
    }
    Start();  // the next day: the fakes start empty, so their logs stay small
    return true;
  }

 private:
  void Load() {
    hookMode_ = random_() % 2 == 0;
    WriteSettings(hookMode_);
    LoadSettings();
    PollController();  // the first tick only acquires
    held_ = 0;
  }

  void Reload() {
    ReleaseButtons();
    UnloadSettings();
    pending_.clear();  // queued under the old settings: they run nothing
    LoadSettings();
    PollController();
  }

  void Expect(Effect effect, const std::string& program) {
    switch (effect) {
      case Effect::Start:
        ++expected_.started[program];
        break;
      case Effect::Type:
        ++expected_.typed;
        break;
      case Effect::Switcher:
        ++expected_.switcher;
        break;
    }
  }

  // A user's key press: a hot key, or the hook's decision with the action
  // run on the main thread's turn (now, or some steps later). Sometimes the
  // switcher a key opens gets another key while it is open.
  void PressKey() {
    size_t row = random_() % std::size(kKeys);
    const KeyRow& key = kKeys[row];
    if (!hookMode_) {
      Expect(key.effect, KeyProgram(row));
      RunHotKeyAction(uintptr_t(HotKeyIdOf(uint32_t(row + 1))));
      OwnKeysMarkerArrived();
    } else {
      EXPECT_TRUE(HandleHookKeyDown(key.virtualKey, key.modifier, 0));
      HandleHookKeyUp(key.virtualKey);
      pending_.push_back(row);
      if (random_() % 2 == 0 || pending_.size() > 3) MainThreadTurn();
    }
  }

  // The switcher's menu loop runs what arrives meanwhile: now and then a
  // key, pressed while the menu is open (not a second time inside that).
  void WhileSwitcherOpen() {
    if (insideSwitcher_ || random_() % 4 != 0) return;
    insideSwitcher_ = true;
    PressKey();
    insideSwitcher_ = false;
  }

  void MainThreadTurn() {
    while (!pending_.empty()) {
      size_t row = pending_.front();
      pending_.erase(pending_.begin());
      Expect(kKeys[row].effect, KeyProgram(row));
      RunPostedHookAction();
    }
  }

  // A combination pressed and held for a few ticks: one run, unless the
  // buttons held already match an entry (the press goes on).
  void PressButtons() {
    uint32_t mask = uint32_t(random_() % 16);
    const ButtonRow* before = Matching(held_);
    const ButtonRow* after = Matching(mask);
    if (after != nullptr && before == nullptr)
      Expect(after->effect, ButtonProgram(size_t(after - kButtons)));
    // A press that goes on (another bound combination while one is held)
    // keeps what it holds.
    if (after != nullptr && before != nullptr) mask = held_;
    Hold(mask);
    for (int tick = int(random_() % 3) + 1; tick > 0; --tick) PollController();
  }

  void ReleaseButtons() {
    Hold(0);
    PollController();
  }

  void Hold(uint32_t mask) {
    std::vector<int> buttons;
    for (int b = 0; b < 10; ++b)
      if (mask & (1u << b)) buttons.push_back(b + 1);
    pad::HoldButtons(pad_, buttons);
    held_ = mask;
  }

  static const ButtonRow* Matching(uint32_t mask) {
    if (mask == 0) return nullptr;
    for (const ButtonRow& row : kButtons)
      if ((mask & row.buttons) == row.buttons) return &row;
    return nullptr;
  }

  std::mt19937_64 random_;
  int pad_ = 0;
  bool hookMode_ = false;
  bool insideSwitcher_ = false;
  uint32_t held_ = 0;
  std::vector<size_t> pending_;
  Observed expected_;
};

TEST(RuntimeSoakTest, EveryPressRunsOnceAndNothingStaysDownAfterAnyExit) {
  const uint64_t steps = FromEnvironment("QUILLON_SOAK_STEPS", 10000);
  const uint64_t seed = FromEnvironment("QUILLON_SOAK_SEED", 19);
  Soak soak(seed);
  soak.Start();
  std::string failure;
  for (uint64_t step = 0; step < steps; ++step)
    ASSERT_TRUE(soak.Step(&failure)) << "seed " << seed << ", step " << step << ": " << failure;
  ASSERT_TRUE(soak.Exit(&failure)) << "seed " << seed << ", final exit: " << failure;
  fake_app_switcher::WhileOpen(nullptr);
  std::printf("soak: %llu steps, seed %llu\n", static_cast<unsigned long long>(steps),
              static_cast<unsigned long long>(seed));
}

}  // namespace
}  // namespace quillon

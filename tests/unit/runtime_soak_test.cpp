// A seeded soak of the runtime against the fakes: random presses and
// releases of keys and pad buttons in both capture modes, reloads, the
// switcher opened (now and then with a key pressed while it is open) and
// dismissed, hold words, hold and repeat entries (their keys held for some
// steps, the keyboard repeating meanwhile, their timers firing), and exits.
// After every step each press has run its entry exactly once and no key is
// down that something held explains: a hold word since the last load, or the
// hooked key of a hold entry still held; after every exit nothing that the
// runtime pressed is still down. QUILLON_SOAK_STEPS sets the number of steps (a few seconds'
// worth by default), QUILLON_SOAK_SEED the seed.
#include <gtest/gtest.h>

#include <bitset>
#include <cstdlib>
#include <cstring>
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
#include "runtime/held_actions.h"
#include "runtime/seams/window_timers.h"

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
    {0, 0x70, RunApplication, nullptr, "Start key1"},
    {ModifierAlt, 0x71, RunApplication, nullptr, "Start key2"},
    {0, 0x72, StuffKeys, "{SHIFT DOWN}", "Type"},
    {0, 0x73, StuffKeys, "{SHIFT UP}x", "Type"},
    {0, 0x74, ShowSwitcher, nullptr, "Switcher"},
    {ModifierCtrl, 0x75, StuffKeys, "{CTRL DOWN}{ALT DOWN}a", "Type"},
    // A hold puts its keys down without a burst; a repeat types one at its
    // start and at every tick.
    {0, 0x76, HoldKeys, "{LEFT}b", ""},
    {0, 0x77, RepeatKeys, "{RIGHT}", "Type"},
};
const Row kButtons[] = {
    {0, 1, RunApplication, nullptr, "Start pad1"},
    {0, 2 | 4, StuffKeys, "{ALT DOWN}", "Type"},
    {0, 8, ShowSwitcher, nullptr, "Switcher"},
    // Held for as long as the combination is, as the keys' hold and repeat.
    {0, 16, HoldKeys, "{UP}", ""},
    {0, 32, RepeatKeys, "{DOWN}", "Type"},
};

// The keys that `sequence`'s hold words and held keys may leave down: the
// generic modifier and both of its sides, or the key itself.
std::bitset<256> KeysHeldBy(const char* sequence) {
  std::bitset<256> keys;
  KeyEventList list;
  if (sequence == nullptr || ParseKeySequence(sequence, &list) != 0) return keys;
  for (uint32_t n = 0; n < list.count; ++n) {
    const uint16_t key = list.events[n].virtualKey & 0xFF;
    keys.set(key);
    if (key >= 0x10 && key <= 0x12) keys.set(0xA0 + 2 * (key - 0x10)).set(0xA1 + 2 * (key - 0x10));
  }
  FreeKeyEventList(&list);
  return keys;
}

bool HasHoldWord(const char* sequence) { return sequence != nullptr && std::strstr(sequence, " DOWN}") != nullptr; }
bool Lasts(const Row& row) { return row.action == HoldKeys || row.action == RepeatKeys; }

void WriteEntry(const std::string& path, const Row& row, const char* program) {
  reg::WriteNumber(path, "Action", row.action);
  reg::WriteText(path, "AppName", program);
  if (row.keySeq) reg::WriteText(path, "KeySeq", row.keySeq);
  if (row.action == RepeatKeys) reg::WriteNumber(path, "Repeat", 50);
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
    ForgetPresses();
    heldByHand_.reset();  // let go of while no runtime ran
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
    else if (choice < 82) Hold(0);
    else if (choice < 87) RepeatTicks();
    else if (choice < 97) Reload();
    else return Exit();
    if (Traces() != expected_) return "seen " + Describe(Traces()) + "\nmeant " + Describe(expected_);
    return UnexplainedKeyDown();
  }

  std::string Exit() {
    Hold(0);
    EndRuntime(rt);
    ForgetPresses();
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
    ForgetPresses();  // queued under the old settings: they run nothing
    WriteSettings(random_() % 2 == 0);
    LoadSettings(rt);
    PollController(rt);
  }

  // A hot key runs at once; a hooked key runs on the main thread's turn,
  // now or some steps later (unless a reload comes first).
  void PressKey() {
    size_t row = random_() % std::size(kKeys);
    if (!rt.settings.useHook) {
      // A hot key sees no release: a hold entry types once.
      Expect(kKeys[row].action == HoldKeys ? "Type" : kKeys[row].trace);
      if (HasHoldWord(kKeys[row].keySeq)) holdWords_ |= KeysHeldBy(kKeys[row].keySeq);
      RunHotKeyAction(rt, uintptr_t(HotKeyIdOf(uint32_t(row + 1))));
      OwnKeysMarkerArrived(rt.ownKeys);
      return;
    }
    const uint32_t key = kKeys[row].trigger;
    if (!Lasts(kKeys[row])) {
      EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, key, kKeys[row].modifier, 0));
      HandleHookKeyUp(rt.capture.hook, key);
      pending_.push_back({row, false});
    } else if (!heldByHand_.test(key)) {
      // Held for some steps: its end is the key's release.
      EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, key, kKeys[row].modifier, 0));
      heldByHand_.set(key);
      lasting_.set(key);
      pending_.push_back({row, false});
    } else if (random_() % 3 == 0) {
      // The keyboard's own repeat: swallowed, and it starts nothing, unless
      // a reload ended the press: then it is a press of its own.
      EXPECT_TRUE(HandleHookKeyDown(rt.capture.hook, key, kKeys[row].modifier, 0));
      if (!lasting_.test(key)) pending_.push_back({row, false});
      lasting_.set(key);
    } else {
      heldByHand_.reset(key);
      // A press that a reload ended has its release pass through.
      EXPECT_EQ(HandleHookKeyUp(rt.capture.hook, key), lasting_.test(key));
      if (lasting_.test(key)) pending_.push_back({row, true});
    }
    if (random_() % 2 == 0 || pending_.size() > 3) MainThreadTurn();
  }

  void MainThreadTurn() {
    while (!pending_.empty()) {
      const Pending next = pending_.front();
      pending_.erase(pending_.begin());
      const Row& row = kKeys[next.row];
      if (next.release) {
        lasting_.reset(row.trigger);
        repeating_.erase(next.row);
      } else {
        Expect(row.trace);
        // A release processed before it may have ended an earlier press.
        if (Lasts(row)) lasting_.set(row.trigger);
        if (HasHoldWord(row.keySeq)) holdWords_ |= KeysHeldBy(row.keySeq);
        if (row.action == RepeatKeys) repeating_.insert(next.row);
      }
      RunPostedHookAction(rt);
    }
  }

  // The window timers of the repeats fire: each repeat under way types once.
  void RepeatTicks() {
    for (size_t row : repeating_) Expect(kKeys[row].trace);
    if (padLasting_ != nullptr && padLasting_->action == RepeatKeys) Expect(padLasting_->trace);
    for (unsigned id = FirstRepeatTimerId; id < FirstRepeatTimerId + kMaxRepeatingPresses; ++id)
      RepeatPressTimer(rt, id);
  }

  void Expect(const char* trace) {
    if (*trace != '\0') ++expected_[trace];
  }

  // A reload or an exit ended every press; the hand may still hold keys.
  void ForgetPresses() {
    pending_.clear();
    lasting_.reset();
    repeating_.clear();
    holdWords_.reset();
    padLasting_ = nullptr;
  }

  // What is down with nothing held to explain it.
  std::string UnexplainedKeyDown() const {
    std::bitset<256> explained = holdWords_;
    for (const Row& row : kKeys)
      if (row.action == HoldKeys && lasting_.test(row.trigger)) explained |= KeysHeldBy(row.keySeq);
    if (padLasting_ != nullptr && padLasting_->action == HoldKeys) explained |= KeysHeldBy(padLasting_->keySeq);
    for (uint16_t key = 1; key < 256; ++key)
      if (fake_keyboard::KeyDown(key) && !explained.test(key))
        return "key " + std::to_string(key) + " is down with nothing held to explain it";
    return "";
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
    uint32_t mask = uint32_t(random_() % 64);
    const Row* before = Matching(held_);
    const Row* after = Matching(mask);
    if (after != nullptr && before == nullptr) {
      Expect(after->trace);
      if (HasHoldWord(after->keySeq)) holdWords_ |= KeysHeldBy(after->keySeq);
      padLasting_ = Lasts(*after) ? after : nullptr;
    }
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
    if (Matching(mask) == nullptr) padLasting_ = nullptr;  // the combination's release ended its press
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
  const Row* padLasting_ = nullptr;  // the pad entry whose hold or repeat is under way
  struct Pending {
    size_t row;
    bool release;
  };
  std::vector<Pending> pending_;
  std::bitset<256> heldByHand_;  // hooked keys of hold and repeat entries
  std::bitset<256> lasting_;     // ... whose press the runtime has under way
  std::set<size_t> repeating_;   // repeat rows whose press has started
  std::bitset<256> holdWords_;   // keys hold words put down since the load
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

#include "runtime/held_actions.h"

#include <algorithm>

#include "runtime/key_injection.h"
#include "runtime/own_keys.h"
#include "runtime/runtime_ending.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/window_timers.h"

namespace quillon {

namespace {

// The keys that the holds other than `except` have down: two pads holding
// the same key share the system's one bit of it, which goes up with the
// last of them.
std::bitset<256> KeysOfOtherHolds(const PressState& presses, const PressSource* except) {
  std::bitset<256> keys;
  for (const PressState::Hold& hold : presses.holds)
    if (except == nullptr || !(hold.source == *except))
      for (const KeyEvent& event : hold.keys.down) keys.set(event.virtualKey & 0xFF);
  return keys;
}

unsigned FreeRepeatTimer(const PressState& presses) {
  for (unsigned id = FirstRepeatTimerId; id < FirstRepeatTimerId + kMaxRepeatingPresses; ++id) {
    auto same = [id](const PressState::Repeat& repeat) { return repeat.timerId == id; };
    if (std::none_of(presses.repeats.begin(), presses.repeats.end(), same)) return id;
  }
  return 0;
}

void StartHold(Runtime& runtime, PressSource source, const std::string& keySeq) {
  PressedKeys keys =
      PressSequenceKeys(runtime.held, keySeq.c_str(), UserModifierWatch(runtime), runtime.capture.userHeldAtKey);
  if (keys.down.empty()) return;
  NoteOwnKeyDowns(runtime, keys.down);
  runtime.presses.holds.push_back({source, std::move(keys)});
}

void StartRepeat(Runtime& runtime, PressSource source, const std::string& keySeq, uint32_t repeatMs) {
  const std::bitset<256> heldBefore = runtime.held.Keys();
  // Typing may pump messages, and with them a reload or the end: the timer
  // starts only if the press is still there to be repeated.
  TypeOwnKeys(runtime, keySeq.c_str());
  if (RuntimeEnding()) return;
  const unsigned timerId = FreeRepeatTimer(runtime.presses);
  if (timerId == 0) return;  // too many at once: this one typed once
  if (StartWindowTimer(timerId, repeatMs) == 0) return;
  runtime.presses.repeats.push_back({source, keySeq, timerId, heldBefore});
}

void EndHold(Runtime& runtime, size_t index) {
  PressState::Hold hold = std::move(runtime.presses.holds[index]);
  runtime.presses.holds.erase(runtime.presses.holds.begin() + std::ptrdiff_t(index));
  LetGoOfPressedKeys(runtime.held, hold.keys, KeysOfOtherHolds(runtime.presses, nullptr), UserModifierWatch(runtime));
}

void EndRepeat(Runtime& runtime, size_t index) {
  PressState::Repeat repeat = std::move(runtime.presses.repeats[index]);
  runtime.presses.repeats.erase(runtime.presses.repeats.begin() + std::ptrdiff_t(index));
  StopWindowTimer(repeat.timerId);
  // What the sequence's hold words left down since the press began, but
  // what a hold has down.
  const std::bitset<256> left = runtime.held.Keys() & ~repeat.heldBefore & ~KeysOfOtherHolds(runtime.presses, nullptr);
  if (left.none()) return;
  PressedKeys leftDown;
  for (size_t key = 0; key < left.size(); ++key)
    if (left.test(key)) {
      KeyEvent event;
      event.virtualKey = uint16_t(key);
      leftDown.down.push_back(event);
    }
  LetGoOfPressedKeys(runtime.held, leftDown, {}, {});
}

}  // namespace

void StartHeldAction(Runtime& runtime, PressSource source, uint32_t action, const std::string& keySeq,
                     uint32_t repeatMs) {
  if (RuntimeEnding()) return;
  if (source.kind == PressSource::Kind::Once) {
    // No end will be reported: the keys go down and up as written.
    TypeOwnKeys(runtime, keySeq.c_str());
    return;
  }
  EndPress(runtime, source);
  if (action == HoldKeys) StartHold(runtime, source, keySeq);
  else if (action == RepeatKeys) StartRepeat(runtime, source, keySeq, repeatMs);
}

void EndPress(Runtime& runtime, PressSource source) {
  PressState& presses = runtime.presses;
  for (size_t i = presses.holds.size(); i-- > 0;)
    if (presses.holds[i].source == source) EndHold(runtime, i);
  for (size_t i = presses.repeats.size(); i-- > 0;)
    if (presses.repeats[i].source == source) EndRepeat(runtime, i);
}

void EndEveryPress(Runtime& runtime) {
  while (!runtime.presses.repeats.empty()) EndRepeat(runtime, runtime.presses.repeats.size() - 1);
  while (!runtime.presses.holds.empty()) EndHold(runtime, runtime.presses.holds.size() - 1);
}

bool AnyPressUnderWay(const Runtime& runtime) {
  return !runtime.presses.holds.empty() || !runtime.presses.repeats.empty();
}

bool RepeatPressTimer(Runtime& runtime, unsigned timerId) {
  if (timerId < FirstRepeatTimerId || timerId >= FirstRepeatTimerId + kMaxRepeatingPresses) return false;
  auto repeat = std::find_if(runtime.presses.repeats.begin(), runtime.presses.repeats.end(),
                             [timerId](const PressState::Repeat& r) { return r.timerId == timerId; });
  if (repeat == runtime.presses.repeats.end()) {
    // A tick already queued when its press ended.
    StopWindowTimer(timerId);
    return true;
  }
  // A copy: typing may pump messages, and a reload meanwhile ends the press.
  const std::string keySeq = repeat->keySeq;
  TypeOwnKeys(runtime, keySeq.c_str());
  return true;
}

}  // namespace quillon

#include "runtime/key_injection.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "runtime/runtime_ending.h"
#include "shared/key_sequence_parser.h"
#include "runtime/seams/input_injection.h"
#include "shared/seams/keyboard_layout.h"

namespace quillon {

namespace {

constexpr int32_t kRefused = -2;
constexpr int32_t kFault = -3;

// The modifier keys as a keyboard sends them. The right Ctrl and Alt and
// both Windows keys are extended keys; the sided codes say which Shift is
// meant, where the generic code with its scan code would leave the side to
// how the system reads scan codes.
struct ModifierKeyCode {
  uint32_t bit;
  uint16_t virtualKey;
  uint16_t scanCode;
  uint32_t flags;
};
constexpr ModifierKeyCode kModifierKeyCodes[] = {
    {kLeftShiftKey, 0xA0, 0x2A, 0},
    {kRightShiftKey, 0xA1, 0x36, 0},
    {kLeftCtrlKey, 0xA2, 0x1D, 0},
    {kRightCtrlKey, 0xA3, 0x1D, kKeyEventExtended},
    {kLeftAltKey, 0xA4, 0x38, 0},
    {kRightAltKey, 0xA5, 0x38, kKeyEventExtended},
    {kLeftWinKey, 0x5B, 0x5B, kKeyEventExtended},
    {kRightWinKey, 0x5C, 0x5C, kKeyEventExtended},
};
constexpr uint32_t kAltOrWinKeys = kLeftAltKey | kRightAltKey | kLeftWinKey | kRightWinKey;

// 0xE8 is a virtual key that no keyboard has and no program acts on. Alt or
// a Windows key that goes down and up with no key in between opens the menu
// bar or the Start menu; this key goes in between.
constexpr uint16_t kNeutralKey = 0xE8;

// Which modifier key an event presses or releases (0 for none). The generic
// codes are sided as the system does it: Ctrl and Alt by the extended flag,
// Shift by the right key's scan code.
uint32_t ModifierKeyOf(const KeyEvent& event) {
  const bool extended = (event.flags & kKeyEventExtended) != 0;
  switch (event.virtualKey) {
    case 0x10: return event.scanCode == 0x36 ? kRightShiftKey : kLeftShiftKey;
    case 0x11: return extended ? kRightCtrlKey : kLeftCtrlKey;
    case 0x12: return extended ? kRightAltKey : kLeftAltKey;
    default: break;
  }
  for (const ModifierKeyCode& code : kModifierKeyCodes)
    if (code.virtualKey == event.virtualKey) return code.bit;
  return 0;
}

KeyEvent KeyEventOf(uint16_t virtualKey, uint16_t scanCode, uint32_t flags) {
  KeyEvent event;
  event.virtualKey = virtualKey;
  event.scanCode = scanCode;
  event.flags = flags;
  event.time = SystemTickCount();
  return event;
}

void AppendNeutralPress(std::vector<KeyEvent>& events) {
  events.push_back(KeyEventOf(kNeutralKey, 0, 0));
  events.push_back(KeyEventOf(kNeutralKey, 0, kKeyEventKeyUp));
}

// Key-ups (or key-downs) of the modifier keys in `keys`. Letting go of Alt
// or a Windows key is preceded by a neutral key: the user pressed it with a
// key that the capture took away, so to the system it would be alone.
void AppendLetGo(std::vector<KeyEvent>& events, uint32_t keys) {
  if (keys & kAltOrWinKeys) AppendNeutralPress(events);
  for (const ModifierKeyCode& code : kModifierKeyCodes)
    if (keys & code.bit) events.push_back(KeyEventOf(code.virtualKey, code.scanCode, code.flags | kKeyEventKeyUp));
}

// Putting Alt or a Windows key back down is followed by a neutral key, so
// that the user's own release of it later is not a lone press either.
void AppendPutBack(std::vector<KeyEvent>& events, uint32_t keys) {
  for (const ModifierKeyCode& code : kModifierKeyCodes)
    if (keys & code.bit) events.push_back(KeyEventOf(code.virtualKey, code.scanCode, code.flags));
  if (keys & kAltOrWinKeys) AppendNeutralPress(events);
}

// What one burst submits: the user's modifier keys let go, the sequence,
// the key-ups of what the sequence leaves down but its hold words, and the
// user's modifier keys put back down.
struct Burst {
  std::vector<KeyEvent> events;
  size_t sequenceBegin = 0;
  size_t sequenceEnd = 0;
  size_t putBackBegin = 0;
  uint32_t letGo = 0;
  uint32_t putBack = 0;
  HeldKeys heldAfter;  // what the runtime holds once the whole burst is in
};

// The user's modifier keys that are down now, to be let go of. A watch of
// the user's keys misses the key-ups that go to another desktop
// (Ctrl+Alt+Del, a UAC prompt), so what it counts is checked against the
// system's key state: as read at the key being answered when there is one
// (`downAtKey`), read now for those keys only otherwise.
uint32_t UserKeysDown(const std::function<uint32_t()>& userHolds, std::optional<uint32_t> downAtKey) {
  if (!userHolds) return HeldModifierKeys();
  const uint32_t user = userHolds();
  if (user == 0) return 0;
  return user & (downAtKey ? *downAtKey : HeldModifierKeys(user));
}

Burst PlanBurst(const HeldKeys& held, const KeyEventList& list, const std::function<uint32_t()>& userHolds,
                std::optional<uint32_t> downAtKey) {
  Burst burst;
  // The modifiers the runtime holds itself were asked for by an earlier
  // sequence's hold words ("{ALT DOWN}" for an Alt-Tab over several keys).
  if (list.count != 0) burst.letGo = UserKeysDown(userHolds, downAtKey) & ~held.ModifierKeys();
  AppendLetGo(burst.events, burst.letGo);
  burst.sequenceBegin = burst.events.size();
  burst.heldAfter = held;
  for (uint32_t n = 0; n < list.count; ++n) {
    burst.events.push_back(list.events[n]);
    burst.heldAfter.Note(list.events[n]);
  }
  burst.sequenceEnd = burst.events.size();
  for (const KeyEvent& release : burst.heldAfter.TakeReleases(true)) burst.events.push_back(release);
  burst.putBackBegin = burst.events.size();
  // A key that the sequence's hold words leave down is down already.
  burst.putBack = burst.letGo & ~burst.heldAfter.ModifierKeys();
  AppendPutBack(burst.events, burst.putBack);
  return burst;
}

// Submits `events` and goes on after each refusal with the event after the
// refused one: for releases, where each key let go counts on its own.
void SubmitBestEffort(const std::vector<KeyEvent>& events) {
  size_t next = 0;
  while (next < events.size()) {
    next += InjectKeyEvents(events.data() + next, uint32_t(events.size() - next));
    if (next < events.size()) ++next;  // refused, and not tried again
  }
}

// Submits the burst; returns how many of its events went in, from the first
// on. Without a pause in one call; with one, event by event, pausing after
// each of the sequence's. `certain` says how many surely went in when the
// submission throws.
size_t SubmitBurst(const Burst& burst, uint32_t pauseMs, size_t& certain) {
  certain = 0;
  if (burst.events.empty()) return 0;
  if (pauseMs == 0) {
    if (RuntimeEnding()) return 0;
    return InjectKeyEvents(burst.events.data(), uint32_t(burst.events.size()));
  }
  for (; certain < burst.events.size(); ++certain) {
    // A pause lets the messages that end the runtime in between.
    if (RuntimeEnding() || InjectKeyEvents(&burst.events[certain], 1) == 0) break;
    if (certain >= burst.sequenceBegin && certain < burst.sequenceEnd) SleepMilliseconds(pauseMs);
  }
  return certain;
}

// The burst stopped after `sent` events: what went in is noted, and what is
// left is mended. Everything the runtime holds is let go (a whole sequence
// keeps its hold words), then the modifiers let go and not yet put back go
// down again. The user's modifiers are the user's, never noted as held.
// Past `certain` (a submission that failed) an event may or may not have
// gone in: a key-down counts as sent and a key-up as not, and a modifier
// as let go and not put back, so the mending covers both; at worst a key
// gets a second key-up, or a held modifier a second key-down.
// Returns the modifier keys put back, here or in the burst.
uint32_t FinishCutBurst(HeldKeys& held, const Burst& burst, size_t sent, size_t certain, bool wholeSequence,
                        std::bitset<256>* keysPressed) {
  uint32_t letGo = 0;
  uint32_t putBack = 0;
  for (size_t i = 0; i < sent; ++i) {
    const KeyEvent& event = burst.events[i];
    const bool down = (event.flags & kKeyEventKeyUp) == 0;
    const uint32_t modifier = ModifierKeyOf(event);
    if (keysPressed != nullptr && down) keysPressed->set(event.virtualKey & 0xFF);
    if (i < burst.sequenceBegin && modifier != 0) letGo |= modifier;
    else if (i >= burst.putBackBegin && modifier != 0) putBack |= i < certain ? modifier : 0;
    else if (i < certain || down) held.Note(event);
  }
  std::vector<KeyEvent> mend = held.TakeReleases(wholeSequence);
  const uint32_t putBackNow = letGo & ~putBack & ~held.ModifierKeys();
  AppendPutBack(mend, putBackNow);
  SubmitBestEffort(mend);
  return putBack | putBackNow;
}

// A modifier key that the burst put back while the user had let go of it
// meanwhile (the release came between the reading and the burst, or, where
// the system does not keep one submission together, inside it) would stay
// down: it goes up. Had the release come after the burst, it went up then,
// and this key-up finds it up already.
void LetGoOfReleased(uint32_t putBack, const std::function<uint32_t()>& userHolds) {
  if (putBack == 0 || !userHolds) return;
  const uint32_t letGoMeanwhile = putBack & ~userHolds();
  std::vector<KeyEvent> releases;
  for (const ModifierKeyCode& code : kModifierKeyCodes)
    if (letGoMeanwhile & code.bit)
      releases.push_back(KeyEventOf(code.virtualKey, code.scanCode, code.flags | kKeyEventKeyUp));
  SubmitBestEffort(releases);
}

}  // namespace

void HeldKeys::Note(const KeyEvent& event) {
  for (std::size_t i = 0; i < held_.size(); ++i) {
    if (held_[i].virtualKey != event.virtualKey) continue;
    if (event.flags & kKeyEventKeyUp) held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(i));
    else if (event.extraInfo == kInjectedHoldEventTag) held_[i].extraInfo = kInjectedHoldEventTag;
    return;
  }
  if ((event.flags & kKeyEventKeyUp) == 0) held_.push_back(event);
}

std::vector<KeyEvent> HeldKeys::TakeReleasesIf(const std::function<bool(const KeyEvent&)>& letGo) {
  std::vector<KeyEvent> releases;
  for (std::size_t i = held_.size(); i-- > 0;) {
    if (!letGo(held_[i])) continue;
    KeyEvent release = held_[i];
    held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(i));
    release.flags |= kKeyEventKeyUp;
    release.time = SystemTickCount();
    release.extraInfo = kInjectedEventTag;
    releases.push_back(release);
  }
  return releases;
}

std::vector<KeyEvent> HeldKeys::TakeReleases(bool keepHoldWords) {
  return TakeReleasesIf(
      [keepHoldWords](const KeyEvent& key) { return !keepHoldWords || key.extraInfo != kInjectedHoldEventTag; });
}

void HeldKeys::Release(bool keepHoldWords) { SubmitBestEffort(TakeReleases(keepHoldWords)); }

uint32_t HeldKeys::ModifierKeys() const {
  uint32_t keys = 0;
  for (const KeyEvent& event : held_) keys |= ModifierKeyOf(event);
  return keys;
}

std::bitset<256> HeldKeys::Keys() const {
  std::bitset<256> keys;
  for (const KeyEvent& event : held_) keys.set(event.virtualKey & 0xFF);
  return keys;
}

std::vector<KeyEvent> HeldKeys::TakeReleasesOf(const std::bitset<256>& keys) {
  return TakeReleasesIf([&keys](const KeyEvent& key) { return keys.test(key.virtualKey & 0xFF); });
}

PressedKeys PressSequenceKeys(HeldKeys& held, const char* sequence, const std::function<uint32_t()>& userHolds,
                              std::optional<uint32_t> downAtKey) {
  PressedKeys pressed;
  if (RuntimeEnding()) return pressed;
  KeyEventList list;
  try {
    if (ParseKeySequence(sequence, &list) != 0) return pressed;
    // With Caps Lock on, the parse begins and ends with a press of it: the
    // first goes out before the hold, the last after its end, so that the
    // user's Caps Lock is as it was and not left off (or held).
    uint32_t from = 0;
    uint32_t to = list.count;
    constexpr uint16_t kCapsLock = 0x14;
    if (list.count >= 4 && list.events[0].virtualKey == kCapsLock && list.events[to - 1].virtualKey == kCapsLock) {
      pressed.capsLockPress = {list.events[0], list.events[1]};
      from = 2;
      to -= 2;
    }
    std::bitset<256> seen;
    for (uint32_t n = from; n < to; ++n) {
      KeyEvent event = list.events[n];
      if ((event.flags & kKeyEventKeyUp) != 0 || seen.test(event.virtualKey & 0xFF)) continue;
      seen.set(event.virtualKey & 0xFF);
      event.extraInfo = kInjectedHoldEventTag;
      event.time = SystemTickCount();
      pressed.down.push_back(event);
    }
    FreeKeyEventList(&list);
    if (pressed.down.empty()) return pressed;
    if (userHolds) pressed.letGo = UserKeysDown(userHolds, downAtKey) & ~held.ModifierKeys();
    std::vector<KeyEvent> events;
    AppendLetGo(events, pressed.letGo);
    events.insert(events.end(), pressed.capsLockPress.begin(), pressed.capsLockPress.end());
    const size_t first = events.size();
    events.insert(events.end(), pressed.down.begin(), pressed.down.end());
    const size_t sent = InjectKeyEvents(events.data(), uint32_t(events.size()));
    // What went in is held; a refusal part way leaves the rest out, and a
    // modifier not let go is not the hold's to put back.
    if (sent < first) {
      pressed = {};
      return pressed;
    }
    pressed.down.resize(sent - first);
    for (const KeyEvent& event : pressed.down) held.Note(event);
  } catch (...) {
    // Whatever may have gone down is held: the end of the press lets it go.
    for (const KeyEvent& event : pressed.down) held.Note(event);
    FreeKeyEventList(&list);
  }
  return pressed;
}

void LetGoOfPressedKeys(HeldKeys& held, const PressedKeys& pressed, const std::bitset<256>& keep,
                        const std::function<uint32_t()>& userHolds) {
  try {
    std::bitset<256> keys;
    for (const KeyEvent& event : pressed.down) keys.set(event.virtualKey & 0xFF);
    std::vector<KeyEvent> events = held.TakeReleasesOf(keys & ~keep);
    events.insert(events.end(), pressed.capsLockPress.begin(), pressed.capsLockPress.end());
    if (pressed.letGo != 0 && userHolds) AppendPutBack(events, pressed.letGo & userHolds() & ~held.ModifierKeys());
    SubmitBestEffort(events);
  } catch (...) {
    // Best effort, as every release: the unload lets go of what is left.
  }
}

int32_t SendKeySequence(HeldKeys& held, const char* sequence, uint32_t pauseMs, std::bitset<256>* keysPressed,
                        const std::function<uint32_t()>& userHolds, std::optional<uint32_t> downAtKey) {
  if (RuntimeEnding()) return 0;
  KeyEventList list;
  try {
    int32_t parsed = ParseKeySequence(sequence, &list);
    if (parsed != 0) return parsed;  // nothing sent, input never blocked
  } catch (...) {
    return kFault;
  }

  int32_t result = 0;
  try {
    // Blocking may be refused (it always is to a program that is not
    // elevated); the burst goes out all the same, and being one submission
    // it is never interleaved with the user's keys.
    BlockUserInput(true);
    Burst burst = PlanBurst(held, list, userHolds, downAtKey);
    uint32_t putBack = burst.putBack;
    size_t certain = 0;
    size_t sent = 0;
    bool failed = false;
    try {
      sent = SubmitBurst(burst, pauseMs, certain);
      certain = sent;
    } catch (...) {
      // One event by one, only the one submitted may have gone in; in one
      // call, any of them.
      failed = true;
      sent = pauseMs == 0 ? burst.events.size() : std::min(certain + 1, burst.events.size());
    }
    if (!failed && sent == burst.events.size()) {
      held = burst.heldAfter;
      if (keysPressed != nullptr)
        for (const KeyEvent& event : burst.events)
          if ((event.flags & kKeyEventKeyUp) == 0) keysPressed->set(event.virtualKey & 0xFF);
    } else {
      // A refusal among the releases after the sequence leaves the sequence
      // typed whole.
      if (failed) result = kFault;
      else if (sent < burst.sequenceEnd) result = kRefused;
      // Before input is unblocked: a burst cut short releases everything it
      // left down; a whole sequence keeps only what its hold words put down.
      try {
        putBack = FinishCutBurst(held, burst, sent, certain, result == 0, keysPressed);
      } catch (...) {
        if (result == 0) result = kFault;
      }
    }
    LetGoOfReleased(putBack, userHolds);
  } catch (...) {
    result = kFault;
  }
  try {
    BlockUserInput(false);
  } catch (...) {
    result = kFault;
  }
  FreeKeyEventList(&list);
  return result;
}

void PrepareKeyboardLayout() {
  try {
    (void)LayoutKeysOfCharacter('a');
  } catch (...) {
    // Only a head start: the first action pays for it instead.
  }
}

void SendShowDesktopChord() {
  if (RuntimeEnding()) return;
  constexpr uint16_t kLeftWindowsKey = 0x5B;
  constexpr uint16_t kKeyD = 'D';
  const struct {
    uint16_t virtualKey;
    uint32_t flags;
  } chord[] = {{kLeftWindowsKey, kKeyEventExtended},
               {kKeyD, 0},
               {kKeyD, kKeyEventKeyUp},
               {kLeftWindowsKey, kKeyEventExtended | kKeyEventKeyUp}};
  std::vector<KeyEvent> events;
  for (const auto& key : chord) events.push_back(KeyEventOf(key.virtualKey, LayoutScanCode(key.virtualKey), key.flags));
  // One submission: the user's keys cannot come between the chord's.
  (void)InjectKeyEvents(events.data(), uint32_t(events.size()));
}

void ReleaseHeldKeys(HeldKeys& held) {
  try {
    held.Release(false);
  } catch (...) {
    // Best effort: the runtime is unloading or ending either way.
  }
}

}  // namespace quillon

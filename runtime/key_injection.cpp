#include "runtime/key_injection.h"

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

void HeldKeys::Release(bool keepHoldWords) {
  for (std::size_t i = held_.size(); i-- > 0;) {
    if (keepHoldWords && held_[i].extraInfo == kInjectedHoldEventTag) continue;
    KeyEvent release = held_[i];
    held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(i));
    release.flags |= kKeyEventKeyUp;
    release.time = SystemTickCount();
    release.extraInfo = kInjectedEventTag;
    InjectKeyEvent(release);
  }
}

int32_t SendKeySequence(HeldKeys& held, const char* sequence, uint32_t pauseMs, std::bitset<256>* keysPressed) {
  if (RuntimeEnding()) return 0;
  KeyEventList list;
  try {
    int32_t parsed = ParseKeySequence(sequence, &list);
    if (parsed != 0) return parsed;  // nothing sent, input never blocked
  } catch (...) {
    return kFault;
  }

  int32_t result = 0;
  uint32_t next = 0;
  try {
    // Blocking may be refused; the burst goes out all the same.
    BlockUserInput(true);
    for (; next < list.count; ++next) {
      // A pause lets the messages that end the runtime in between.
      if (RuntimeEnding()) {
        result = kRefused;
        break;
      }
      if (InjectKeyEvent(list.events[next]) == 0) {
        result = kRefused;
        break;
      }
      held.Note(list.events[next]);
      if (keysPressed != nullptr && (list.events[next].flags & kKeyEventKeyUp) == 0)
        keysPressed->set(list.events[next].virtualKey & 0xFF);
      if (pauseMs != 0) SleepMilliseconds(pauseMs);
    }
  } catch (...) {
    result = kFault;
    // The event being submitted may or may not have gone out: count a key-down
    // as sent, and a key-up as not, so the release below covers both.
    if (next < list.count && (list.events[next].flags & kKeyEventKeyUp) == 0) held.Note(list.events[next]);
  }
  // Before input is unblocked: a burst cut short releases everything it left
  // down; a whole burst keeps only what its hold words put down.
  try {
    held.Release(result == 0);
  } catch (...) {
    if (result == 0) result = kFault;
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
  for (const auto& key : chord) {
    KeyEvent event;
    event.virtualKey = key.virtualKey;
    event.scanCode = LayoutScanCode(key.virtualKey);
    event.flags = key.flags;
    event.time = SystemTickCount();
    InjectKeyEvent(event);
  }
}

void ReleaseHeldKeys(HeldKeys& held) {
  try {
    held.Release(false);
  } catch (...) {
    // Best effort: the runtime is unloading or ending either way.
  }
}

}  // namespace quillon

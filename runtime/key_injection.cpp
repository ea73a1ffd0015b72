#include "runtime/key_injection.h"

#include <cstddef>
#include <vector>

#include "runtime/key_sequence_parser.h"
#include "runtime/seams/input_injection.h"
#include "runtime/seams/keyboard_layout.h"

namespace quillon {

namespace {

constexpr int32_t kRefused = -2;
constexpr int32_t kFault = -3;

// Keys whose key-down has gone out without their key-up yet, in the order
// they went down. The system's key state is one bit per key, so a key counts
// once however many key-downs it got, and one key-up clears it.
class HeldKeys {
 public:
  void Note(const KeyEvent& event) {
    for (std::size_t i = 0; i < held_.size(); ++i) {
      if (held_[i].virtualKey != event.virtualKey) continue;
      if (event.flags & kKeyEventKeyUp) held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
    if ((event.flags & kKeyEventKeyUp) == 0) held_.push_back(event);
  }

  // Best effort, latest first: a burst that was cut short must not leave a
  // key or modifier down system-wide.
  void ReleaseAll() {
    for (std::size_t i = held_.size(); i-- > 0;) {
      KeyEvent release = held_[i];
      release.flags |= kKeyEventKeyUp;
      release.time = SystemTickCount();
      InjectKeyEvent(release);
    }
    held_.clear();
  }

 private:
  std::vector<KeyEvent> held_;
};

}  // namespace

int32_t SendKeySequence(const char* sequence, uint32_t pauseMs) {
  KeyEventList list;
  try {
    int32_t parsed = ParseKeySequence(sequence, &list);
    if (parsed != 0) return parsed;  // nothing sent, input never blocked
  } catch (...) {
    return kFault;
  }

  int32_t result = 0;
  HeldKeys held;
  uint32_t next = 0;
  try {
    // Blocking may be refused; the burst goes out all the same.
    BlockUserInput(true);
    for (; next < list.count; ++next) {
      if (InjectKeyEvent(list.events[next]) == 0) {
        result = kRefused;
        break;
      }
      held.Note(list.events[next]);
      if (pauseMs != 0) SleepMilliseconds(pauseMs);
    }
  } catch (...) {
    result = kFault;
    // The event being submitted may or may not have gone out: count a key-down
    // as sent, and a key-up as not, so the release below covers both.
    if (next < list.count && (list.events[next].flags & kKeyEventKeyUp) == 0) held.Note(list.events[next]);
  }
  // Whatever the burst left down goes up before input is unblocked: a burst
  // cut short, and also a hold named without its release ("{ALT DOWN}"),
  // which would otherwise leave the key down system-wide after the action.
  try {
    held.ReleaseAll();
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

}  // namespace quillon

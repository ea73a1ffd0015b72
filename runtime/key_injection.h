// Typing a key sequence into the focused window as one uninterrupted burst.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "shared/key_event.h"

namespace quillon {

// Keys whose key-down has gone out without their key-up yet, in the order
// they went down: what the runtime has down system-wide, across bursts. The
// system's key state is one bit per key, so a key counts once however many
// key-downs it got, and one key-up clears it.
class HeldKeys {
 public:
  void Note(const KeyEvent& event);
  // The key-ups that let go of what is held, latest first, forgetting those
  // keys. With `keepHoldWords` the keys that a hold word put down stay down:
  // the user asked for them, and a later action (or the unload) releases
  // them.
  std::vector<KeyEvent> TakeReleases(bool keepHoldWords);
  // Best effort: TakeReleases, sent.
  void Release(bool keepHoldWords);
  // The modifier keys among those held (ModifierKey bits,
  // seams/input_injection.h).
  uint32_t ModifierKeys() const;
  // The virtual keys held.
  std::bitset<256> Keys() const;
  // The key-ups that let go of the held keys among `keys`, latest first,
  // forgetting them.
  std::vector<KeyEvent> TakeReleasesOf(const std::bitset<256>& keys);

 private:
  // The key-ups of the held keys that `letGo` picks, latest first.
  std::vector<KeyEvent> TakeReleasesIf(const std::function<bool(const KeyEvent&)>& letGo);
  std::vector<KeyEvent> held_;
};

// Parses `sequence` (nullptr or "" allowed) and injects its events, pausing
// `pauseMs` after each. Returns 0 when every event went out (or there were
// none), the parser's position (> 0) on a syntax error, -1 when memory for
// the events ran out, -2 when the system refused an event, -3 on any other
// fault. Every event carries the runtime's injection tag. Keys that the
// sequence's hold words put down ("{ALT DOWN}") stay down after a whole burst
// until a later sequence releases them or ReleaseHeldKeys runs; everything
// else is released, and a burst cut short releases everything.
// The keys come out as written whatever the user holds: the modifier keys
// that are down and that the runtime does not hold itself are let go before
// the sequence and put down again after it, so the user's next key finds
// them as the user's hands left them. Without a pause the whole burst, those
// releases and restores included, is one submission, which the system keeps
// together; with a pause each event goes on its own.
// Once the runtime is ending nothing is typed: the call returns 0 at once,
// and a burst under way stops as if refused.
// `keysPressed`, when given, gains the virtual key of every key-down sent.
// `userHolds`, when given, says which modifier keys (ModifierKey bits) the
// user holds, from a watch of every key event that leaves the runtime's
// own out (the hook's): only those of them that are down are let go, and
// one that the user let go of while the burst went in, and that the burst
// then put back, is let go again. Without it the system's key state before
// the burst is all there is: the burst being one submission, only a release
// in the moment between that reading and the submission could find its key
// put back.
// `downAtKey`, with `userHolds`, is the system's key state as the hook read
// it at the key whose action this is: it need not be read again.
int32_t SendKeySequence(HeldKeys& held, const char* sequence, uint32_t pauseMs, std::bitset<256>* keysPressed = nullptr,
                        const std::function<uint32_t()>& userHolds = {},
                        std::optional<uint32_t> downAtKey = std::nullopt);

// The keys that a press of a hold entry put down, and the user's modifier
// keys it let go of for them.
struct PressedKeys {
  std::vector<KeyEvent> down;  // in the order they went down
  uint32_t letGo = 0;
  // Caps Lock was on and went off for the hold, so that its letters are the
  // keys as written; it goes on again at the end.
  std::vector<KeyEvent> capsLockPress;
};
// Puts down the keys of `sequence`, each once, in the order of their first
// key-down, as one submission, and leaves them down (noted in `held` as a
// hold word's keys are, so that other bursts keep them). With `userHolds`
// (see SendKeySequence), the modifier keys the user holds and the runtime
// does not are let go first, so that the keys come out as written; without
// it nobody could say later whether the user still holds them, and they
// are left alone. Nothing is put down once the runtime is ending.
PressedKeys PressSequenceKeys(HeldKeys& held, const char* sequence, const std::function<uint32_t()>& userHolds,
                              std::optional<uint32_t> downAtKey = std::nullopt);
// Lets go of the keys `pressed` put down, latest first, except those in
// `keep` (held for another press) and those the runtime no longer holds;
// then puts back down the user's modifier keys it let go of that the user
// still holds.
void LetGoOfPressedKeys(HeldKeys& held, const PressedKeys& pressed, const std::bitset<256>& keep,
                        const std::function<uint32_t()>& userHolds);

// Windows+D, the shell's show-desktop chord, for the switcher's " Desktop"
// item. Tagged like every other key of the runtime: a hook entry on Win+D
// must not take it for the user's.
void SendShowDesktopChord();

// Makes the process's first keyboard-layout lookup, so that the first
// action after start is as quick as the next: under Wine that lookup loads
// the keyboard tables and takes tens of milliseconds.
void PrepareKeyboardLayout();

// Releases every key the runtime still holds down (unload, reload, exit).
void ReleaseHeldKeys(HeldKeys& held);

}  // namespace quillon

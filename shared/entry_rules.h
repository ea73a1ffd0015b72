// Which entry the runtime runs for a key or a held set of buttons. The
// runtime captures and polls by these rules, and the configurator's check
// for entries that never run asks the same functions, so the two cannot
// drift apart.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace quillon {

// --- Controller entries ----------------------------------------------------

// Buttons that an entry can bind and the runtime reads: the Buttons mask is
// one DWORD, so 1 to 32 (or fewer when the pad has fewer).
inline constexpr uint32_t kBindableButtons = 32;

// What a controller entry binds, and what is held on one pad: buttons (bit
// i: button i + 1) and directions (Direction bits, settings_tree.h).
struct ControllerInput {
  uint32_t buttons = 0;
  uint32_t directions = 0;
  friend bool operator==(const ControllerInput&, const ControllerInput&) = default;
};

// Whether an entry bound to `entry` is held: it names a button or a
// direction, and every one it names is held. Further held ones do not
// matter.
bool EntryHeld(ControllerInput entry, ControllerInput held);

// The list index of the first entry, in list order, that is held;
// entries.size() when none is.
size_t FirstHeldEntry(std::span<const ControllerInput> entries, ControllerInput held);

// The directions that a pad's state holds. `x` and `y` lie within
// `axisMin`..`axisMax` (y grows downwards, as DirectInput reports it); an
// axis counts as pushed past half its travel from the centre. `hat` is the
// first hat in hundredths of a degree clockwise from up, centred when its
// low word is 0xFFFF; the eighth of a turn either side of a direction holds
// it, so the diagonals (45, 135, ... degrees) hold two.
uint32_t HeldDirections(int32_t x, int32_t y, int32_t axisMin, int32_t axisMax, uint32_t hat);

// --- Keyboard entries ------------------------------------------------------

enum class KeyCapture {
  HotKeys,  // each entry registers its key and modifiers with the system
  Hook,     // the low-level hook looks each key up in one index
};

struct KeyBinding {
  uint32_t modifier = 0;
  uint32_t virtualKey = 0;
};

// Only virtual keys 1..255 exist; an entry on any other is never armed.
inline bool CapturableKey(uint32_t virtualKey) { return virtualKey >= 1 && virtualKey <= 255; }

// The list index of the entry that takes entry `n`'s key: `n` itself when
// it is captured, bindings.size() when its key cannot be. Hot keys: the
// system refuses a second registration of a key with the same modifiers, so
// the first entry on them keeps it. Hook: the index holds one entry per key
// and a later entry replaces an earlier one whatever the modifiers, so the
// last entry on the key takes it.
size_t EntryTakingKey(KeyCapture capture, std::span<const KeyBinding> bindings, size_t n);

// The hook's index: virtual key -> 1 + the list index of the entry that
// takes it, 0 for none. Lists longer than 255 entries are cut.
std::array<uint8_t, 256> HookKeyIndex(std::span<const KeyBinding> bindings);

}  // namespace quillon

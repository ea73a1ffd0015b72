#include "shared/entry_rules.h"

#include "shared/settings_tree.h"

namespace quillon {

bool EntryHeld(ControllerInput entry, ControllerInput held) {
  if (entry.buttons == 0 && entry.directions == 0) return false;
  return (held.buttons & entry.buttons) == entry.buttons && (held.directions & entry.directions) == entry.directions;
}

size_t FirstHeldEntry(std::span<const ControllerInput> entries, ControllerInput held) {
  for (size_t n = 0; n < entries.size(); ++n)
    if (EntryHeld(entries[n], held)) return n;
  return entries.size();
}

uint32_t HeldDirections(int32_t x, int32_t y, int32_t axisMin, int32_t axisMax, uint32_t hat) {
  uint32_t held = 0;
  if (axisMax > axisMin) {
    // In 64 bits: a range of the whole 32 would overflow.
    const int64_t centre2 = int64_t(axisMin) + axisMax;         // twice the centre
    const int64_t quarter2 = (int64_t(axisMax) - axisMin) / 2;  // twice half the travel from the centre
    auto past = [&](int32_t value, int64_t sign) { return sign * (2 * int64_t(value) - centre2) > quarter2; };
    if (past(y, -1)) held |= StickUp;
    if (past(x, 1)) held |= StickRight;
    if (past(y, 1)) held |= StickDown;
    if (past(x, -1)) held |= StickLeft;
  }
  if ((hat & 0xFFFF) == 0xFFFF) return held;
  const uint32_t angle = hat % 36000;
  if (angle <= 4500 || angle >= 31500) held |= HatUp;
  if (angle >= 4500 && angle <= 13500) held |= HatRight;
  if (angle >= 13500 && angle <= 22500) held |= HatDown;
  if (angle >= 22500 && angle <= 31500) held |= HatLeft;
  return held;
}

size_t EntryTakingKey(KeyCapture capture, std::span<const KeyBinding> bindings, size_t n) {
  if (n >= bindings.size() || !CapturableKey(bindings[n].virtualKey)) return bindings.size();
  const KeyBinding& entry = bindings[n];
  if (capture == KeyCapture::Hook) {
    for (size_t later = bindings.size(); --later > n;)
      if (bindings[later].virtualKey == entry.virtualKey) return later;
    return n;
  }
  for (size_t earlier = 0; earlier < n; ++earlier)
    if (bindings[earlier].virtualKey == entry.virtualKey && bindings[earlier].modifier == entry.modifier)
      return earlier;
  return n;
}

std::array<uint8_t, 256> HookKeyIndex(std::span<const KeyBinding> bindings) {
  std::array<uint8_t, 256> index{};
  for (size_t n = 0; n < bindings.size() && n < 255; ++n)
    if (CapturableKey(bindings[n].virtualKey)) index[bindings[n].virtualKey] = uint8_t(n + 1);
  return index;
}

}  // namespace quillon

#include "shared/entry_rules.h"

namespace quillon {

bool EntryButtonsHeld(uint32_t entryButtons, uint32_t held) {
  return entryButtons != 0 && (held & entryButtons) == entryButtons;
}

size_t FirstHeldEntry(std::span<const uint32_t> entryButtons, uint32_t held) {
  for (size_t n = 0; n < entryButtons.size(); ++n)
    if (EntryButtonsHeld(entryButtons[n], held)) return n;
  return entryButtons.size();
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

// The names that may stand between braces in a key sequence. The runtime's
// parser looks them up here, and the configurator offers exactly this list, in
// this order, as its special keys, so the two can never disagree.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillon {

struct KeyName {
  const char* name;  // upper-case ASCII
  uint16_t keyCode;  // a virtual key, a fixed key (256..272), or 0 for a character
  char character;    // typed through the keyboard layout when not 0
};

inline constexpr size_t kKeyNameCount = 88;

// Key codes from here on are not virtual keys: each selects a fixed virtual
// key, scan code and extended flag, for keys the layout cannot tell apart
// (left/right modifiers, the cursor block versus the numeric keypad).
inline constexpr uint16_t kFirstFixedKeyCode = 256;
inline constexpr uint16_t kLastFixedKeyCode = 272;

// Sorted in byte order of the names, for binary search.
extern const KeyName KeyNameTable[kKeyNameCount];

// Byte-wise three-way comparison of `name` (`length` bytes) with the
// zero-terminated `entry`, as used for every sorted name table.
int CompareKeyName(const char* name, size_t length, const char* entry);

// The row of `table` (sorted by `name` in byte order) named exactly `name`
// (`length` bytes), or nullptr.
template <typename Row, size_t Count>
const Row* FindNamedRow(const Row (&table)[Count], const char* name, size_t length) {
  size_t low = 0;
  size_t high = Count;
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    int order = CompareKeyName(name, length, table[middle].name);
    if (order == 0) return &table[middle];
    if (order < 0) high = middle;
    else low = middle + 1;
  }
  return nullptr;
}

// The entry named exactly `name` (`length` bytes, already upper case), or
// nullptr.
const KeyName* FindKeyName(const char* name, size_t length);

}  // namespace quillon

// The keys a keyboard action can be bound to, in the order the configurator
// lists them. The codes are Windows virtual-key codes on every platform: they
// are what the settings tree stores and what the runtime registers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillon {

struct CatalogueRow {
  const char* description;  // shown in the key list, exactly as written
  uint8_t code;             // virtual-key code, 1..254, the row's item data
};

inline constexpr size_t kKeyCatalogueRowCount = 139;

// Not sorted and not unique: 145 has two rows ("SCROLL LOCK key" and the later
// "OEM Scroll"), and "CLEAR key" stands for both 12 and 254. Several texts are
// irregular on purpose (a missing final period, "''", backslashes); they are
// the texts users have always seen.
extern const CatalogueRow KeyCatalogue[kKeyCatalogueRowCount];

inline constexpr int kNoCatalogueRow = -1;

// The index of the first row, from the top, whose code is `code`, or
// kNoCatalogueRow. So 145 is always the "SCROLL LOCK key" row, even for an
// entry that was made by picking "OEM Scroll".
int FindCatalogueRow(int code);

}  // namespace quillon

// How typed or stored texts turn into whole numbers, in both programs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

// A numeric field's text: blanks around it allowed, an optional sign, digits
// with an optional decimal point and fraction (".5" and "5." count); nothing
// else (no exponent, no separators, no hexadecimal). Rounded to the nearest
// whole number, halves away from zero. Empty when the text is not such a
// number or its value does not fit in 64 bits.
std::optional<int64_t> ParseWholeNumberText(const std::string& text);

// The decimal number at the start of a text: leading blanks and tabs skipped,
// an optional sign, digits, an optional fraction; whatever follows is ignored;
// no number gives 0. Rounded like ParseWholeNumberText. Numbers too large for
// 64 bits come back as empty.
std::optional<int64_t> LeadingNumber(const std::string& text);

// Whether a number fits a 16-bit or 32-bit signed field.
inline bool FitsInt16(int64_t n) { return n >= INT16_MIN && n <= INT16_MAX; }
inline bool FitsInt32(int64_t n) { return n >= INT32_MIN && n <= INT32_MAX; }

}  // namespace quillon

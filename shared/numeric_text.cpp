#include "shared/numeric_text.h"

namespace quillon {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads sign, digits and fraction from `at`. Returns the rounded number (or
// empty when it overflows) and moves `at` past what it read; *any tells
// whether at least one digit was seen.
std::optional<int64_t> ScanNumber(const std::string& text, size_t* at, bool* any) {
  size_t i = *at;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint64_t whole = 0;
  bool overflow = false;
  *any = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    *any = true;
    uint64_t digit = uint64_t(text[i] - '0');
    if (whole > (UINT64_MAX - digit) / 10) overflow = true;
    else whole = whole * 10 + digit;
  }
  bool roundUp = false;
  if (i < text.size() && text[i] == '.') {
    size_t fraction = i + 1;
    if (fraction < text.size() && IsDigit(text[fraction])) {
      *any = true;
      roundUp = text[fraction] >= '5';
    }
    for (i = fraction; i < text.size() && IsDigit(text[i]); ++i) {
    }
  }
  *at = i;
  if (!*any) return int64_t(0);
  if (roundUp) {
    if (whole == UINT64_MAX) overflow = true;
    else ++whole;
  }
  if (overflow) return std::nullopt;
  if (negative) {
    if (whole > uint64_t(INT64_MAX) + 1) return std::nullopt;
    return whole == uint64_t(INT64_MAX) + 1 ? INT64_MIN : -int64_t(whole);
  }
  if (whole > uint64_t(INT64_MAX)) return std::nullopt;
  return int64_t(whole);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<int64_t> ParseWholeNumberText(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool any = false;
  std::optional<int64_t> number = ScanNumber(text, &at, &any);
  if (!any) return std::nullopt;
  while (at < text.size() && IsBlank(text[at])) ++at;
  if (at != text.size()) return std::nullopt;
  return number;
}

std::optional<int64_t> LeadingNumber(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && (IsBlank(text[at]) || text[at] == '\n' || text[at] == '\r')) ++at;
  bool any = false;
  return ScanNumber(text, &at, &any);
}

}  // namespace quillon

// Checks the window-pattern matcher against a plain dynamic-programming
// matcher of the same rule on arbitrary patterns and texts, and through the
// time-out that it never takes exponential time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "shared/text_helpers.h"

namespace {

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// matches[i][j]: the first i pattern characters match the first j text ones.
int ReferenceMatch(const std::string& pattern, const std::string& text) {
  size_t p = pattern.size();
  size_t t = text.size();
  std::vector<std::vector<char>> matches(p + 1, std::vector<char>(t + 1, 0));
  matches[0][0] = 1;
  for (size_t i = 1; i <= p; ++i) {
    char c = pattern[i - 1];
    for (size_t j = 0; j <= t; ++j) {
      if (c == '*') matches[i][j] = matches[i - 1][j] || (j > 0 && matches[i][j - 1]);
      else if (j > 0 && (c == '?' || Fold(c) == Fold(text[j - 1]))) matches[i][j] = matches[i - 1][j - 1];
    }
  }
  return matches[p][t] ? 1 : 0;
}

}  // namespace

// The input is the pattern, one zero byte and the text; without the zero
// byte the text is the input read backwards, so both halves vary.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::string pattern;
  std::string text;
  size_t split = input.find('\0');
  if (split == std::string::npos) {
    pattern = input;
    text.assign(input.rbegin(), input.rend());
  } else {
    pattern = input.substr(0, split);
    text = input.substr(split + 1);
    text = text.substr(0, text.find('\0'));
  }
  if (quillon::MatchWildcard(pattern.c_str(), text.c_str()) != ReferenceMatch(pattern, text)) std::abort();
  return 0;
}

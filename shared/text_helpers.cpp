#include "shared/text_helpers.h"

namespace quillon {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) return false;
  return true;
}

std::string InLowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string TrimBlanks(std::string_view text, std::string_view blanks) {
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return std::string();
  return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

std::string TrimLeadingBlanks(std::string_view text, std::string_view blanks) {
  size_t first = text.find_first_not_of(blanks);
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string UpToFirstZero(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string FolderOf(std::string_view path, std::string_view separators) {
  size_t separator = path.find_last_of(separators);
  return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator + 1));
}

// Linear in the text for each star: on a mismatch only the most recent star
// is given one more character, which is enough because an earlier star can
// never help where a later one could not.
int MatchWildcard(const char* pattern, const char* text, LetterCase letterCase) {
  if (pattern == nullptr || text == nullptr) return 0;
  const bool kept = letterCase == LetterCase::Kept;
  const char* p = pattern;
  const char* t = text;
  const char* afterStar = nullptr;  // pattern just behind the most recent star
  const char* starText = nullptr;   // where in the text that star's run ends
  while (*t != '\0') {
    if (*p == '*') {
      while (*p == '*') ++p;
      afterStar = p;
      starText = t;
    } else if (*p != '\0' && (*p == '?' || (kept ? *p == *t : FoldAsciiLetter(*p) == FoldAsciiLetter(*t)))) {
      ++p;
      ++t;
    } else if (afterStar != nullptr) {
      p = afterStar;
      t = ++starText;
    } else {
      return 0;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0' ? 1 : 0;
}

}  // namespace quillon

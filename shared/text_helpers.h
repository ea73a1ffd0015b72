// Small text rules that both programs need, written once. Letters fold as
// ASCII, which is how Windows compares value, class and file names for the
// names this system stores (and what the C library's default locale does).
#pragma once

#include <string>
#include <string_view>

namespace quillon {

// 'a'..'z' as 'A'..'Z'; every other character as it is.
inline char FoldAsciiLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether both texts are the same but for the case of their letters.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
// The text with 'A'..'Z' as 'a'..'z'.
std::string InLowerCase(std::string text);

// Without the characters of `blanks` at both ends (or at the start only).
std::string TrimBlanks(std::string_view text, std::string_view blanks = " ");
std::string TrimLeadingBlanks(std::string_view text, std::string_view blanks = " ");

// The text up to (not including) its first zero byte: the end of a text
// that a fixed-size system buffer or a stored value holds.
std::string UpToFirstZero(const std::string& bytes);

// Up to and including the last of `separators`; "" when there is none. The
// configurator's paths come from its own fields and dialogs and know only
// "\"; the runtime's own path may have come with "/" as well.
std::string FolderOf(std::string_view path, std::string_view separators = "\\");

enum class LetterCase { Ignored, Kept };

// 1 when the whole `text` matches the whole `pattern` ("*" any run, none
// included; "?" any one character), else 0. Window titles and classes
// compare without case; the portable file store's names with it.
int MatchWildcard(const char* pattern, const char* text, LetterCase letterCase = LetterCase::Ignored);

}  // namespace quillon

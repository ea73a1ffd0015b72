#include "runtime/target_window.h"

#include <string_view>
#include <vector>

#include "runtime/seams/window_system.h"
#include "shared/text_helpers.h"

namespace quillon {

namespace {

// A stored pattern holds at most this many characters; anything longer is
// cut here, as the settings store would have cut it.
constexpr size_t kMaxPatternChars = 1023;
// Titles and class names are compared by their first 254 characters.
constexpr size_t kMaxWindowTextChars = 254;
// Bounds one search, so that a window list that changes under our feet (or
// loops) cannot keep an action busy.
constexpr int kMaxWindowsLookedAt = 150;
// How long the click waits for the target to handle each button message. A
// hung program must not hang the runtime with it.
constexpr uint32_t kClickWaitMs = 500;

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(separator, start);
    if (end == std::string_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

enum class TextCheck { Matches, Differs, WindowGone };

// An empty text counts as a mismatch: a pattern such as "*" must not pick
// windows that have no title (or whose class could not be read).
TextCheck CheckText(WindowHandle window, const std::string& text, const char* pattern) {
  if (text.empty()) return WindowStillExists(window) ? TextCheck::Differs : TextCheck::WindowGone;
  return MatchWildcard(pattern, text.c_str()) ? TextCheck::Matches : TextCheck::Differs;
}

// Resolves one ">" path; nullptr when some element finds nothing.
WindowHandle ResolvePath(std::string_view alternative) {
  WindowHandle found = nullptr;
  for (std::string_view element : SplitAt(alternative, '>')) {
    std::string pattern(element);
    if (!pattern.empty() && pattern[0] == '@') found = FindWindowByPattern(found, pattern.c_str() + 1, nullptr);
    else found = FindWindowByPattern(found, nullptr, pattern.c_str());
    if (found == nullptr) return nullptr;
  }
  return found;
}

// Whether one element ("title pattern" or "@class pattern") matches `window`.
bool ElementMatches(WindowHandle window, const std::string& element) {
  if (!element.empty() && element[0] == '@')
    return CheckText(window, WindowClassName(window, kMaxWindowTextChars), element.c_str() + 1) == TextCheck::Matches;
  return CheckText(window, WindowTitleText(window, kMaxWindowTextChars), element.c_str()) == TextCheck::Matches;
}

}  // namespace

bool WindowMatchesPattern(WindowHandle window, const std::string& pattern) {
  if (window == nullptr) return false;
  std::string_view copy(pattern);
  if (copy.size() > kMaxPatternChars) copy = copy.substr(0, kMaxPatternChars);
  for (std::string_view alternative : SplitAt(copy, '|')) {
    std::vector<std::string_view> path = SplitAt(alternative, '>');
    if (!ElementMatches(window, std::string(path[0]))) continue;
    WindowHandle found = window;
    for (size_t i = 1; i < path.size() && found != nullptr; ++i) {
      std::string element(path[i]);
      if (!element.empty() && element[0] == '@') found = FindWindowByPattern(found, element.c_str() + 1, nullptr);
      else found = FindWindowByPattern(found, nullptr, element.c_str());
    }
    if (found != nullptr) return true;
  }
  return false;
}

int SelectTargetWindow(const std::string& pattern) {
  std::string_view copy(pattern);
  if (copy.size() > kMaxPatternChars) copy = copy.substr(0, kMaxPatternChars);
  for (std::string_view alternative : SplitAt(copy, '|')) {
    WindowHandle target = ResolvePath(alternative);
    if (target == nullptr) continue;
    // Keys typed while another window keeps the foreground would go to that
    // one ("%{F4}" would close the wrong program). The runtime has just
    // received the input that set the action off, so a second request is
    // often granted where the first was not; after that, nothing is sent.
    if (!BringWindowToForeground(target) && !BringWindowToForeground(target)) return 0;
    // A click at the client origin without button flags: many programs only
    // take keyboard focus into their main control once it has been clicked.
    // A target that does not take the button-down in time is not sent the
    // button-up either: it would only wait as long again.
    if (SendWindowMessageWithin(target, LeftButtonDownMessage, 0, 0, kClickWaitMs))
      SendWindowMessageWithin(target, LeftButtonUpMessage, 0, 0, kClickWaitMs);
    return 1;
  }
  return 0;
}

WindowHandle FindWindowByPattern(WindowHandle parent, const char* classPattern, const char* titlePattern) {
  WindowHandle window = parent ? FirstChildWindow(parent) : FirstTopLevelWindow();
  for (int looked = 0; window != nullptr && looked < kMaxWindowsLookedAt; ++looked) {
    bool passes = true;
    if (titlePattern) {
      TextCheck check = CheckText(window, WindowTitleText(window, kMaxWindowTextChars), titlePattern);
      if (check == TextCheck::WindowGone) return nullptr;
      passes = check == TextCheck::Matches;
    }
    if (passes && classPattern) {
      TextCheck check = CheckText(window, WindowClassName(window, kMaxWindowTextChars), classPattern);
      if (check == TextCheck::WindowGone) return nullptr;
      passes = check == TextCheck::Matches;
    }
    if (passes) return window;
    window = NextWindowInZOrder(window);
  }
  return nullptr;
}

}  // namespace quillon

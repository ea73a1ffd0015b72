// Finding the window an action is aimed at, by title and class patterns.
#pragma once

#include <string>

namespace quillon {

using WindowHandle = void*;

// Finds the window named by `pattern` ("|" alternatives, ">" paths, "@"
// class elements, "*" and "?" wildcards), brings it to the front and clicks
// its client origin. 1 when a window was found and activated, else 0 (also
// when the found window could not be made the foreground window: then it is
// not clicked either).
int SelectTargetWindow(const std::string& pattern);

// Whether `window` is the window that `pattern` names, in the same notation:
// an alternative matches when its first element matches `window` itself
// (its title, or with "@" its class) and each further ">" element finds a
// window inside the one before. Nothing is activated or clicked.
bool WindowMatchesPattern(WindowHandle window, const std::string& pattern);

// The first window, among the children of `parent` (or the top-level
// windows when it is nullptr), whose class and title match the patterns
// given (nullptr: not checked); at most 150 windows are looked at.
WindowHandle FindWindowByPattern(WindowHandle parent, const char* classPattern, const char* titlePattern);

}  // namespace quillon

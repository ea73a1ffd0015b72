// The desktop's windows as the runtime sees them when it looks for the window
// an action is aimed at: the top-level windows and each window's children in
// z-order, their title and class texts, and the few things done to one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon {

using WindowHandle = void*;

// The messages the runtime sends to a target window; the values are the
// system's own, so the Windows side passes them through unchanged.
enum WindowMessage : unsigned {
  LeftButtonDownMessage = 0x0201,
  LeftButtonUpMessage = 0x0202,
};

// The top-level window at the front of the z-order; nullptr when none.
WindowHandle FirstTopLevelWindow();
// The front-most child of `parent`; nullptr when it has none.
WindowHandle FirstChildWindow(WindowHandle parent);
// The window behind `window` among its siblings; nullptr at the end, and
// also when `window` no longer exists.
WindowHandle NextWindowInZOrder(WindowHandle window);

// Up to `maxChars` characters of the title or the class name; "" when the
// window has none or no longer exists.
std::string WindowTitleText(WindowHandle window, size_t maxChars);
std::string WindowClassName(WindowHandle window, size_t maxChars);
bool WindowStillExists(WindowHandle window);

// Asks for `window` (for a child window: the top-level window that holds
// it) to become the foreground window; true when it is the foreground window
// afterwards. The system may refuse: only the program that received the last
// input, or the foreground program, may hand the foreground on.
bool BringWindowToForeground(WindowHandle window);
// Sends a message and waits until the window has handled it, but no longer
// than `timeoutMs` and not at all for a window the system knows to be hung.
// False when the window did not handle it in that time.
bool SendWindowMessageWithin(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam,
                             uint32_t timeoutMs);

}  // namespace quillon

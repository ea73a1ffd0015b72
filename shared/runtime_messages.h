// The runtime's main window as others and the runtime itself reach it: its
// class and every private message number it understands, in one place so
// that no two of them can take the same number. Plain numbers, so that the
// configurator's portable logic and the tests can name them too.
#pragma once

namespace quillon {

// The class FindWindow looks for; other programs find the runtime by it.
inline constexpr const char* kRuntimeWindowClass = "Quillon";

// WM_APP of <windows.h>: the first number that is a program's own.
inline constexpr unsigned kWmApp = 0x8000;

// Sent by other programs (the configurator, a second start of the runtime):
// their numbers are fixed, since programs built apart rely on them.
inline constexpr unsigned WM_RELOAD_SETTINGS = kWmApp + 1;
inline constexpr unsigned WM_SHOW_SWITCHER = kWmApp + 2;

// Posted by the runtime to itself: the keyboard hook's match, run once the
// hook callback has returned, and the marker behind its own keys' hot keys.
inline constexpr unsigned WM_RUN_HOOK_ACTION = kWmApp + 3;
inline constexpr unsigned WM_OWN_KEYS_MARKER = kWmApp + 4;

// Posted by the runtime to itself once a second copy's front-end command
// (WM_COPYDATA) has been answered: the hand-over runs after the reply, so
// that a box it may show never keeps the second copy waiting.
inline constexpr unsigned WM_RUN_FRONT_END_COMMAND = kWmApp + 6;

// Posted by the runtime's window-event hooks to its own window: a window
// came to the front, and the window watched for closing was destroyed (the
// window's handle in wParam).
inline constexpr unsigned WM_WINDOW_IN_FRONT = kWmApp + 7;
inline constexpr unsigned WM_WATCHED_WINDOW_CLOSED = kWmApp + 8;

// The dwData of the WM_COPYDATA that carries a front end's command: the
// request's letter in the low byte ('G', 'E', 'M'), and the argument as
// the data, without its zero. The reply is the second copy's exit status.
inline constexpr unsigned long kFrontEndCommandData = 0x514C4600;  // "QLF\0"
inline constexpr unsigned kLongestFrontEndArgument = 1024;

// What the shell reports about the notification-area icon (the icon's
// callback message).
inline constexpr unsigned WM_NOTIFICATION_ICON = kWmApp + 5;

}  // namespace quillon

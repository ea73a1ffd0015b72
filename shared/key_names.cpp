#include "shared/key_names.h"

namespace quillon {

// clang-format off
const KeyName KeyNameTable[kKeyNameCount] = {
    {"%", 0, '%'},
    {"(", 0, '('},
    {")", 0, ')'},
    {"+", 0, '+'},
    {"APPS", 0x5D, 0},
    {"BACKSPACE", 0x08, 0},
    {"BELL", 0x07, 0},
    {"BKSP", 0x08, 0},
    {"BREAK", 0x13, 0},
    {"BS", 0x08, 0},
    {"CAPSLOCK", 0x14, 0},
    {"CLEAR", 0x0C, 0},
    {"DEL", 272, 0},
    {"DELETE", 272, 0},
    {"DOWN", 269, 0},
    {"END", 268, 0},
    {"ENTER", 0x0D, 0},
    {"ESC", 0x1B, 0},
    {"F1", 0x70, 0},
    {"F10", 0x79, 0},
    {"F11", 0x7A, 0},
    {"F12", 0x7B, 0},
    {"F13", 0x7C, 0},
    {"F14", 0x7D, 0},
    {"F15", 0x7E, 0},
    {"F16", 0x7F, 0},
    {"F2", 0x71, 0},
    {"F3", 0x72, 0},
    {"F4", 0x73, 0},
    {"F5", 0x74, 0},
    {"F6", 0x75, 0},
    {"F7", 0x76, 0},
    {"F8", 0x77, 0},
    {"F9", 0x78, 0},
    {"HELP", 0x2F, 0},
    {"HOME", 263, 0},
    {"INS", 271, 0},
    {"INSERT", 271, 0},
    {"LCONTROL", 260, 0},
    {"LEFT", 266, 0},
    {"LF", 0x0A, 0},
    {"LMENU", 256, 0},
    {"LSHIFT", 258, 0},
    {"LWIN", 0x5B, 0},
    {"NUMLOCK", 0x90, 0},
    {"NUMPAD*", 0x6A, 0},
    {"NUMPAD+", 0x6B, 0},
    {"NUMPAD-", 0x6D, 0},
    {"NUMPAD.", 0x6E, 0},
    {"NUMPAD/", 0x6F, 0},
    {"NUMPAD0", 0x60, 0},
    {"NUMPAD1", 0x61, 0},
    {"NUMPAD2", 0x62, 0},
    {"NUMPAD3", 0x63, 0},
    {"NUMPAD4", 0x64, 0},
    {"NUMPAD5", 0x65, 0},
    {"NUMPAD6", 0x66, 0},
    {"NUMPAD7", 0x67, 0},
    {"NUMPAD8", 0x68, 0},
    {"NUMPAD9", 0x69, 0},
    {"NUMPADDEL", 0x2E, 0},
    {"NUMPADDOWN", 0x28, 0},
    {"NUMPADEND", 0x23, 0},
    {"NUMPADENTER", 262, 0},
    {"NUMPADHOME", 0x24, 0},
    {"NUMPADINS", 0x2D, 0},
    {"NUMPADLEFT", 0x25, 0},
    {"NUMPADPGDN", 0x22, 0},
    {"NUMPADPGUP", 0x21, 0},
    {"NUMPADRIGHT", 0x27, 0},
    {"NUMPADUP", 0x26, 0},
    {"PGDN", 270, 0},
    {"PGUP", 265, 0},
    {"PRTSC", 0x2C, 0},
    {"RCONTROL", 261, 0},
    {"RIGHT", 267, 0},
    {"RMENU", 257, 0},
    {"RSHIFT", 259, 0},
    {"RWIN", 0x5C, 0},
    {"SCROLLLOCK", 0x91, 0},
    {"TAB", 0x09, 0},
    {"UP", 264, 0},
    {"[", 0, '['},
    {"]", 0, ']'},
    {"^", 0, '^'},
    {"{", 0, '{'},
    {"}", 0, '}'},
    {"~", 0, '~'},
};
// clang-format on

int CompareKeyName(const char* name, size_t length, const char* entry) {
  for (size_t i = 0; i < length; ++i) {
    unsigned char a = static_cast<unsigned char>(name[i]);
    unsigned char b = static_cast<unsigned char>(entry[i]);
    if (a != b) return a < b ? -1 : 1;  // also when the entry ends here (b == 0)
  }
  return entry[length] == '\0' ? 0 : -1;
}

const KeyName* FindKeyName(const char* name, size_t length) { return FindNamedRow(KeyNameTable, name, length); }

}  // namespace quillon

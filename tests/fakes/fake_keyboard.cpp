#include "tests/fakes/fake_keyboard.h"

#include <cstdio>
#include <stdexcept>
#include <functional>
#include <utility>

#include "runtime/seams/input_injection.h"
#include "shared/seams/keyboard_layout.h"

namespace quillon::fake_keyboard {

namespace {

bool g_capsLock = false;
uint32_t g_tickCount = 1000;
bool g_layoutFails = false;
std::set<int> g_refused;
std::set<int> g_failing;
int g_submissions = 0;
std::vector<std::string> g_calls;
std::vector<KeyEvent> g_inserted;
std::function<void()> g_whileReadingLayout;
bool g_keyDown[256] = {};
std::set<uint16_t> g_hand;
std::vector<std::pair<int, uint16_t>> g_handLetsGo;
constexpr uint16_t kModifierKeyCodes[] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x5B, 0x5C};  // in ModifierKey bit order

// The key that an event sets in the key state. The generic codes are sided
// as the system does it: Ctrl and Alt by the extended flag, Shift by the
// right key's scan code.
uint16_t SidedKey(const KeyEvent& event) {
  const bool extended = (event.flags & kKeyEventExtended) != 0;
  switch (event.virtualKey) {
    case 0x10: return event.scanCode == 0x36 ? 0xA1 : 0xA0;
    case 0x11: return extended ? 0xA3 : 0xA2;
    case 0x12: return extended ? 0xA5 : 0xA4;
    default: return event.virtualKey & 0xFF;
  }
}

// The US layout's answer for each printable character: virtual key, and 1 in
// the high byte when it needs Shift.
struct CharacterEntry {
  char character;
  uint16_t translation;
};
constexpr CharacterEntry kUsPunctuation[] = {
    {' ', 0x020},  {'!', 0x131}, {'"', 0x1DE}, {'#', 0x133},  {'$', 0x134}, {'%', 0x135}, {'&', 0x137},
    {'\'', 0x0DE}, {'(', 0x139}, {')', 0x130}, {'*', 0x138},  {'+', 0x1BB}, {',', 0x0BC}, {'-', 0x0BD},
    {'.', 0x0BE},  {'/', 0x0BF}, {':', 0x1BA}, {';', 0x0BA},  {'<', 0x1BC}, {'=', 0x0BB}, {'>', 0x1BE},
    {'?', 0x1BF},  {'@', 0x132}, {'[', 0x0DB}, {'\\', 0x0DC}, {']', 0x0DD}, {'^', 0x136}, {'_', 0x1BD},
    {'`', 0x0C0},  {'{', 0x1DB}, {'|', 0x1DC}, {'}', 0x1DD},  {'~', 0x1C0},
};

// Scan codes of the US layout (set 1), by virtual key; 0 where it has none.
uint16_t UsScanCode(uint16_t virtualKey) {
  static const char kLetters[] =
      "\x1e\x30\x2e\x20\x12\x21\x22\x23\x17\x24\x25\x26\x32\x31\x18\x19\x10\x13\x1f\x14\x16\x2f\x11\x2d\x15\x2c";
  static const uint8_t kNumpad[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
  if (virtualKey >= 'A' && virtualKey <= 'Z') return static_cast<unsigned char>(kLetters[virtualKey - 'A']);
  if (virtualKey >= '1' && virtualKey <= '9') return uint16_t(virtualKey - '1' + 2);
  if (virtualKey == '0') return 0x0B;
  if (virtualKey >= 0x60 && virtualKey <= 0x69) return kNumpad[virtualKey - 0x60];
  if (virtualKey >= 0x70 && virtualKey <= 0x79) return uint16_t(virtualKey - 0x70 + 0x3B);  // F1..F10
  switch (virtualKey) {
    case 0x08: return 0x0E;  // Backspace
    case 0x09: return 0x0F;  // Tab
    case 0x0C: return 0x4C;  // Clear
    case 0x0D: return 0x1C;  // Enter
    case 0x10: return 0x2A;  // Shift
    case 0x11: return 0x1D;  // Ctrl
    case 0x12: return 0x38;  // Alt
    case 0x13: return 0x45;  // Pause
    case 0x14: return 0x3A;  // Caps Lock
    case 0x1B: return 0x01;  // Esc
    case 0x20: return 0x39;  // Space
    case 0x21: return 0x49;
    case 0x22: return 0x51;
    case 0x23: return 0x4F;
    case 0x24: return 0x47;
    case 0x25: return 0x4B;
    case 0x26: return 0x48;
    case 0x27: return 0x4D;
    case 0x28: return 0x50;
    case 0x2C: return 0x37;  // Print Screen
    case 0x2D: return 0x52;
    case 0x2E: return 0x53;
    case 0x5B: return 0x5B;  // Windows keys and Apps, as the system reports them
    case 0x5C: return 0x5C;
    case 0x5D: return 0x5D;
    case 0x6A: return 0x37;
    case 0x6B: return 0x4E;
    case 0x6D: return 0x4A;
    case 0x6E: return 0x53;
    case 0x6F: return 0x35;
    case 0x7A: return 0x57;  // F11
    case 0x7B: return 0x58;  // F12
    case 0x7C: return 0x64;  // F13..F16
    case 0x7D: return 0x65;
    case 0x7E: return 0x66;
    case 0x7F: return 0x67;
    case 0x90: return 0x45;  // Num Lock
    case 0x91: return 0x46;  // Scroll Lock
    case 0xBA: return 0x27;
    case 0xBB: return 0x0D;
    case 0xBC: return 0x33;
    case 0xBD: return 0x0C;
    case 0xBE: return 0x34;
    case 0xBF: return 0x35;
    case 0xC0: return 0x29;
    case 0xDB: return 0x1A;
    case 0xDC: return 0x2B;
    case 0xDD: return 0x1B;
    case 0xDE: return 0x28;
    default: return 0;
  }
}

// -1 when the US layout cannot type the character.
int UsTranslation(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if (c >= 'A' && c <= 'Z') return 0x100 | c;
  if (c >= '0' && c <= '9') return c;
  for (const CharacterEntry& entry : kUsPunctuation)
    if (static_cast<unsigned char>(entry.character) == c) return entry.translation;
  switch (c) {
    case '\b': return 0x08;
    case '\t': return 0x09;
    case '\r': return 0x0D;
    case 0x1B: return 0x1B;
    default: break;
  }
  // The other control characters are Ctrl with a letter.
  if (c >= 0x01 && c <= 0x1A) return 0x200 | (c - 1 + 'A');
  return -1;  // the rest, including every character of code 128 and above
}

void CheckLayout() {
  if (g_layoutFails) throw std::runtime_error("keyboard layout unavailable");
  if (g_whileReadingLayout) {
    std::function<void()> action = std::move(g_whileReadingLayout);
    g_whileReadingLayout = nullptr;
    action();
  }
}

}  // namespace

void Reset() {
  g_capsLock = false;
  g_tickCount = 1000;
  g_layoutFails = false;
  g_refused.clear();
  g_failing.clear();
  g_submissions = 0;
  g_calls.clear();
  g_inserted.clear();
  g_whileReadingLayout = nullptr;
  for (bool& down : g_keyDown) down = false;
  g_hand.clear();
  g_handLetsGo.clear();
}

void SetCapsLock(bool on) { g_capsLock = on; }
void OnceWhileReadingLayout(std::function<void()> action) { g_whileReadingLayout = std::move(action); }
void SetTickCount(uint32_t milliseconds) { g_tickCount = milliseconds; }
void SetLayoutFails(bool fails) { g_layoutFails = fails; }
void SetRefusedSubmissions(std::set<int> numbers) { g_refused = std::move(numbers); }
void SetFailingSubmissions(std::set<int> numbers) { g_failing = std::move(numbers); }
const std::vector<std::string>& Calls() { return g_calls; }
const std::vector<KeyEvent>& InsertedEvents() { return g_inserted; }

void HoldByHand(uint16_t virtualKey, bool down) {
  g_keyDown[virtualKey & 0xFF] = down;
  if (down) g_hand.insert(virtualKey);
  else g_hand.erase(virtualKey);
}

void LetGoByHandAt(int number, uint16_t virtualKey) { g_handLetsGo.push_back({number, virtualKey}); }

uint32_t HandModifierKeys() {
  uint32_t held = 0;
  for (int i = 0; i < 8; ++i)
    if (g_hand.count(kModifierKeyCodes[i]) != 0) held |= 1u << i;
  return held;
}

bool KeyDown(uint16_t virtualKey) {
  if (virtualKey >= 0x10 && virtualKey <= 0x12) {
    int left = 0xA0 + 2 * (virtualKey - 0x10);
    return g_keyDown[left] || g_keyDown[left + 1];
  }
  return g_keyDown[virtualKey & 0xFF];
}

std::string Describe(const KeyEvent& event) {
  char line[48];
  std::snprintf(line, sizeof line, "%x %x%s %s", unsigned(event.virtualKey), unsigned(event.scanCode),
                (event.flags & kKeyEventExtended) ? " ext" : "", (event.flags & kKeyEventKeyUp) ? "up" : "down");
  return line;
}

}  // namespace quillon::fake_keyboard

namespace quillon {

using namespace fake_keyboard;

uint16_t LayoutScanCode(uint16_t virtualKey) {
  CheckLayout();
  return UsScanCode(virtualKey);
}

CharacterKeys LayoutKeysOfCharacter(unsigned char character) {
  CheckLayout();
  int translation = UsTranslation(character);
  if (translation < 0) return CharacterKeys{false, 0, 0};
  return CharacterKeys{true, static_cast<uint8_t>(translation & 0xFF), static_cast<uint8_t>(translation >> 8)};
}

bool CapsLockToggledOn() {
  CheckLayout();
  return g_capsLock;
}

uint32_t SystemTickCount() { return g_tickCount; }

void BlockUserInput(bool block) { g_calls.push_back(block ? "BlockInput 1" : "BlockInput 0"); }

uint32_t InjectKeyEvents(const KeyEvent* events, uint32_t count) {
  g_calls.push_back("SendInput " + std::to_string(count));
  for (uint32_t i = 0; i < count; ++i) {
    const KeyEvent& event = events[i];
    int number = ++g_submissions;
    for (const auto& [at, key] : g_handLetsGo)
      if (at == number) HoldByHand(key, false);
    if (g_failing.count(number) != 0) {
      g_calls.push_back("Failed " + Describe(event));
      throw std::runtime_error("input stream failed");
    }
    if (g_refused.count(number) != 0) {
      g_calls.push_back("Refused " + Describe(event));
      return i;
    }
    g_calls.push_back("Send " + Describe(event));
    g_inserted.push_back(event);
    g_keyDown[SidedKey(event)] = (event.flags & kKeyEventKeyUp) == 0;
  }
  return count;
}

uint32_t HeldModifierKeys(uint32_t among) {
  uint32_t held = 0;
  for (int i = 0; i < 8; ++i)
    if (g_keyDown[kModifierKeyCodes[i]]) held |= 1u << i;
  return held & among;
}

void SleepMilliseconds(uint32_t milliseconds) {
  g_calls.push_back("Sleep " + std::to_string(milliseconds));
  g_tickCount += milliseconds;
}

}  // namespace quillon

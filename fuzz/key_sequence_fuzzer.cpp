// Feeds arbitrary texts to ParseKeySequence on the fake US layout. The first
// byte sets Caps Lock; the rest, up to a zero byte, is the sequence. Beyond
// crashes and leaks, every result must keep the list's promises, and every
// accepted sequence must leave no key down at the end of its list, except a
// modifier that the text itself holds or releases by name ("{SHIFT DOWN}").
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shared/key_sequence_parser.h"
#include "tests/fakes/fake_keyboard.h"

namespace {

using namespace quillon;

void Require(bool condition) {
  if (!condition) std::abort();
}

// Modifiers (bit 0 Shift, 1 Ctrl, 2 Alt) that the text names in a hold or
// release between braces. In an accepted sequence every "{" read as a
// character opens a name and nothing inside a name is read as a character,
// so a plain scan finds exactly the parser's names.
unsigned ModifiersHeldByName(const std::string& text) {
  unsigned named = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '{') {
      ++i;
      continue;
    }
    size_t close = text.find('}', i + 1);
    if (close == std::string::npos) break;
    if (close + 1 < text.size() && text[close + 1] == '}') ++close;
    std::string name = text.substr(i + 1, close - i - 1);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name == "SHIFT DOWN" || name == "SHIFT UP") named |= 1;
    if (name == "CTRL DOWN" || name == "CTRL UP") named |= 2;
    if (name == "ALT DOWN" || name == "ALT UP") named |= 4;
    i = close + 1;
  }
  return named;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fake_keyboard::Reset();
  fake_keyboard::SetCapsLock((data[0] & 1) != 0);
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  text.resize(std::strlen(text.c_str()));  // a sequence ends at its first zero byte
  std::string before = text;

  KeyEventList list;
  int32_t result = ParseKeySequence(text.c_str(), &list);
  Require(text == before);
  // The fault finder agrees with the parse: a refused sequence has a fault
  // (a skipped one may come before its syntax error), an accepted one at
  // most a skipped one, and every fault lies within the text.
  const KeySequenceFault fault = FindFirstKeySequenceFault(text.c_str());
  const bool skipped =
      fault.kind == KeySequenceFaultKind::UnknownName || fault.kind == KeySequenceFaultKind::PrefixWithoutKey;
  if (result > 0) Require(fault.kind != KeySequenceFaultKind::None);
  if (result == 0) Require(fault.kind == KeySequenceFaultKind::None || skipped);
  Require(fault.kind == KeySequenceFaultKind::None ||
          (fault.position < text.size() && fault.length >= 1 && fault.position + fault.length <= text.size()));
  if (result != 0) {
    // A name left open at the very end reports the position just past it.
    Require(result > 0 && size_t(result) <= text.size() + 1);
    Require(list.events == nullptr && list.count == 0);
    return 0;
  }

  Require(list.count <= list.capacity);
  if (list.count == 0) Require(list.events == nullptr || list.capacity >= kInitialKeyEventCapacity);
  if (list.capacity != 0) {
    uint32_t room = kInitialKeyEventCapacity;
    while (room < list.capacity) room *= 2;
    Require(room == list.capacity);
  }

  bool down[256] = {};
  for (uint32_t i = 0; i < list.count; ++i) {
    const KeyEvent& event = list.events[i];
    Require(event.type == kInputKeyboard && IsRuntimeInjected(event.extraInfo));
    Require((event.flags & ~(kKeyEventExtended | kKeyEventKeyUp)) == 0);
    Require(event.virtualKey < 256);
    down[event.virtualKey] = (event.flags & kKeyEventKeyUp) == 0;
  }
  unsigned named = ModifiersHeldByName(text);
  for (unsigned key = 0; key < 256; ++key) {
    if (key == 0x10 && (named & 1)) continue;
    if (key == 0x11 && (named & 2)) continue;
    if (key == 0x12 && (named & 4)) continue;
    Require(!down[key]);
  }
  FreeKeyEventList(&list);
  return 0;
}

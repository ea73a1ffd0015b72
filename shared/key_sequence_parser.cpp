#include "shared/key_sequence_parser.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "shared/seams/keyboard_layout.h"
#include "shared/key_names.h"

namespace quillon {

namespace {

constexpr uint16_t kShiftKey = 0x10;
constexpr uint16_t kCtrlKey = 0x11;
constexpr uint16_t kAltKey = 0x12;
constexpr uint16_t kEnterKey = 0x0D;
constexpr uint16_t kCapsLockKey = 0x14;

// The prefix set of one level, and the modifiers a character needs, share
// the layout's bit order: Shift, Ctrl, Alt.
constexpr unsigned kShiftBit = 1;
constexpr unsigned kCtrlBit = 2;
constexpr unsigned kAltBit = 4;

struct FixedKey {
  uint16_t virtualKey;
  uint16_t scanCode;
  bool extended;
};

// Key codes 256..272 of the name table, in code order.
constexpr FixedKey kFixedKeys[kLastFixedKeyCode - kFirstFixedKeyCode + 1] = {
    {0x12, 0x38, false},  // 256 LMENU
    {0x12, 0x38, true},   // 257 RMENU
    {0x10, 0x2A, false},  // 258 LSHIFT
    {0x10, 0x36, false},  // 259 RSHIFT
    {0x11, 0x1D, false},  // 260 LCONTROL
    {0x11, 0x1D, true},   // 261 RCONTROL
    {0x0D, 0x1C, true},   // 262 NUMPADENTER
    {0x24, 0x47, true},   // 263 HOME
    {0x26, 0x48, true},   // 264 UP
    {0x21, 0x49, true},   // 265 PGUP
    {0x25, 0x4B, true},   // 266 LEFT
    {0x27, 0x4D, true},   // 267 RIGHT
    {0x23, 0x4F, true},   // 268 END
    {0x28, 0x50, true},   // 269 DOWN
    {0x22, 0x51, true},   // 270 PGDN
    {0x2D, 0x52, true},   // 271 INS, INSERT
    {0x2E, 0x53, true},   // 272 DEL, DELETE
};

struct HoldRelease {
  const char* name;
  uint16_t virtualKey;
  bool keyUp;
};

// Searched after the name table, the same way; sorted in byte order.
constexpr HoldRelease HoldReleaseTable[] = {
    {"ALT DOWN", kAltKey, false}, {"ALT UP", kAltKey, true},        {"CTRL DOWN", kCtrlKey, false},
    {"CTRL UP", kCtrlKey, true},  {"SHIFT DOWN", kShiftKey, false}, {"SHIFT UP", kShiftKey, true},
};

// No entry of either table is longer, so a longer name can match nothing.
constexpr size_t kLongestKeyName = 11;

// Unwind the whole parse from any depth to ParseKeySequence, the only place
// that catches them: a syntax error (the position is the parser's
// outermostPosition) and memory that cannot be had.
struct KeySequenceSyntaxError {};
struct KeySequenceOutOfMemory {};

// One parse in progress: the list it builds and where it stands in the text.
class Parser {
 public:
  // `faults`, when given, receives the first fault met.
  Parser(const char* text, size_t length, KeySequenceFault* faults = nullptr)
      : text_(text), length_(length), faults_(faults) {}
  ~Parser() { std::free(building_.events); }
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  void ParseAll() {
    // Caps Lock goes off for the burst and on again after it, so letters come
    // out in the case in which they are written.
    bool capsLockOn = CapsLockToggledOn();
    if (capsLockOn) AppendPress(kCapsLockKey);
    unsigned prefixes = 0;
    ParseLevel(0, true, prefixes);
    ReleasePrefixes(prefixes);
    if (capsLockOn) AppendPress(kCapsLockKey);
  }

  // Hands the finished list over; the parser no longer owns it.
  KeyEventList TakeList() {
    KeyEventList list = building_;
    building_ = KeyEventList{};
    return list;
  }

  size_t OutermostPosition() const { return outermostPosition_; }

 private:
  // Faults are only noted when asked for; the parse is the same either way.
  void NoteFault(KeySequenceFaultKind kind, size_t position, size_t length = 1) {
    if (faults_ == nullptr || (faults_->kind != KeySequenceFaultKind::None && faults_->position <= position)) return;
    *faults_ = KeySequenceFault{kind, position, length};
  }

  // A syntax error in the token that starts at tokenStart_.
  [[noreturn]] void FailSyntax(KeySequenceFaultKind kind) {
    NoteFault(kind, tokenStart_, kind == KeySequenceFaultKind::NameNeverClosed ? length_ - tokenStart_ : 1);
    throw KeySequenceSyntaxError{};
  }

  void Append(uint16_t virtualKey, uint16_t scanCode, uint32_t flags, uintptr_t tag = kInjectedEventTag) {
    if (building_.count == building_.capacity) Grow();
    KeyEvent& event = building_.events[building_.count];
    event = KeyEvent{};
    event.virtualKey = virtualKey;
    event.scanCode = scanCode;
    event.flags = flags;
    event.time = SystemTickCount();
    event.extraInfo = tag;
    ++building_.count;
  }

  void Grow() {
    uint32_t room = building_.capacity == 0 ? kInitialKeyEventCapacity : building_.capacity * 2;
    if (room <= building_.capacity) throw KeySequenceOutOfMemory{};
    void* grown = std::realloc(building_.events, size_t(room) * sizeof(KeyEvent));
    if (grown == nullptr) throw KeySequenceOutOfMemory{};
    building_.events = static_cast<KeyEvent*>(grown);
    building_.capacity = room;
  }

  void AppendLayoutKey(uint16_t virtualKey, bool keyUp, uintptr_t tag = kInjectedEventTag) {
    Append(virtualKey, LayoutScanCode(virtualKey), keyUp ? kKeyEventKeyUp : 0, tag);
  }

  void AppendPress(uint16_t virtualKey) {
    AppendLayoutKey(virtualKey, false);
    AppendLayoutKey(virtualKey, true);
  }

  void AppendModifiers(unsigned bits, bool keyUp) {
    if (bits & kShiftBit) AppendLayoutKey(kShiftKey, keyUp);
    if (bits & kCtrlBit) AppendLayoutKey(kCtrlKey, keyUp);
    if (bits & kAltBit) AppendLayoutKey(kAltKey, keyUp);
  }

  void ReleasePrefixes(unsigned& prefixes) {
    AppendModifiers(prefixes, true);
    prefixes = 0;
  }

  // The character with exactly the modifiers the layout needs for it, whatever
  // prefixes are in force.
  void TypeCharacter(char character) {
    CharacterKeys keys = LayoutKeysOfCharacter(static_cast<unsigned char>(character));
    if (!keys.producible) FailSyntax(KeySequenceFaultKind::CannotType);
    unsigned needed = keys.shiftState & (kShiftBit | kCtrlBit | kAltBit);
    AppendModifiers(needed, false);
    AppendPress(keys.virtualKey);
    AppendModifiers(needed, true);
  }

  void TypeNamedKey(const KeyName& entry) {
    if (entry.character != 0) {
      TypeCharacter(entry.character);
    } else if (entry.keyCode >= kFirstFixedKeyCode) {
      const FixedKey& fixed = kFixedKeys[entry.keyCode - kFirstFixedKeyCode];
      uint32_t extended = fixed.extended ? kKeyEventExtended : 0;
      Append(fixed.virtualKey, fixed.scanCode, extended);
      Append(fixed.virtualKey, fixed.scanCode, extended | kKeyEventKeyUp);
    } else {
      AppendPress(entry.keyCode);
    }
  }

  // The name between braces whose "{" is at `open`; returns where reading
  // resumes. A "}" directly followed by another belongs to the name, so "{}}"
  // names "}".
  size_t ReadBracedName(size_t open) {
    size_t start = open + 1;
    const void* found = std::memchr(text_ + start, '}', length_ - start);
    if (found == nullptr) FailSyntax(KeySequenceFaultKind::NameNeverClosed);
    size_t close = static_cast<size_t>(static_cast<const char*>(found) - text_);
    if (close + 1 < length_ && text_[close + 1] == '}') ++close;
    size_t length = close - start;
    if (length <= kLongestKeyName) {
      char name[kLongestKeyName];
      for (size_t i = 0; i < length; ++i) {
        char c = text_[start + i];
        name[i] = (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
      }
      if (const KeyName* entry = FindKeyName(name, length)) {
        TypeNamedKey(*entry);
        return close + 1;
      }
      if (const HoldRelease* hold = FindHoldRelease(name, length)) {
        AppendLayoutKey(hold->virtualKey, hold->keyUp, kInjectedHoldEventTag);
        return close + 1;
      }
    }
    // Any other name is skipped without complaint.
    NoteFault(KeySequenceFaultKind::UnknownName, open, close + 1 - open);
    return close + 1;
  }

  // A group must be closed: from its "(" on, every "(" counts one up and every
  // ")" one down, braces included, and the count must come back to zero.
  bool GroupIsClosed(size_t open) const {
    long depth = 0;
    for (size_t i = open; i < length_; ++i) {
      if (text_[i] == '(') ++depth;
      if (text_[i] == ')' && --depth == 0) return true;
    }
    return false;
  }

  // Parses one level from `position`: to the end of the text, or for a group
  // up to its own ")". Returns where reading resumes; `prefixes` is the
  // level's set, still holding whatever prefixes were in force when the level
  // ended.
  size_t ParseLevel(size_t position, bool outermost, unsigned& prefixes) {
    // The first prefix of the set in force, and whether an Enter used it: a
    // set that nothing used when the level ends is a fault to note.
    size_t firstPrefix = 0;
    bool prefixUsed = false;
    const auto notePrefix = [&] {
      if (prefixes == 0) {
        firstPrefix = position;
        prefixUsed = false;
      }
    };
    const auto levelEnds = [&] {
      if (prefixes != 0 && !prefixUsed) NoteFault(KeySequenceFaultKind::PrefixWithoutKey, firstPrefix);
    };
    while (position < length_) {
      if (outermost) outermostPosition_ = position;
      tokenStart_ = position;
      char c = text_[position];
      switch (c) {
        case '+':
          notePrefix();
          AppendLayoutKey(kShiftKey, false);
          prefixes |= kShiftBit;
          ++position;
          continue;
        case '^':
          notePrefix();
          AppendLayoutKey(kCtrlKey, false);
          prefixes |= kCtrlBit;
          ++position;
          continue;
        case '%':
          notePrefix();
          AppendLayoutKey(kAltKey, false);
          prefixes |= kAltBit;
          ++position;
          continue;
        case '~':
          // Enter leaves the prefixes in force for the next token.
          AppendPress(kEnterKey);
          prefixUsed = true;
          ++position;
          continue;
        case '(': {
          if (prefixes == 0) FailSyntax(KeySequenceFaultKind::GroupWithoutPrefix);
          if (!GroupIsClosed(position)) FailSyntax(KeySequenceFaultKind::GroupNeverClosed);
          unsigned inner = 0;
          position = ParseLevel(position + 1, false, inner);
          // A prefix written just before the group's ")" (or left when the
          // text ends inside the group) has gone down; without this it would
          // stay held system-wide after the burst.
          ReleasePrefixes(inner);
          break;
        }
        case ')':
          if (outermost) FailSyntax(KeySequenceFaultKind::UnopenedParenthesis);
          levelEnds();
          return position + 1;
        case '{':
          if (outermost) outermostPosition_ = position + 1;
          position = ReadBracedName(position);
          ReleasePrefixes(prefixes);
          continue;
        case '[':
        case ']':
        case '}': FailSyntax(KeySequenceFaultKind::BareBrace);
        default:
          if (c >= '0' && c <= '9') {
            AppendPress(uint16_t(c));  // the digit keys, whatever the layout
          } else if (c >= 'A' && c <= 'Z') {
            bool shiftHere = (prefixes & kShiftBit) == 0;
            if (shiftHere) AppendLayoutKey(kShiftKey, false);
            AppendPress(uint16_t(c));
            if (shiftHere) AppendLayoutKey(kShiftKey, true);
          } else {
            TypeCharacter(c);
          }
          ++position;
          break;
      }
      ReleasePrefixes(prefixes);
    }
    levelEnds();
    return position;
  }

  static const HoldRelease* FindHoldRelease(const char* name, size_t length) {
    return FindNamedRow(HoldReleaseTable, name, length);
  }

  const char* text_;
  size_t length_;
  KeyEventList building_;
  KeySequenceFault* faults_;
  // Where the token being read starts, at whatever depth.
  size_t tokenStart_ = 0;
  // Where the outermost level stands: the character it is handling, the "("
  // of the group it is inside, or the first character of the name it is
  // reading.
  size_t outermostPosition_ = 0;
};

}  // namespace

int32_t ParseKeySequence(const char* text, KeyEventList* list) {
  *list = KeyEventList{};
  if (text == nullptr || *text == '\0') return 0;
  Parser parser(text, std::strlen(text));
  try {
    parser.ParseAll();
  } catch (const KeySequenceSyntaxError&) {
    size_t result = parser.OutermostPosition() + 1;
    return result > size_t(INT32_MAX) ? INT32_MAX : int32_t(result);
  } catch (const KeySequenceOutOfMemory&) {
    return kParseOutOfMemory;
  }
  *list = parser.TakeList();
  return 0;
}

KeySequenceFault FindFirstKeySequenceFault(const char* text) {
  KeySequenceFault fault;
  if (text == nullptr || *text == '\0') return fault;
  Parser parser(text, std::strlen(text), &fault);
  try {
    parser.ParseAll();
  } catch (const KeySequenceSyntaxError&) {
  } catch (const KeySequenceOutOfMemory&) {
  }
  return fault;
}

void FreeKeyEventList(KeyEventList* list) {
  std::free(list->events);
  *list = KeyEventList{};
}

}  // namespace quillon

#include "configurator/key_sequence_hint.h"

#include <optional>
#include <set>

#include "shared/key_sequence_parser.h"
#include "shared/numeric_text.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {
constexpr const char* kFaultMark = "  (!)";

// What the fault covers, as written: a name with its braces, else the one
// character (a character that a name stands for is the whole name).
std::string Written(const std::string& sequence, const KeySequenceFault& fault) {
  size_t length = fault.length;
  if (sequence[fault.position] == '{' && length == 1) {
    const size_t close = sequence.find('}', fault.position + 1);
    length = close == std::string::npos ? sequence.size() - fault.position : close + 1 - fault.position;
  }
  return sequence.substr(fault.position, length);
}

std::string Describe(const std::string& sequence, const KeySequenceFault& fault) {
  const std::string written = Written(sequence, fault);
  switch (fault.kind) {
    case KeySequenceFaultKind::GroupWithoutPrefix: return "a '(' needs a prefix (+, ^ or %) before it";
    case KeySequenceFaultKind::GroupNeverClosed: return "a '(' that is never closed";
    case KeySequenceFaultKind::UnopenedParenthesis: return "a ')' that closes no '('";
    case KeySequenceFaultKind::BareBrace: return "'" + written + "' is written {" + written + "}";
    case KeySequenceFaultKind::NameNeverClosed: return "a '{' that is never closed";
    case KeySequenceFaultKind::CannotType: return written + " cannot be typed with this keyboard layout";
    case KeySequenceFaultKind::UnknownName: return "unknown key name " + written;
    case KeySequenceFaultKind::PrefixWithoutKey: return "'" + written + "' needs a key after it";
    case KeySequenceFaultKind::None: break;
  }
  return "";
}
std::string AtPosition(size_t position, const std::string& what) {
  return "position " + std::to_string(position + 1) + ": " + what;
}

// What one token of a sequence (a character, or a name with its braces)
// sends, asked of the runtime's own parser so that the two cannot differ.
struct TokenKeys {
  bool holdWord = false;  // a key that it leaves down or lets up
  int key = -1;           // the key it types, the modifiers that the layout adds aside
};
TokenKeys KeysOfToken(const std::string& token) {
  TokenKeys keys;
  KeyEventList list;
  if (ParseKeySequence(token.c_str(), &list) != 0) return keys;
  constexpr uint16_t kShift = 0x10, kCtrl = 0x11, kAlt = 0x12, kCapsLock = 0x14;
  int firstDown = -1;
  for (uint32_t i = 0; i < list.count; ++i) {
    const KeyEvent& event = list.events[i];
    if (event.extraInfo == kInjectedHoldEventTag) keys.holdWord = true;
    if (event.flags & kKeyEventKeyUp) continue;
    if (firstDown < 0) firstDown = event.virtualKey;
    const uint16_t vk = event.virtualKey;
    if (keys.key < 0 && vk != kShift && vk != kCtrl && vk != kAlt && vk != kCapsLock) keys.key = vk;
  }
  if (keys.key < 0) keys.key = firstDown;
  FreeKeyEventList(&list);
  return keys;
}

// The first thing a hold entry cannot hold, in a sequence the parser
// finds no fault in.
std::string HoldFault(const std::string& sequence) {
  std::set<int> named;
  for (size_t at = 0; at < sequence.size();) {
    const char c = sequence[at];
    if (c == '+' || c == '^' || c == '%' || c == '(' || c == ')') {
      ++at;  // prefixes hold their modifier with the keys after them
      continue;
    }
    size_t length = 1;
    if (c == '{') {
      // As the parser reads a name: "{}}" names "}".
      size_t close = sequence.find('}', at + 1);
      if (close + 1 < sequence.size() && sequence[close + 1] == '}') ++close;
      length = close + 1 - at;
    }
    const std::string token = sequence.substr(at, length);
    const TokenKeys keys = KeysOfToken(token);
    if (keys.holdWord) return AtPosition(at, token + " cannot be held: name keys only");
    if (keys.key >= 0 && !named.insert(keys.key).second)
      return AtPosition(at, "'" + token + "' is held already: text cannot be held");
    at += length;
  }
  return "";
}

std::string IntervalHint(const std::string& repeatText) {
  const std::optional<int64_t> ms = ParseWholeNumberText(repeatText);
  if (!ms) return "the interval is not a number: the stored one stays";
  if (RepeatIntervalMs(*ms) != *ms)
    return "outside " + std::to_string(kMinRepeatMs) + " to " + std::to_string(kMaxRepeatMs) + " ms: repeats every " +
           std::to_string(kDefaultRepeatMs) + " ms";
  return "";
}
}  // namespace

std::string KeySequenceHint(const std::string& sequence) {
  const KeySequenceFault fault = FindFirstKeySequenceFault(sequence.c_str());
  if (fault.kind == KeySequenceFaultKind::None || fault.position >= sequence.size()) return "";
  return "position " + std::to_string(fault.position + 1) + ": " + Describe(sequence, fault);
}

std::string EntryHint(const std::string& sequence, int action, const std::string& repeatText) {
  std::string hint = KeySequenceHint(sequence);
  if (hint.empty() && action == HoldKeys) hint = HoldFault(sequence);
  if (hint.empty() && action == RepeatKeys) hint = IntervalHint(repeatText);
  return hint;
}

bool UsesKeySequence(int action) { return action != RunApplication && action != ChangeConfiguration; }

std::string MarkedRowText(const std::string& rowText, const std::string& sequence, int action) {
  const std::string hint = action == HoldKeys ? EntryHint(sequence, action) : KeySequenceHint(sequence);
  if (!UsesKeySequence(action) || hint.empty()) return rowText;
  return rowText + kFaultMark;
}

}  // namespace quillon

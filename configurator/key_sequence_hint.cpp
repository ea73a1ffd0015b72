#include "configurator/key_sequence_hint.h"

#include "shared/key_sequence_parser.h"
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
}  // namespace

std::string KeySequenceHint(const std::string& sequence) {
  const KeySequenceFault fault = FindFirstKeySequenceFault(sequence.c_str());
  if (fault.kind == KeySequenceFaultKind::None || fault.position >= sequence.size()) return "";
  return "position " + std::to_string(fault.position + 1) + ": " + Describe(sequence, fault);
}

bool UsesKeySequence(int action) { return action != RunApplication && action != ChangeConfiguration; }

std::string MarkedRowText(const std::string& rowText, const std::string& sequence, int action) {
  if (!UsesKeySequence(action) || KeySequenceHint(sequence).empty()) return rowText;
  return rowText + kFaultMark;
}

}  // namespace quillon

#include "configurator/mame_list.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "shared/games_list.h"
#include "shared/seams/file_reading.h"

namespace quillon {

namespace {

constexpr const char* kStockMapNames[kStickModeCount] = {
    "4-Way", "8-Way", "2-Way, Left & Right", "2-Way, Up & Down", "Analog",
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsName(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// The bytes that end a run of a tag outside quoted values.
constexpr auto kEndsTagRun = [] {
  std::array<bool, 256> ends{};
  for (unsigned char c : {'>', '"', '\'', '<'}) ends[c] = true;
  return ends;
}();

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// The five entities that XML predefines; MAME writes no others in names.
std::string WithEntitiesExpanded(std::string_view value) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    bool expanded = false;
    if (value[i] == '&')
      for (const auto& [entity, character] : kEntities)
        if (StartsWith(value.substr(i), entity)) {
          text += character;
          i += entity.size() - 1;
          expanded = true;
          break;
        }
    if (!expanded) text += value[i];
  }
  return text;
}

// Calls `use`(name, value) for each attribute; false when they are not
// written as XML writes them (name, "=", a quoted value, blanks between).
template <typename Use>
bool ForEachAttribute(std::string_view text, Use use) {
  size_t at = 0;
  for (;;) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at == text.size()) return true;
    size_t nameStart = at;
    while (at < text.size() && text[at] != '=' && !IsBlank(text[at])) ++at;
    std::string_view name = text.substr(nameStart, at - nameStart);
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (name.empty() || !StartsName(name[0]) || at == text.size() || text[at] != '=') return false;
    ++at;
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at == text.size() || (text[at] != '"' && text[at] != '\'')) return false;
    size_t close = text.find(text[at], at + 1);
    if (close == std::string_view::npos) return false;
    use(name, text.substr(at + 1, close - at - 1));
    at = close + 1;
    if (at < text.size() && !IsBlank(text[at])) return false;
  }
}

// Which mode a first control gives: its type (without "double" or
// "triple"), and its ways where the type is a digital joystick ("" is any).
struct ControlMode {
  std::string_view type;
  std::string_view ways;
  StickMode mode;
};
constexpr ControlMode kControlModes[] = {
    {"joy", "4", StickMode::FourWay},
    {"joy", "8", StickMode::EightWay},
    {"joy", "2", StickMode::TwoWayLeftRight},
    {"joy", "vertical2", StickMode::TwoWayUpDown},
    // Older lists name the ways in the type.
    {"joy4way", "", StickMode::FourWay},
    {"joy8way", "", StickMode::EightWay},
    {"joy2way", "", StickMode::TwoWayLeftRight},
    {"vjoy2way", "", StickMode::TwoWayUpDown},
    {"stick", "", StickMode::Analog},
    {"ad_stick", "", StickMode::Analog},
    {"paddle", "", StickMode::Analog},
    {"dial", "", StickMode::Analog},
    {"trackball", "", StickMode::Analog},
    {"pedal", "", StickMode::Analog},
    {"lightgun", "", StickMode::Analog},
    {"mouse", "", StickMode::Analog},
};

std::optional<StickMode> ModeOfControl(std::string_view type, std::string_view ways) {
  if (StartsWith(type, "double") || StartsWith(type, "triple")) type.remove_prefix(6);
  for (const ControlMode& row : kControlModes)
    if (row.type == type && (row.ways.empty() || row.ways == ways)) return row.mode;
  return std::nullopt;
}

// Whether a games list would read the name back as this one plain name.
bool ListableName(std::string_view name) {
  if (name.empty() || name.size() > kGameNameMaxLength) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '#' || c == '*' || c == '?';
  });
}

}  // namespace

const char* StockMapName(StickMode mode) { return kStockMapNames[static_cast<size_t>(mode)]; }

bool MameListScanner::Feed(std::string_view piece) {
  if (decided_) return false;
  consumed_ += piece.size();
  if (encoding_ == Encoding::NotYetKnown) {
    // Two bytes tell: PowerShell's ">" (before PowerShell 7) writes what a
    // program prints as UTF-16 with its byte-order mark, so a list saved
    // with "mame -listxml > mame.xml" there starts with FF FE.
    size_t taken = std::min(piece.size(), 2 - start_.size());
    start_.append(piece.substr(0, taken));
    piece.remove_prefix(taken);
    if (start_.size() < 2) return true;
    if (start_ == "\xFF\xFE") {
      encoding_ = Encoding::Utf16;
    } else {
      encoding_ = Encoding::Bytes;
      Scan(start_);
    }
  }
  if (encoding_ == Encoding::Bytes) {
    Scan(piece);
  } else {
    // Every name and mark of the list is ASCII: a unit above 0x7F becomes a
    // byte that no mark is, and a piece may end between a unit's two bytes.
    narrowed_.clear();
    for (char byte : piece) {
      if (!halfUnit_) {
        halfUnit_ = byte;
        continue;
      }
      const bool ascii = byte == 0 && static_cast<unsigned char>(*halfUnit_) < 0x80;  // little-endian: low byte first
      narrowed_ += ascii ? *halfUnit_ : '\x80';
      halfUnit_.reset();
    }
    Scan(narrowed_);
  }
  return !decided_;
}

void MameListScanner::Scan(std::string_view piece) {
  const char* p = piece.data();
  const char* end = p + piece.size();
  while (p < end && !decided_) {
    switch (state_) {
      case State::Text: p = ScanText(p, end); break;
      case State::MarkupStart: p = ScanMarkupStart(p); break;
      case State::Element: p = ScanElement(p, end); break;
      case State::Bang: p = ScanBang(p, end); break;
      case State::Comment: p = ScanUntilClose(p, end, '-'); break;
      case State::CData: p = ScanUntilClose(p, end, ']'); break;
      case State::Instruction: p = ScanInstruction(p, end); break;
      case State::Declaration: p = ScanDeclaration(p, end); break;
    }
  }
}

// Text inside the root (descriptions, years) is not looked at. Outside it
// only blanks may stand; anything else before a root says the file is some
// other kind of text, and a UTF-8 byte-order mark that an editor put first
// is let pass.
const char* MameListScanner::ScanText(const char* p, const char* end) {
  const char* open = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p)));
  const char* stop = open != nullptr ? open : end;
  if (open_.empty())
    for (const char* c = p; c < stop; ++c) {
      unsigned char byte = static_cast<unsigned char>(*c);
      if (IsBlank(*c) || (!rootSeen_ && (byte == 0xEF || byte == 0xBB || byte == 0xBF))) continue;
      Decide(rootSeen_ ? MameListOutcome::Broken : MameListOutcome::NotAList);
      return end;
    }
  if (open == nullptr) return end;
  state_ = State::MarkupStart;
  return open + 1;
}

const char* MameListScanner::ScanMarkupStart(const char* p) {
  markup_.clear();
  quote_ = 0;
  marks_ = 0;
  if (*p == '!') {
    state_ = State::Bang;
    return p + 1;
  }
  if (*p == '?') {
    state_ = State::Instruction;
    return p + 1;
  }
  if (*p == '/' || StartsName(*p)) {
    state_ = State::Element;
    return p;
  }
  Decide(rootSeen_ ? MameListOutcome::Broken : MameListOutcome::NotAList);
  return p;
}

// An element's tag runs to the first ">" outside a quoted value. A tag that
// lies whole in the piece is read where it lies; only one that a piece ends
// inside of is copied.
const char* MameListScanner::ScanElement(const char* p, const char* end) {
  const char* c = p;
  char quote = quote_;
  while (c < end) {
    if (quote != 0) {
      const char* close = static_cast<const char*>(std::memchr(c, quote, static_cast<size_t>(end - c)));
      if (close == nullptr) {
        c = end;
        break;
      }
      quote = 0;
      c = close + 1;
      continue;
    }
    while (c < end && !kEndsTagRun[static_cast<unsigned char>(*c)]) ++c;
    if (c == end || *c == '>') break;
    if (*c == '<') {
      Decide(rootSeen_ ? MameListOutcome::Broken : MameListOutcome::NotAList);
      return end;
    }
    quote = *c++;
  }
  quote_ = quote;
  if (c == end) {
    markup_.append(p, end);
    highWater_ = std::max(highWater_, markup_.size());
    if (markup_.size() > kMameMarkupMaxBytes) Decide(rootSeen_ ? MameListOutcome::Broken : MameListOutcome::NotAList);
    return end;
  }
  state_ = State::Text;
  if (markup_.size() + static_cast<size_t>(c - p) > kMameMarkupMaxBytes) {
    Decide(rootSeen_ ? MameListOutcome::Broken : MameListOutcome::NotAList);
    return end;
  }
  if (markup_.empty()) {
    HandleTag(std::string_view(p, static_cast<size_t>(c - p)));
  } else {
    markup_.append(p, c);
    HandleTag(markup_);
    markup_.clear();
  }
  return c + 1;
}

// "<!" opens a comment ("<!--"), a CDATA section ("<![CDATA[", only inside
// the root) or a declaration (the DOCTYPE, only before it).
const char* MameListScanner::ScanBang(const char* p, const char* end) {
  static constexpr std::string_view kComment = "--";
  static constexpr std::string_view kCData = "[CDATA[";
  while (p < end) {
    markup_ += *p++;
    if (markup_ == kComment) {
      state_ = State::Comment;
      marks_ = 0;
      return p;
    }
    if (markup_ == kCData) {
      if (open_.empty()) Decide(rootSeen_ ? MameListOutcome::Broken : MameListOutcome::NotAList);
      state_ = State::CData;
      marks_ = 0;
      return p;
    }
    if (!StartsWith(kComment, markup_) && !StartsWith(kCData, markup_)) {
      if (rootSeen_) {
        Decide(MameListOutcome::Broken);
        return end;
      }
      state_ = State::Declaration;
      declarationDepth_ = 0;
      declarationBytes_ = 0;
      std::string begun = std::move(markup_);
      markup_.clear();
      ScanDeclaration(begun.data(), begun.data() + begun.size());
      return p;
    }
  }
  return p;
}

// The DOCTYPE may carry its internal subset in "[...]", whose declarations
// hold ">" of their own; literals in quotes may hold anything.
const char* MameListScanner::ScanDeclaration(const char* p, const char* end) {
  const char* c = p;
  for (; c < end && state_ == State::Declaration; ++c) {
    if (quote_ != 0) {
      if (*c == quote_) quote_ = 0;
    } else if (*c == '"' || *c == '\'') {
      quote_ = *c;
    } else if (*c == '[') {
      ++declarationDepth_;
    } else if (*c == ']') {
      --declarationDepth_;
    } else if (*c == '>' && declarationDepth_ <= 0) {
      state_ = State::Text;
    }
  }
  declarationBytes_ += static_cast<uint64_t>(c - p);
  if (declarationBytes_ > kMameDeclarationMaxBytes) Decide(MameListOutcome::NotAList);
  return c;
}

// A comment ends at "-->", a CDATA section at "]]>": two of `doubled`, then ">".
const char* MameListScanner::ScanUntilClose(const char* p, const char* end, char doubled) {
  for (const char* c = p; c < end; ++c) {
    if (*c == doubled) {
      ++marks_;
    } else {
      if (*c == '>' && marks_ >= 2) {
        state_ = State::Text;
        return c + 1;
      }
      marks_ = 0;
    }
  }
  return end;
}

const char* MameListScanner::ScanInstruction(const char* p, const char* end) {
  for (const char* c = p; c < end; ++c) {
    if (*c == '>' && marks_ != 0) {
      state_ = State::Text;
      return c + 1;
    }
    marks_ = *c == '?' ? 1 : 0;
  }
  return end;
}

void MameListScanner::HandleTag(std::string_view tag) {
  if (!tag.empty() && tag[0] == '/') {
    tag.remove_prefix(1);
    while (!tag.empty() && IsBlank(tag.back())) tag.remove_suffix(1);
    EndElement(tag);
    return;
  }
  bool empty = !tag.empty() && tag.back() == '/';
  if (empty) tag.remove_suffix(1);
  size_t nameEnd = 0;
  while (nameEnd < tag.size() && !IsBlank(tag[nameEnd])) ++nameEnd;
  std::string_view name = tag.substr(0, nameEnd);
  if (name.empty() || !StartsName(name[0]) || name.find_first_of("\"'=") != std::string_view::npos) {
    Decide(rootSeen_ ? MameListOutcome::Broken : MameListOutcome::NotAList);
    return;
  }
  StartElement(name, tag.substr(nameEnd), empty);
}

void MameListScanner::StartElement(std::string_view name, std::string_view attributes, bool empty) {
  if (open_.empty()) {
    if (rootClosed_) return Decide(MameListOutcome::Broken);
    if (name != "mame" && name != "datafile") return Decide(MameListOutcome::NotAList);
    rootSeen_ = true;
  } else if (open_.size() == 1 && (name == "machine" || name == "game")) {
    inMachine_ = true;
    notAGame_ = false;
    mechanical_ = false;
    controlSeen_ = false;
    machineName_.clear();
    bool wellFormed = ForEachAttribute(attributes, [this](std::string_view attribute, std::string_view value) {
      if (attribute == "name") machineName_ = WithEntitiesExpanded(value);
      else if (attribute == "isdevice" || attribute == "isbios") notAGame_ = notAGame_ || value == "yes";
      else if (attribute == "runnable") notAGame_ = notAGame_ || value == "no";
      else if (attribute == "ismechanical") mechanical_ = value == "yes";
    });
    if (!wellFormed) return Decide(MameListOutcome::Broken);
  } else if (inMachine_ && !controlSeen_ && name == "control" && open_.back() == "input") {
    controlSeen_ = true;
    controlType_.clear();
    controlWays_.clear();
    bool wellFormed = ForEachAttribute(attributes, [this](std::string_view attribute, std::string_view value) {
      if (attribute == "type") controlType_ = value;
      else if (attribute == "ways") controlWays_ = value;
    });
    if (!wellFormed) return Decide(MameListOutcome::Broken);
  }
  if (empty) {
    // An element that closes itself: opened and closed at once.
    if (open_.empty()) rootClosed_ = true;
    else if (open_.size() == 1 && inMachine_) EndMachine();
    return;
  }
  if (open_.size() >= kMameNestingMax) return Decide(MameListOutcome::Broken);
  open_.emplace_back(name);
}

void MameListScanner::EndElement(std::string_view name) {
  if (open_.empty() || open_.back() != name) return Decide(MameListOutcome::Broken);
  open_.pop_back();
  if (open_.empty()) rootClosed_ = true;
  else if (open_.size() == 1 && inMachine_) EndMachine();
}

void MameListScanner::EndMachine() {
  inMachine_ = false;
  ++machines_;
  if (notAGame_) return;
  std::optional<StickMode> mode;
  if (controlSeen_ && !mechanical_) mode = ModeOfControl(controlType_, controlWays_);
  if (!mode || !ListableName(machineName_) || result_.games[size_t(*mode)].size() >= kGamesListMaxNames) {
    ++result_.leftOut;
    return;
  }
  result_.games[size_t(*mode)].push_back(machineName_);
  ++result_.classified;
}

void MameListScanner::Decide(MameListOutcome outcome) {
  decided_ = true;
  result_ = MameListResult{};
  result_.outcome = outcome;
  markup_.clear();
  markup_.shrink_to_fit();
}

MameListResult MameListScanner::Finish() {
  if (!decided_ && encoding_ == Encoding::NotYetKnown) Scan(start_);
  if (!decided_) {
    if (!rootSeen_) Decide(MameListOutcome::NotAList);
    else if (!rootClosed_ || state_ != State::Text) Decide(MameListOutcome::Broken);
    else if (machines_ == 0) Decide(MameListOutcome::NotAList);
    else result_.outcome = MameListOutcome::Read;
    decided_ = true;
  }
  result_.bytesRead = consumed_;
  return std::move(result_);
}

MameListResult ReadMameList(const std::string& path,
                            const std::function<bool(uint64_t done, uint64_t size)>& keepGoing) {
  MameListResult stopped;
  FileToRead file = OpenFileToRead(path);
  if (file.id == 0) {
    stopped.outcome = MameListOutcome::Unreadable;
    return stopped;
  }
  MameListScanner scanner;
  std::vector<char> piece(kMameListPieceBytes);
  std::optional<MameListOutcome> interrupted;
  for (;;) {
    if (keepGoing && !keepGoing(scanner.BytesConsumed(), file.size)) {
      interrupted = MameListOutcome::Cancelled;
      break;
    }
    int64_t read = ReadFileBytes(file, piece.data(), piece.size());
    if (read < 0) interrupted = MameListOutcome::Unreadable;
    if (read <= 0) break;
    if (!scanner.Feed(std::string_view(piece.data(), static_cast<size_t>(read)))) break;
  }
  CloseFileToRead(file);
  MameListResult result = scanner.Finish();
  if (!interrupted) return result;
  stopped.outcome = *interrupted;
  stopped.bytesRead = result.bytesRead;
  return stopped;
}

}  // namespace quillon

// The machine list that the emulator MAME writes with "-listxml": which of
// the stock stick-mode maps each game wants, read from the game's controls.
//
// The list runs to hundreds of megabytes, so it is read as a stream: the
// scanner takes the file piece by piece and keeps only the markup that a
// piece ends inside of (at most kMameMarkupMaxBytes) and the names it found.
// It is a scanner of what MAME writes (elements, attributes in quotes, the
// declaration, the DOCTYPE with its internal subset, comments), not a whole
// XML parser: entities are not expanded but for the five predefined ones in
// machine names, text between elements is not looked at.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

enum class StickMode : uint8_t { FourWay, EightWay, TwoWayLeftRight, TwoWayUpDown, Analog };
inline constexpr size_t kStickModeCount = 5;

// The name of the stock map that a mode fills: "4-Way", "8-Way",
// "2-Way, Left & Right", "2-Way, Up & Down", "Analog".
const char* StockMapName(StickMode mode);

enum class MameListOutcome : uint8_t {
  Read,        // a machine list, read to its end
  NotAList,    // another kind of file: no "mame" or "datafile" root, or no machine in it
  Broken,      // began as a machine list but is not well-formed: cut short, tags that do not close, ...
  Unreadable,  // the file could not be opened, or a read failed
  Cancelled,   // the caller stopped the reading
};

// What a list gives. Only a list read to its end (`Read`) carries games and
// counts; every other outcome leaves them empty, so that the caller has
// nothing to change.
struct MameListResult {
  MameListOutcome outcome = MameListOutcome::NotAList;
  std::array<std::vector<std::string>, kStickModeCount> games;  // short names by mode, in the file's order
  size_t classified = 0;                                        // games given to a mode
  size_t leftOut = 0;  // games without controls, mechanical ones, or a first control no mode fits
  uint64_t bytesRead = 0;
};

// A tag longer than this is not something MAME writes: the file is broken.
inline constexpr size_t kMameMarkupMaxBytes = 64 * 1024;
// Nor is a declaration before the root this long, or elements nested this deep.
inline constexpr uint64_t kMameDeclarationMaxBytes = 1 << 20;
inline constexpr size_t kMameNestingMax = 32;

// Each machine (or "game", as older lists call it) is classified
// by the first control that MAME lists for it, which is player 1's joystick
// when the game has one (MAME lists digital joysticks before analog devices):
// - "joy", "doublejoy", "triplejoy" (the left stick): ways "4", "8", "2" and
//   "vertical2" give the 4-way, 8-way and the two 2-way maps; any other ways
//   ("1", "3 (half4)", "5 (half8)", "16") no map fits. The old names
//   "joy4way", "joy8way", "joy2way", "vjoy2way" (and "double..." of them)
//   count the same.
// - "stick" (an analog stick; "ad_stick" too), "paddle", "dial",
//   "trackball", "pedal", "lightgun" and "mouse" give the analog map: the
//   stick in analog mode is the one map that moves by degrees. "mouse" is a
//   trackball by another name in most arcade drivers.
// - "positional" is left out: MAME reads it as an axis, but it stands for
//   notched controls (rotary joysticks' rings, gear levers) that no map of
//   the stick makes.
// - buttons only, keypads, keyboards, mahjong, hanafuda and gambling panels
//   are left out, as are mechanical machines and machines without controls.
// Devices, BIOS sets and machines that cannot run are no games: not counted.
// A name that a games list would not read back as itself is left out.
class MameListScanner {
 public:
  // Takes the next piece of the file. False once the outcome is known
  // without reading further (the file is broken or is no list).
  bool Feed(std::string_view piece);
  // After the last piece: the outcome.
  MameListResult Finish();

  uint64_t BytesConsumed() const { return consumed_; }
  // The most bytes held at once of markup that a piece ended inside of.
  size_t BufferHighWater() const { return highWater_; }

 private:
  enum class State : uint8_t { Text, MarkupStart, Element, Bang, Comment, CData, Instruction, Declaration };
  enum class Encoding : uint8_t { NotYetKnown, Bytes, Utf16 };

  void Scan(std::string_view bytes);

  const char* ScanText(const char* p, const char* end);
  const char* ScanMarkupStart(const char* p);
  const char* ScanElement(const char* p, const char* end);
  const char* ScanBang(const char* p, const char* end);
  const char* ScanDeclaration(const char* p, const char* end);
  const char* ScanUntilClose(const char* p, const char* end, char doubled);
  const char* ScanInstruction(const char* p, const char* end);
  void HandleTag(std::string_view tag);
  void StartElement(std::string_view name, std::string_view attributes, bool empty);
  void EndElement(std::string_view name);
  void EndMachine();
  void Decide(MameListOutcome outcome);

  Encoding encoding_ = Encoding::NotYetKnown;
  std::string start_;             // the first bytes, until they tell the encoding
  std::optional<char> halfUnit_;  // the first byte of a UTF-16 unit that a piece ended after
  std::string narrowed_;          // a UTF-16 piece as bytes
  State state_ = State::Text;
  std::string markup_;  // markup begun in an earlier piece
  char quote_ = 0;      // the quote an attribute value or literal is open with
  int marks_ = 0;       // "-", "]" or "?" just seen, towards a closing "-->", "]]>", "?>"
  int declarationDepth_ = 0;
  uint64_t declarationBytes_ = 0;
  bool rootSeen_ = false;
  bool rootClosed_ = false;
  std::vector<std::string> open_;  // names of the open elements, the root first

  bool inMachine_ = false;
  bool notAGame_ = false;
  bool mechanical_ = false;
  bool controlSeen_ = false;
  std::string machineName_;
  std::string controlType_;
  std::string controlWays_;
  size_t machines_ = 0;

  bool decided_ = false;
  MameListResult result_;
  uint64_t consumed_ = 0;
  size_t highWater_ = 0;
};

inline constexpr size_t kMameListPieceBytes = 64 * 1024;

// Reads the list at `path` through the file-reading seam in pieces of
// kMameListPieceBytes. Before each piece `keepGoing` gets the bytes read so
// far and the file's size (for a progress bar, and to let the window pump
// its messages); false from it cancels. An empty `keepGoing` reads to the end.
MameListResult ReadMameList(const std::string& path,
                            const std::function<bool(uint64_t done, uint64_t size)>& keepGoing = {});

}  // namespace quillon

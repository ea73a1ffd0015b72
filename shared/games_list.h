// The games list beside a map: "<map name>.games" in the runtime's folder,
// the short names of the games (as emulators and front ends name them:
// "pacman", "sf2") that the map is for. The runtime reads the lists at every
// load to choose a map for a game; the configurator writes them.
//
// The text: names separated by line ends, blanks, tabs or commas; "#" starts
// a comment that runs to the end of its line; "*" and "?" are wildcards
// ("sf2*"); letters compare without case.
//
// Limits, so that whatever lies in the file gives a defined list quickly:
// - at most kGamesListMaxBytes bytes of a file are read; a name cut by that
//   end is dropped, the rest of the file is not read;
// - every byte below 32 (NUL included) separates names as a blank does, so a
//   name holds printable bytes only;
// - a name longer than kGameNameMaxLength characters is ignored (no short
//   name is that long: the emulators keep theirs to 16 or fewer);
// - at most kGamesListMaxNames plain names and kGamesListMaxPatterns names
//   with wildcards are kept; later ones are ignored. A pattern costs a match
//   at every look-up where a plain name costs a search of a sorted list, and
//   a crafted pattern ("*a*a*a*...") costs up to its length times the name's.
// - a file that cannot be opened, or whose read fails part way, counts as
//   empty: half a list would hand games to the wrong map without a word.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

inline constexpr size_t kGamesListMaxBytes = size_t(1) << 20;
inline constexpr size_t kGameNameMaxLength = 64;
inline constexpr size_t kGamesListMaxNames = 65536;
inline constexpr size_t kGamesListMaxPatterns = 512;

struct GamesList {
  std::vector<std::string> names;     // plain names, in lower case, sorted, each once
  std::vector<std::string> patterns;  // names with "*" or "?", in the file's order

  // Whether `shortName` is one of the names or matches one of the patterns.
  bool Holds(std::string_view shortName) const;
  bool empty() const { return names.empty() && patterns.empty(); }
};

GamesList ParseGamesList(std::string_view text);
// The list in the file at `path`, read through the file-reading seam.
GamesList ReadGamesList(const std::string& path);
// "<folder><map name>.games"; the folder ends in its separator, as the
// runtime's program directory does.
std::string GamesListPath(std::string_view folder, std::string_view mapName);

// The map for a game: the index of the first list, in list order, that holds
// `shortName`; none when no list does.
std::optional<size_t> MapForGame(const std::vector<GamesList>& lists, std::string_view shortName);

// A games list's text for `names`: one a line, with the line ends Notepad
// shows. Names that the reader would not read back as themselves (empty, too
// long, holding a separator or "#") are left out.
std::string GamesListText(const std::vector<std::string>& names);

}  // namespace quillon

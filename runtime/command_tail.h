// The runtime's command line, as seen by a second copy that remote-controls
// the first.
#pragma once

#include <string>

namespace quillon {

enum class RemoteRequest {
  Close,        // "Q" or "q"
  Reload,       // "R" or "r"
  GameStarted,  // "G <short name>": a front end starts a game
  GameEnded,    // "E": the game ended
  ChooseMap,    // "M <map name or 1-based position>"
  AskToClose,   // anything else: "Exit Quillon?"
};

// A second copy's exit status after handing a request on; "M" with a name
// that is no map ends it with kNoSuchMapStatus and changes nothing.
inline constexpr int kRequestHandedOnStatus = 1;
inline constexpr int kNoSuchMapStatus = 3;

// A request with what follows its letter: the game's short name for
// GameStarted, the map's name or position for ChooseMap, else empty.
struct RemoteCommand {
  RemoteRequest request = RemoteRequest::AskToClose;
  std::string argument;
};

// The text after the program name: a quoted name is skipped up to its
// closing quote, an unquoted one up to the first blank; then every character
// of code 32 or below is skipped.
const char* CommandTail(const char* commandLine);

// What the first character of the tail asks of a running copy.
RemoteRequest RemoteRequestFor(const char* tail);

// The request with its argument: the text after the letter without the
// blanks around it and without one pair of double quotes round it whole.
// Front ends pass names as they are, quoted or not; a map's name may hold
// blanks, so the argument is the whole rest of the tail.
RemoteCommand RemoteCommandFor(const char* tail);

// Whether the request is a front end's: it names a game or a map.
bool IsFrontEndRequest(RemoteRequest request);

}  // namespace quillon

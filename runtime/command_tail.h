// The runtime's command line, as seen by a second copy that remote-controls
// the first.
#pragma once

namespace quillon {

enum class RemoteRequest {
  Close,       // "Q" or "q"
  Reload,      // "R" or "r"
  AskToClose,  // anything else: "Exit Quillon?"
};

// The text after the program name: a quoted name is skipped up to its
// closing quote, an unquoted one up to the first blank; then every character
// of code 32 or below is skipped.
const char* CommandTail(const char* commandLine);

// What the first character of the tail asks of a running copy.
RemoteRequest RemoteRequestFor(const char* tail);

}  // namespace quillon

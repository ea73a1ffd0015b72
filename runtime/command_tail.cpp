#include "runtime/command_tail.h"

#include <cstring>

namespace quillon {

namespace {
bool IsBlank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= 32; }
}  // namespace

const char* CommandTail(const char* commandLine) {
  if (commandLine == nullptr) return "";
  const char* p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && !IsBlank(*p)) ++p;
  }
  while (IsBlank(*p)) ++p;
  return p;
}

RemoteRequest RemoteRequestFor(const char* tail) {
  switch (tail == nullptr ? '\0' : tail[0]) {
    case 'Q':
    case 'q': return RemoteRequest::Close;
    case 'R':
    case 'r': return RemoteRequest::Reload;
    case 'G':
    case 'g': return RemoteRequest::GameStarted;
    case 'E':
    case 'e': return RemoteRequest::GameEnded;
    case 'M':
    case 'm': return RemoteRequest::ChooseMap;
    default: return RemoteRequest::AskToClose;
  }
}

bool IsFrontEndRequest(RemoteRequest request) {
  return request == RemoteRequest::GameStarted || request == RemoteRequest::GameEnded ||
         request == RemoteRequest::ChooseMap;
}

RemoteCommand RemoteCommandFor(const char* tail) {
  RemoteCommand command;
  command.request = RemoteRequestFor(tail);
  if (command.request != RemoteRequest::GameStarted && command.request != RemoteRequest::ChooseMap) return command;
  // A front end's template often puts the letter and the name together as
  // one word ("Gpacman") or apart ("G pacman"): both name the game.
  const char* begin = tail + 1;
  while (IsBlank(*begin)) ++begin;
  const char* end = begin + std::strlen(begin);
  while (end > begin && IsBlank(end[-1])) --end;
  if (end - begin >= 2 && *begin == '"' && end[-1] == '"') ++begin, --end;
  command.argument.assign(begin, end);
  return command;
}

}  // namespace quillon

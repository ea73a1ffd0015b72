#include "runtime/command_tail.h"

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
    default: return RemoteRequest::AskToClose;
  }
}

}  // namespace quillon

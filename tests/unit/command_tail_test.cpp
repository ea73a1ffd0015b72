// How a second copy reads its command line.
#include <gtest/gtest.h>

#include <string>

#include "runtime/command_tail.h"

namespace quillon {
namespace {

TEST(CommandTail, SkipsTheProgramNameAndLeadingBlanks) {
  struct {
    const char* line;
    const char* tail;
  } cases[] = {
      {"quillon.exe Q", "Q"},
      {"\"C:\\Program Files\\quillon.exe\" R", "R"},
      {"\"C:\\Program Files\\quillon.exe\"R", "R"},
      {"quillon.exe \t\x01  x y", "x y"},
      {"quillon.exe", ""},
      {"\"unterminated quote", ""},
      {"", ""},
      // An unquoted path with a blank: the tail starts inside the path.
      {"C:\\Program Files\\KWP\\quillon.exe R", "Files\\KWP\\quillon.exe R"},
  };
  for (const auto& c : cases) EXPECT_EQ(std::string(CommandTail(c.line)), c.tail) << c.line;
  EXPECT_STREQ(CommandTail(nullptr), "");
}

TEST(CommandTail, OnlyTheFirstLetterChoosesTheRequest) {
  struct {
    const char* tail;
    RemoteRequest request;
  } cases[] = {
      {"Q", RemoteRequest::Close},       {"quit", RemoteRequest::Close},          {"R", RemoteRequest::Reload},
      {"reload", RemoteRequest::Reload}, {"x", RemoteRequest::AskToClose},        {"", RemoteRequest::AskToClose},
      {" Q", RemoteRequest::AskToClose}, {"Files\\q", RemoteRequest::AskToClose},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoteRequestFor(c.tail), c.request) << c.tail;
}

}  // namespace
}  // namespace quillon

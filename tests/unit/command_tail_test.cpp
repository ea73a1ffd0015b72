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
      {"Q", RemoteRequest::Close},
      {"quit", RemoteRequest::Close},
      {"R", RemoteRequest::Reload},
      {"reload", RemoteRequest::Reload},
      {"x", RemoteRequest::AskToClose},
      {"", RemoteRequest::AskToClose},
      {" Q", RemoteRequest::AskToClose},
      {"Files\\q", RemoteRequest::AskToClose},
      {"g pacman", RemoteRequest::GameStarted},
      {"End", RemoteRequest::GameEnded},
      {"M 2", RemoteRequest::ChooseMap},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoteRequestFor(c.tail), c.request) << c.tail;
}

TEST(CommandTail, AGameOrAMapIsTheRestOfTheTailUnquoted) {
  struct {
    const char* tail;
    RemoteRequest request;
    const char* argument;
  } cases[] = {
      {"G pacman", RemoteRequest::GameStarted, "pacman"},
      {"G   sf2  \t", RemoteRequest::GameStarted, "sf2"},
      {"Gpacman", RemoteRequest::GameStarted, "pacman"},
      {"G \"dkong\"", RemoteRequest::GameStarted, "dkong"},
      {"G", RemoteRequest::GameStarted, ""},
      {"G \"", RemoteRequest::GameStarted, "\""},
      {"M \"2-Way, Left & Right\"", RemoteRequest::ChooseMap, "2-Way, Left & Right"},
      {"M 8-Way Race ", RemoteRequest::ChooseMap, "8-Way Race"},
      {"m 3", RemoteRequest::ChooseMap, "3"},
      {"E pacman", RemoteRequest::GameEnded, ""},
      {"R now", RemoteRequest::Reload, ""},
  };
  for (const auto& c : cases) {
    RemoteCommand command = RemoteCommandFor(c.tail);
    EXPECT_EQ(command.request, c.request) << c.tail;
    EXPECT_EQ(command.argument, c.argument) << c.tail;
  }
}

}  // namespace
}  // namespace quillon

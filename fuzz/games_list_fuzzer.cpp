// Checks the games-list reader against a plain reference reading of the same
// rules (lines, comments, separators) on arbitrary bytes: the names it keeps
// are exactly the reference's, its limits hold, and the text written for the
// names reads back as them. The time-out catches a reading that stalls.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "shared/games_list.h"
#include "shared/text_helpers.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

bool Separator(unsigned char c) { return c <= ' ' || c == ','; }

// Every name of the text, in order: each line up to its "#", split at the
// separators.
std::vector<std::string> ReferenceNames(const std::string& text) {
  std::vector<std::string> names;
  std::string line;
  auto endLine = [&]() {
    line = line.substr(0, line.find('#'));
    std::string name;
    for (char c : line + ' ') {
      if (!Separator(static_cast<unsigned char>(c))) name += c;
      else if (!name.empty()) names.push_back(std::move(name)), name.clear();
    }
    line.clear();
  };
  for (char c : text) {
    if (c == '\r' || c == '\n') endLine();
    else line += c;
  }
  endLine();
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const quillon::GamesList list = quillon::ParseGamesList(text);

  std::set<std::string> plain;
  std::vector<std::string> patterns;
  size_t plainCount = 0;
  for (const std::string& name : ReferenceNames(text)) {
    if (name.size() > quillon::kGameNameMaxLength) continue;
    if (name.find_first_of("*?") != std::string::npos) {
      if (patterns.size() < quillon::kGamesListMaxPatterns) patterns.push_back(name);
    } else if (plainCount++ < quillon::kGamesListMaxNames) {
      plain.insert(quillon::InLowerCase(name));
    }
  }
  Check(list.names == std::vector<std::string>(plain.begin(), plain.end()));
  Check(list.patterns == patterns);
  for (const std::string& name : plain) Check(list.Holds(name) && quillon::MapForGame({list}, name) == size_t(0));

  const std::string written = quillon::GamesListText(list.names);
  Check(quillon::ParseGamesList(written).names == list.names);
  return 0;
}

// Feeds arbitrary bytes to the machine-list scanner twice, whole and in
// small pieces whose size the first byte chooses, and checks that the
// pieces never change the outcome, that only a list read to its end carries
// games, and that every name it gives reads back from a games list as
// itself. The address sanitizer and the time-out watch the scanner's
// buffers and its speed. With the first byte's top bit set, the rest is
// lines of "name|type|ways", each made a machine with that one control, so
// that the classification is reached at once; then every machine must be
// counted, given to a mode or left out.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "configurator/mame_list.h"
#include "shared/games_list.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

quillon::MameListResult Scan(std::string_view text, size_t piece) {
  quillon::MameListScanner scanner;
  for (size_t at = 0; at < text.size(); at += piece)
    if (!scanner.Feed(text.substr(at, piece))) break;
  return scanner.Finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = data[0] % 13 + 1;
  std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  size_t machines = 0;
  bool quoted = false;  // a field holds a quote, which may end its value early
  if (data[0] & 0x80) {
    std::string list = "<mame>";
    std::string_view rest = input;
    while (!rest.empty()) {
      std::string_view line = rest.substr(0, rest.find('\n'));
      rest.remove_prefix(std::min(rest.size(), line.size() + 1));
      std::string_view fields[3];
      for (std::string_view& field : fields) {
        field = line.substr(0, line.find('|'));
        line.remove_prefix(std::min(line.size(), field.size() + 1));
        quoted = quoted || field.find('"') != std::string_view::npos;
      }
      list.append("<machine name=\"").append(fields[0]).append("\"><input><control type=\"").append(fields[1]);
      list.append("\" ways=\"").append(fields[2]).append("\"/></input></machine>");
      ++machines;
    }
    input = list + "</mame>";
  }
  const std::string_view text = input;
  const quillon::MameListResult whole = Scan(text, text.size() + 1);
  const quillon::MameListResult pieces = Scan(text, piece);

  Check(whole.outcome == pieces.outcome && whole.games == pieces.games && whole.classified == pieces.classified &&
        whole.leftOut == pieces.leftOut);
  size_t given = 0;
  for (const auto& games : whole.games) {
    given += games.size();
    for (const std::string& name : games) {
      quillon::GamesList list = quillon::ParseGamesList(name);
      Check(list.patterns.empty() && list.names.size() == 1 && list.Holds(name));
    }
  }
  Check(given == whole.classified);
  if (whole.outcome != quillon::MameListOutcome::Read) Check(whole.classified == 0 && whole.leftOut == 0);
  if (machines > 0 && !quoted)
    Check(whole.outcome == quillon::MameListOutcome::Read && whole.classified + whole.leftOut == machines);
  return 0;
}

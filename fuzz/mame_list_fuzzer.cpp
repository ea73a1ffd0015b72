// Feeds arbitrary bytes to the machine-list scanner twice, whole and in
// small pieces whose size the first byte chooses, and checks that the
// pieces never change the outcome, that only a list read to its end carries
// games, and that every name it gives reads back from a games list as
// itself. The address sanitizer and the time-out watch the scanner's
// buffers and its speed.
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
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
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
  return 0;
}

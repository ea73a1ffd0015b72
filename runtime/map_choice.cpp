#include "runtime/map_choice.h"

#include "runtime/settings_store.h"
#include "shared/games_list.h"
#include "shared/text_helpers.h"

namespace quillon {

namespace {

std::optional<uint32_t> MapNamed(const RuntimeSettings& s, const std::string& text) {
  // A name first: a map may well be called "2".
  for (uint32_t k = 0; k < s.configCount; ++k)
    if (SameTextIgnoringCase(s.configNames[k], text)) return k;
  if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  uint32_t position = uint32_t(std::stoul(text));
  if (position == 0 || position > s.configCount) return std::nullopt;
  return position - 1;
}

}  // namespace

std::optional<uint32_t> MapForCommand(const RuntimeSettings& s, const RemoteCommand& command) {
  switch (command.request) {
    case RemoteRequest::GameStarted:
      if (std::optional<size_t> found = MapForGame(s.gamesLists, command.argument)) return uint32_t(*found);
      return s.defaultConfig;
    case RemoteRequest::GameEnded: return s.defaultConfig;
    case RemoteRequest::ChooseMap: return MapNamed(s, command.argument);
    default: return std::nullopt;
  }
}

}  // namespace quillon

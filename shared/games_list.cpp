#include "shared/games_list.h"

#include <algorithm>
#include <cstdint>

#include "shared/seams/file_reading.h"
#include "shared/text_helpers.h"

namespace quillon {

namespace {

bool Separates(unsigned char c) { return c <= ' ' || c == ','; }

// Up to and including the last separator or line end before the limit:
// whatever follows may be the first part of a longer name.
std::string_view UpToLastSeparator(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && !Separates(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(0, end);
}

// The first eight bytes as one number that orders as they do.
uint64_t PrefixKey(const std::string& name) {
  uint64_t key = 0;
  for (size_t i = 0; i < 8; ++i) key = (key << 8) | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
  return key;
}

// Sorted, each name once. Every load sorts every list, and a comparison of
// strings costs a call and a copy of the sort's pivot: ordering by the
// prefix first settles most pairs with one integer compare (short names
// rarely share eight bytes), which makes the sort several times faster.
void SortOnce(std::vector<std::string>& names) {
  struct Entry {
    uint64_t key;
    uint32_t index;
  };
  std::vector<Entry> order(names.size());
  for (size_t i = 0; i < names.size(); ++i) order[i] = {PrefixKey(names[i]), static_cast<uint32_t>(i)};
  std::sort(order.begin(), order.end(), [&](const Entry& a, const Entry& b) {
    return a.key != b.key ? a.key < b.key : names[a.index] < names[b.index];
  });
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (const Entry& entry : order)
    if (sorted.empty() || sorted.back() != names[entry.index]) sorted.push_back(std::move(names[entry.index]));
  names = std::move(sorted);
}

}  // namespace

bool GamesList::Holds(std::string_view shortName) const {
  if (shortName.empty() || shortName.size() > kGameNameMaxLength) return false;
  std::string lower = InLowerCase(std::string(shortName));
  if (std::binary_search(names.begin(), names.end(), lower)) return true;
  for (const std::string& pattern : patterns)
    if (MatchWildcard(pattern.c_str(), lower.c_str())) return true;
  return false;
}

GamesList ParseGamesList(std::string_view text) {
  GamesList list;
  size_t at = 0;
  const size_t size = text.size();
  while (at < size) {
    unsigned char c = static_cast<unsigned char>(text[at]);
    if (Separates(c)) {
      ++at;
      continue;
    }
    if (c == '#') {
      size_t lineEnd = text.find_first_of("\r\n", at);
      at = lineEnd == std::string_view::npos ? size : lineEnd;
      continue;
    }
    size_t start = at;
    bool pattern = false;
    for (; at < size && !Separates(static_cast<unsigned char>(text[at])) && text[at] != '#'; ++at)
      pattern = pattern || text[at] == '*' || text[at] == '?';
    std::string_view name = text.substr(start, at - start);
    if (name.size() > kGameNameMaxLength) continue;
    if (pattern) {
      if (list.patterns.size() < kGamesListMaxPatterns) list.patterns.emplace_back(name);
    } else if (list.names.size() < kGamesListMaxNames) {
      list.names.push_back(InLowerCase(std::string(name)));
    }
  }
  SortOnce(list.names);
  return list;
}

GamesList ReadGamesList(const std::string& path) {
  FileToRead file = OpenFileToRead(path);
  if (file.id == 0) return {};
  // One byte past the limit tells whether the file goes on beyond it. The
  // size the file had when opened is only where to start: it may be growing.
  const size_t most = kGamesListMaxBytes + 1;
  std::string text(static_cast<size_t>(std::min<uint64_t>(file.size + 1, most)), '\0');
  size_t filled = 0;
  bool failed = false;
  for (;;) {
    if (filled == text.size()) {
      if (text.size() == most) break;
      text.resize(std::min(text.size() * 2, most));
    }
    int64_t read = ReadFileBytes(file, text.data() + filled, text.size() - filled);
    if (read < 0) failed = true;
    if (read <= 0) break;
    filled += static_cast<size_t>(read);
  }
  CloseFileToRead(file);
  if (failed) return {};
  std::string_view content(text.data(), filled);
  if (filled == most) {
    content = content.substr(0, kGamesListMaxBytes);
    const char next = text[kGamesListMaxBytes];
    if (!Separates(static_cast<unsigned char>(next)) && next != '#') content = UpToLastSeparator(content);
  }
  return ParseGamesList(content);
}

std::string GamesListPath(std::string_view folder, std::string_view mapName) {
  std::string path(folder);
  path.append(mapName).append(".games");
  return path;
}

std::optional<size_t> MapForGame(const std::vector<GamesList>& lists, std::string_view shortName) {
  for (size_t i = 0; i < lists.size(); ++i)
    if (lists[i].Holds(shortName)) return i;
  return std::nullopt;
}

std::string GamesListText(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    if (name.empty() || name.size() > kGameNameMaxLength) continue;
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return Separates(static_cast<unsigned char>(c)) || c == '#'; }))
      continue;
    text.append(name).append("\r\n");
  }
  return text;
}

}  // namespace quillon

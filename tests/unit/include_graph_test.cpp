// The runtime's and the configurator's files form layers: no file reaches
// itself through its own includes, so each can be read, and tested, without
// the ones above it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// The quoted file of an `#include "..."` line, or "" for any other line.
// (Plain parsing: <regex> alone made this file the slowest of the tree to
// compile with the sanitizers.)
std::string IncludedFile(const std::string& line) {
  size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos || line[at] != '#') return {};
  at = line.find_first_not_of(" \t", at + 1);
  if (at == std::string::npos || line.compare(at, 7, "include") != 0) return {};
  size_t open = line.find_first_not_of(" \t", at + 7);
  if (open == std::string::npos || line[open] != '"') return {};
  size_t close = line.find('"', open + 1);
  return close == std::string::npos ? std::string() : line.substr(open + 1, close - open - 1);
}

class IncludeGraphTest : public testing::TestWithParam<const char*> {};

TEST_P(IncludeGraphTest, NoFileIncludesItselfThroughOthers) {
  // File (a ".cpp" folded into its ".h") -> the files of its folder it includes.
  const fs::path root = QUILLON_SOURCE_DIR;
  const std::string folder = GetParam();
  std::map<std::string, std::set<std::string>> graph;
  for (const auto& item : fs::recursive_directory_iterator(root / folder)) {
    std::string name = fs::relative(item.path(), root).generic_string();
    if (item.path().extension() == ".cpp") name.replace(name.size() - 4, 4, ".h");
    else if (item.path().extension() != ".h") continue;
    std::ifstream file(item.path());
    for (std::string line; std::getline(file, line);) {
      std::string included = IncludedFile(line);
      if (included.rfind(folder + "/", 0) == 0 && included != name) graph[name].insert(included);
    }
  }
  ASSERT_GT(graph.size(), 10u) << "the sources of " << folder << " were not found";

  std::map<std::string, int> state;  // 1: on the path being walked, 2: done
  std::vector<std::string> path;
  std::function<bool(const std::string&)> reachesItself = [&](const std::string& file) {
    if (state[file] == 2) return false;
    path.push_back(file);
    if (state[file] == 1) return true;
    state[file] = 1;
    for (const std::string& next : graph[file])
      if (reachesItself(next)) return true;
    state[file] = 2;
    path.pop_back();
    return false;
  };
  for (const auto& [file, includes] : std::map(graph))
    if (reachesItself(file)) {
      std::string cycle;
      for (const std::string& step : path) cycle += step + " ";
      FAIL() << "include circle: " << cycle;
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, IncludeGraphTest, testing::Values("runtime", "configurator"));

}  // namespace

// The runtime's and the configurator's files form layers: no file reaches
// itself through its own includes, so each can be read, and tested, without
// the ones above it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

class IncludeGraphTest : public testing::TestWithParam<const char*> {};

TEST_P(IncludeGraphTest, NoFileIncludesItselfThroughOthers) {
  // File (a ".cpp" folded into its ".h") -> the files of its folder it includes.
  const fs::path root = QUILLON_SOURCE_DIR;
  const std::string folder = GetParam();
  const std::regex include("^\\s*#\\s*include\\s+\"(" + folder + "/[^\"]+)\"");
  std::map<std::string, std::set<std::string>> graph;
  for (const auto& item : fs::recursive_directory_iterator(root / folder)) {
    std::string name = fs::relative(item.path(), root).generic_string();
    if (item.path().extension() == ".cpp") name.replace(name.size() - 4, 4, ".h");
    else if (item.path().extension() != ".h") continue;
    std::ifstream file(item.path());
    std::smatch found;
    for (std::string line; std::getline(file, line);)
      if (std::regex_search(line, found, include) && found[1] != name) graph[name].insert(found[1]);
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

#include "tests/configurator/test_files.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace quillon::test_files {

namespace fs = std::filesystem;

std::string MakeScratchFolder(const std::string& name) {
  // ctest runs test cases in parallel processes: each gets folders of its own.
  static const std::string processTag = std::to_string(std::random_device{}());
  fs::path folder = fs::temp_directory_path() / ("quillon-config-" + processTag + "-" + name);
  std::error_code error;
  fs::remove_all(folder, error);
  fs::create_directories(folder);
  return folder.string();
}

void RemoveScratchFolder(const std::string& path) {
  std::error_code error;
  fs::remove_all(fs::path(path), error);
}

std::string InFolder(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  return folder + "\\" + name;
#else
  return folder + "/" + name;
#endif
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::path(path), error);
}

void MakeFolder(const std::string& path) {
  std::error_code error;
  fs::create_directories(fs::path(path), error);
}

}  // namespace quillon::test_files

// Files and folders through the standard library, for builds without
// Windows. Wildcards "*" and "?" in the last part of a path match as the
// system's directory search does; names starting with "." count as hidden.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "configurator/seams/file_system.h"
#include "shared/text_helpers.h"

namespace quillon {

namespace fs = std::filesystem;

bool FindFirstEntry(const std::string& path) {
  std::error_code error;
  fs::path where(path);
  std::string leaf = where.filename().string();
  if (leaf.find_first_of("*?") == std::string::npos) {
    return !leaf.empty() && leaf[0] != '.' && fs::is_regular_file(where, error);
  }
  return !ListFiles(path).empty();
}

std::vector<std::string> ListFiles(const std::string& pattern) {
  std::vector<std::string> names;
  std::error_code error;
  fs::path where(pattern);
  std::string leaf = where.filename().string();
  fs::path folder = where.has_parent_path() ? where.parent_path() : fs::path(".");
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    if (name[0] != '.' && MatchWildcard(leaf.c_str(), name.c_str(), LetterCase::Kept) && it->is_regular_file(error))
      names.push_back(name);
  }
  return names;
}

bool PathAttributesReadable(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::path(path), error);
}

bool CreateFolder(const std::string& path) {
  std::error_code error;
  return fs::create_directory(fs::path(path), error);
}

bool DeleteFileAt(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(fs::path(path), error) && fs::remove(fs::path(path), error);
}

bool CreateEmptyFile(const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return bool(out);
}

std::optional<std::string> ReadFileStart(const std::string& path, size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(maxBytes, '\0');
  in.read(text.data(), std::streamsize(maxBytes));
  if (in.bad()) return std::nullopt;
  text.resize(size_t(in.gcount()));
  return text;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), std::streamsize(content.size()));
  out.close();
  return bool(out);
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
  std::error_code error;
  fs::copy_file(fs::path(source), fs::path(target), fs::copy_options::overwrite_existing, error);
  return !error;
}

bool IsSameFile(const std::string& first, const std::string& second) {
  std::error_code error;
  return fs::equivalent(fs::path(first), fs::path(second), error) && !error;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  std::error_code error;
  fs::rename(fs::path(source), fs::path(target), error);
  return !error;
}

}  // namespace quillon

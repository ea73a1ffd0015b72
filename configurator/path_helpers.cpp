#include "configurator/path_helpers.h"

#include <algorithm>
#include <cctype>

namespace quillon {

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return TrimBlanks(folder + name);
  return TrimBlanks(folder + "\\" + name);
}

bool HasExtension(const std::string& path, const std::string& extension) {
  const std::string actual = ExtensionOf(path);
  return actual.size() == extension.size() &&
         std::equal(actual.begin(), actual.end(), extension.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

std::string FolderOf(const std::string& path) {
  size_t at = path.rfind('\\');
  return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string FileNameOf(const std::string& path) {
  size_t at = path.rfind('\\');
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string ExtensionOf(const std::string& path) {
  size_t at = path.rfind('.');
  return at == std::string::npos ? std::string() : path.substr(at);
}

std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement) {
  if (search.empty()) return text;
  std::string result;
  size_t from = 0;
  for (size_t at = text.find(search); at != std::string::npos; at = text.find(search, from)) {
    result.append(text, from, at - from);
    result += replacement;
    from = at + search.size();
  }
  result.append(text, from, std::string::npos);
  return result;
}

}  // namespace quillon

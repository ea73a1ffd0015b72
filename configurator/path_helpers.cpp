#include "configurator/path_helpers.h"

namespace quillon {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return TrimBlanks(folder + name);
  return TrimBlanks(folder + "\\" + name);
}

bool HasExtension(const std::string& path, const std::string& extension) {
  return SameTextIgnoringCase(ExtensionOf(path), extension);
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

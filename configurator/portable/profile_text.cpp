#include "configurator/portable/profile_text.h"

#include <vector>

#include "shared/text_helpers.h"

namespace quillon::profile_text {

namespace {

// Profile files take tabs as blanks too.
std::string Trimmed(const std::string& text) { return TrimBlanks(text, " \t"); }

std::vector<std::string> Lines(const std::string& content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    std::string line = content.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

// The section name of a header line, or false when the line is no header.
bool HeaderName(const std::string& line, std::string* name) {
  std::string text = Trimmed(line);
  if (text.empty() || text[0] != '[') return false;
  size_t close = text.find(']');
  *name = Trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

// A line's key name: the trimmed text before its first "=" (or all of it).
std::string KeyName(const std::string& line) { return Trimmed(line.substr(0, line.find('='))); }

// The index of the header of the first section named `section`, or -1.
long FindSection(const std::vector<std::string>& lines, const std::string& section) {
  std::string name;
  for (size_t i = 0; i < lines.size(); ++i)
    if (HeaderName(lines[i], &name) && SameTextIgnoringCase(name, section)) return long(i);
  return -1;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) content += line + "\r\n";
  return content;
}

}  // namespace

std::string SectionLines(const std::string& content, const std::string& section) {
  std::vector<std::string> lines = Lines(content);
  long header = FindSection(lines, section);
  if (header < 0) return std::string();
  std::string result;
  std::string name;
  for (size_t i = size_t(header) + 1; i < lines.size() && !HeaderName(lines[i], &name); ++i) {
    std::string line = Trimmed(lines[i]);
    if (line.empty()) continue;
    size_t equals = line.find('=');
    if (equals == std::string::npos) result += line;
    else result += Trimmed(line.substr(0, equals)) + "=" + Trimmed(line.substr(equals + 1));
    result += '\0';
  }
  return result;
}

std::string SectionNames(const std::string& content) {
  std::string names;
  std::string name;
  for (const std::string& line : Lines(content))
    if (HeaderName(line, &name)) names += name + '\0';
  return names;
}

std::string WithKeySet(const std::string& content, const std::string& section, const std::string& key,
                       const std::string& value) {
  std::vector<std::string> lines = Lines(content);
  const std::string newLine = Trimmed(key) + "=" + value;
  long header = FindSection(lines, section);
  if (header < 0) {
    lines.push_back("[" + section + "]");
    lines.push_back(newLine);
    return Joined(lines);
  }
  std::string name;
  size_t lastLine = size_t(header);
  for (size_t i = size_t(header) + 1; i < lines.size() && !HeaderName(lines[i], &name); ++i) {
    if (Trimmed(lines[i]).empty()) continue;
    if (SameTextIgnoringCase(KeyName(lines[i]), Trimmed(key))) {
      lines[i] = KeyName(lines[i]) + "=" + value;  // the name keeps its spelling
      return Joined(lines);
    }
    lastLine = i;
  }
  lines.insert(lines.begin() + long(lastLine) + 1, newLine);
  return Joined(lines);
}

}  // namespace quillon::profile_text

#include <windows.h>

#include <algorithm>

#include "configurator/seams/file_system.h"

namespace quillon {

namespace {
// What a directory search passes over: folders, hidden and system files.
constexpr DWORD kNotListed = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// The volume and the file's index on it: the same for every path that
// reaches the file (other case, short name, another spelling of the folder).
bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION* identity) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(file, identity) != FALSE;
  CloseHandle(file);
  return known;
}
}  // namespace

bool FindFirstEntry(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool any = false;
  do {
    if ((found.dwFileAttributes & kNotListed) == 0) any = true;
  } while (!any && FindNextFileA(search, &found));
  FindClose(search);
  return any;
}

std::vector<std::string> ListFiles(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & kNotListed) == 0) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

bool PathAttributesReadable(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CreateFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

bool DeleteFileAt(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool CreateEmptyFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::optional<std::string> ReadFileStart(const std::string& path, size_t maxBytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string text(maxBytes, '\0');
  size_t held = 0;
  bool read = true;
  while (read && held < text.size()) {
    DWORD count = 0;
    const DWORD asked = DWORD(std::min<size_t>(text.size() - held, 1u << 20));
    read = ReadFile(file, text.data() + held, asked, &count, nullptr) != FALSE;
    if (read && count == 0) break;
    held += count;
  }
  CloseHandle(file);
  if (!read) return std::nullopt;
  text.resize(held);
  return text;
}

// A file that others have open is still replaced: FILE_SHARE_READ lets an
// editor or the runtime keep reading it, and CREATE_ALWAYS keeps the file's
// own permissions and short name, which a write-and-rename would lose.
bool WriteWholeFile(const std::string& path, const std::string& content) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool written = true;
  for (size_t done = 0; written && done < content.size();) {
    DWORD count = 0;
    const DWORD asked = DWORD(std::min<size_t>(content.size() - done, 1u << 20));
    written = WriteFile(file, content.data() + done, asked, &count, nullptr) != FALSE && count == asked;
    done += count;
  }
  return CloseHandle(file) != FALSE && written;
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
  return CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE;
}

bool IsSameFile(const std::string& first, const std::string& second) {
  BY_HANDLE_FILE_INFORMATION a, b;
  return FileIdentity(first, &a) && FileIdentity(second, &b) && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
         a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace quillon

#include <windows.h>

#include "shared/seams/file_reading.h"

namespace quillon {

// FILE_SHARE_DELETE as well as read and write: Notepad and most editors save
// by writing a new file and renaming it over the old one, which a reader
// without it would make fail. A folder does not open without
// FILE_FLAG_BACKUP_SEMANTICS, which is what is wanted here.
FileToRead OpenFileToRead(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) size.QuadPart = 0;
  return {reinterpret_cast<uintptr_t>(file), static_cast<uint64_t>(size.QuadPart)};
}

int64_t ReadFileBytes(FileToRead file, char* buffer, size_t capacity) {
  if (file.id == 0) return -1;
  // ReadFile counts in 32 bits; one read of a gigabyte is more than any
  // caller here asks for.
  DWORD asked = capacity > (1u << 30) ? (1u << 30) : static_cast<DWORD>(capacity);
  DWORD read = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(file.id), buffer, asked, &read, nullptr)) return -1;
  return read;
}

void CloseFileToRead(FileToRead file) {
  if (file.id != 0) CloseHandle(reinterpret_cast<HANDLE>(file.id));
}

}  // namespace quillon

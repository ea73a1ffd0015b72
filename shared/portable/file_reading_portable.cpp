// Files through the C library, for builds without Windows (the native
// benchmarks read real files through it).
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "shared/seams/file_reading.h"

namespace quillon {

FileToRead OpenFileToRead(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {};
  uint64_t size = std::filesystem::file_size(path, error);
  return {reinterpret_cast<uintptr_t>(file), error ? 0 : size};
}

int64_t ReadFileBytes(FileToRead file, char* buffer, size_t capacity) {
  if (file.id == 0) return -1;
  std::FILE* stream = reinterpret_cast<std::FILE*>(file.id);
  size_t read = std::fread(buffer, 1, capacity, stream);
  if (read == 0 && std::ferror(stream)) return -1;
  return static_cast<int64_t>(read);
}

void CloseFileToRead(FileToRead file) {
  if (file.id != 0) std::fclose(reinterpret_cast<std::FILE*>(file.id));
}

}  // namespace quillon

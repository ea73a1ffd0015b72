// Reading a file from its start, piece by piece: the games lists beside the
// maps (read whole, up to a limit, at every load) and the emulator's machine
// list (hundreds of megabytes, read as a stream).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon {

// An open file; `id` 0 when it could not be opened.
struct FileToRead {
  uintptr_t id = 0;
  uint64_t size = 0;  // its size in bytes when it was opened
};

// Opens an existing file for reading while others may still read, write,
// rename or delete it (a games list open in an editor stays readable).
// Folders do not open.
FileToRead OpenFileToRead(const std::string& path);
// Reads up to `capacity` bytes from where the last read ended: the count
// read, 0 at the end of the file, -1 when the read failed.
int64_t ReadFileBytes(FileToRead file, char* buffer, size_t capacity);
void CloseFileToRead(FileToRead file);

}  // namespace quillon

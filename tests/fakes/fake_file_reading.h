// Files held in memory behind the file-reading seam. A file can refuse to
// open (locked, no rights), fail part way (a network share that drops), or
// hand out its bytes in small pieces as a pipe or a slow share does; the
// fake counts the files left open and the largest read asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon::fake_files {

struct File {
  std::string content;
  bool opens = true;
  int64_t failsAfter = -1;  // a read at or past this many bytes fails; -1 never
  size_t piece = 0;         // most bytes one read returns; 0 as many as asked
};

// No files, nothing open, no reads counted.
void Reset();
// Puts (or replaces) the file at `path`; paths compare as given.
void Put(const std::string& path, File file);
void Put(const std::string& path, std::string content);
void Remove(const std::string& path);

int OpenCount();
// The most bytes that one read asked for since Reset.
size_t LargestRead();
// Every byte handed out since Reset.
uint64_t BytesHandedOut();

}  // namespace quillon::fake_files

#include "tests/fakes/fake_file_reading.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "shared/seams/file_reading.h"

namespace quillon {

namespace {

struct OpenFile {
  std::string path;
  uint64_t at = 0;
};

struct FakeFiles {
  std::map<std::string, fake_files::File> files;
  std::map<uintptr_t, OpenFile> open;
  uintptr_t nextId = 1;
  size_t largestRead = 0;
  uint64_t handedOut = 0;
};

FakeFiles& State() {
  static FakeFiles state;
  return state;
}

}  // namespace

namespace fake_files {

void Reset() { State() = FakeFiles{}; }
void Put(const std::string& path, File file) { State().files[path] = std::move(file); }
void Put(const std::string& path, std::string content) { Put(path, File{std::move(content)}); }
void Remove(const std::string& path) { State().files.erase(path); }
int OpenCount() { return static_cast<int>(State().open.size()); }
size_t LargestRead() { return State().largestRead; }
uint64_t BytesHandedOut() { return State().handedOut; }

}  // namespace fake_files

FileToRead OpenFileToRead(const std::string& path) {
  FakeFiles& state = State();
  auto found = state.files.find(path);
  if (found == state.files.end() || !found->second.opens) return {};
  uintptr_t id = state.nextId++;
  state.open[id] = OpenFile{path, 0};
  return {id, found->second.content.size()};
}

int64_t ReadFileBytes(FileToRead file, char* buffer, size_t capacity) {
  FakeFiles& state = State();
  auto open = state.open.find(file.id);
  if (open == state.open.end()) return -1;
  state.largestRead = std::max(state.largestRead, capacity);
  // A file removed while open reads as it was when opened on Windows too
  // (the name goes, the data stays until the last handle closes); here it
  // simply fails, the harder case for the reader.
  auto found = state.files.find(open->second.path);
  if (found == state.files.end()) return -1;
  const fake_files::File& data = found->second;
  uint64_t& at = open->second.at;
  if (data.failsAfter >= 0 && at >= static_cast<uint64_t>(data.failsAfter)) return -1;
  size_t count = static_cast<size_t>(
      std::min<uint64_t>(capacity, data.content.size() - std::min<uint64_t>(at, data.content.size())));
  if (data.piece != 0) count = std::min(count, data.piece);
  if (data.failsAfter >= 0) count = static_cast<size_t>(std::min<uint64_t>(count, data.failsAfter - at));
  if (count > 0) std::memcpy(buffer, data.content.data() + at, count);
  at += count;
  state.handedOut += count;
  return static_cast<int64_t>(count);
}

void CloseFileToRead(FileToRead file) { State().open.erase(file.id); }

}  // namespace quillon

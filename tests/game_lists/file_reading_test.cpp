// The file-reading seam's own side against real files: natively the C
// library's, in the windows build Wine's CreateFile and ReadFile.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shared/games_list.h"
#include "shared/seams/file_reading.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

class FileReadingTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("quillon-file-reading-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Write(const std::string& name, const std::string& content) {
    std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  fs::path folder_;
};

TEST_F(FileReadingTest, ReadsAFileInPiecesToItsEnd) {
  std::string content;
  for (int i = 0; i < 10000; ++i) content += "line " + std::to_string(i) + "\r\n";
  FileToRead file = OpenFileToRead(Write("list.txt", content));
  ASSERT_NE(file.id, 0u);
  EXPECT_EQ(file.size, content.size());
  std::string read;
  char piece[4096];
  for (int64_t count; (count = ReadFileBytes(file, piece, sizeof piece)) > 0;) read.append(piece, size_t(count));
  CloseFileToRead(file);
  EXPECT_EQ(read, content);
}

TEST_F(FileReadingTest, AMissingFileOrAFolderDoesNotOpen) {
  EXPECT_EQ(OpenFileToRead((folder_ / "missing.games").string()).id, 0u);
  EXPECT_EQ(OpenFileToRead(folder_.string()).id, 0u);
}

TEST_F(FileReadingTest, AGamesListOnDisk) {
  std::string path = Write("4-Way.games", "# 4-way\r\npacman, dkong\r\nMSPACMAN");
  EXPECT_EQ(ReadGamesList(path).names, (std::vector<std::string>{"dkong", "mspacman", "pacman"}));
}

}  // namespace
}  // namespace quillon

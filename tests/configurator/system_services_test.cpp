// Path and file helpers, AppEx's errors, the file dialog's answer and the
// shortcut writer, over fakes of the shell services.
#include <gtest/gtest.h>

#include "configurator/app_error.h"
#include "configurator/path_helpers.h"
#include "configurator/system_services.h"
#include "tests/configurator/test_files.h"
#include "tests/fakes/fake_configurator_shell.h"

namespace quillon {
namespace {

namespace shell = fake_configurator_shell;

class SystemServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { shell::Reset(); }
};

TEST_F(SystemServicesTest, PathHelpers) {
  struct {
    const char* path;
    const char* folder;
    const char* name;
    const char* extension;
  } const cases[] = {
      {"C:\\Data\\map.ugc", "C:\\Data\\", "map.ugc", ".ugc"},
      {"map.ugc", "", "map.ugc", ".ugc"},
      {"C:\\Data\\", "C:\\Data\\", "", ""},
      {"C:\\a.b\\file", "C:\\a.b\\", "file", ".b\\file"},
      {"archive.tar.gz", "", "archive.tar.gz", ".gz"},
      {"C:\\plain", "C:\\", "plain", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
    EXPECT_EQ(ExtensionOf(c.path), c.extension) << c.path;
  }
  EXPECT_EQ(JoinPath("C:\\Data\\", "x.qlf"), "C:\\Data\\x.qlf");
  EXPECT_EQ(JoinPath("C:\\Data", "x.qlf"), "C:\\Data\\x.qlf");
  EXPECT_EQ(JoinPath("", "x.qlf"), "\\x.qlf");
  EXPECT_EQ(JoinPath("  C:\\Data", "x.qlf  "), "C:\\Data\\x.qlf");
}

TEST_F(SystemServicesTest, ReplaceAllScansLeftToRightWithoutOverlaps) {
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceAll("a.b.c", ".", "\\"), "a\\b\\c");
  EXPECT_EQ(ReplaceAll("Abc abc", "abc", "x"), "Abc x");
  EXPECT_EQ(ReplaceAll("abc", "abc", "abcabc"), "abcabc");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc") << "an empty search text finds nothing";
}

TEST_F(SystemServicesTest, AppExPathMapsTheShellResultsToItsErrors) {
  struct {
    long result;
    uint32_t number;
    const char* text;
  } const cases[] = {
      {1, kErrPathMissing, "Valid PathId but folder doesn't exist"},
      {long(int32_t(0x80070057)), kErrPathInvalidId, "Invalid PathId for requested function"},
      {long(int32_t(0x80070005)), kErrPathSystem, "System error -2147024891"},
      {5, kErrPathSystem, "System error 5"},
  };
  for (const auto& c : cases) {
    shell::SetFolderResult(kFolderDesktopDirectory, c.result, "");
    try {
      AppEx::Path(kFolderDesktopDirectory, false, 0);
      ADD_FAILURE() << "no error for result " << c.result;
    } catch (const AppError& error) {
      EXPECT_EQ(error.number, c.number);
      EXPECT_EQ(error.source, "AppEx.Path");
      EXPECT_STREQ(error.what(), c.text);
    }
  }
}

TEST_F(SystemServicesTest, AppExPathAsksForCreationAndCutsAtTheFirstNul) {
  shell::SetFolderPath(kFolderCommonAppData, std::string("C:\\ProgramData\0junk", 19));
  EXPECT_EQ(AppEx::Path(kFolderCommonAppData, true, 0), "C:\\ProgramData");
  EXPECT_EQ(shell::LastFolderIdAsked(), kFolderCommonAppData | kFolderFlagCreate);
  EXPECT_EQ(AppEx::Path(kFolderCommonAppData, false, 0), "C:\\ProgramData");
  EXPECT_EQ(shell::LastFolderIdAsked(), kFolderCommonAppData);
}

TEST_F(SystemServicesTest, SpecialAndSystemFolders) {
  std::string path = "unchanged";
  EXPECT_FALSE(GetSpecialFolder(nullptr, kFolderProgramFiles, &path));
  shell::SetSpecialFolder(kFolderProgramFiles, true, std::string("  C:\\Program Files \0", 20));
  EXPECT_TRUE(GetSpecialFolder(nullptr, kFolderProgramFiles, &path));
  EXPECT_EQ(path, "C:\\Program Files");
  shell::SetSpecialFolder(kFolderProgramFilesX86, true, "");
  path = "kept";
  EXPECT_TRUE(GetSpecialFolder(nullptr, kFolderProgramFilesX86, &path));
  EXPECT_EQ(path, "kept");

  EXPECT_EQ(GetSystemFolder(), "C:\\Windows\\system32");
  shell::SetSystemFolder(false, "C:\\x");
  EXPECT_EQ(GetSystemFolder(), "");
}

TEST_F(SystemServicesTest, FileDialogCancelledGivesNoPath) {
  std::string path = "stale";
  EXPECT_FALSE(ShowFileDialog(FileDialogOptions{}, &path));
  EXPECT_EQ(path, "");
}

TEST_F(SystemServicesTest, FileDialogTakesTheDefaultExtensionWithoutItsPeriod) {
  const struct {
    const char* given;
    const char* asked;
  } cases[] = {{".qlf", "qlf"}, {".exe", "exe"}, {".*", ""}, {"", ""}};
  shell::SetDialogAnswer("C:\\Data\\My maps\\arcade.qlf");
  for (const auto& c : cases) {
    FileDialogOptions options;
    options.defaultExtension = c.given;
    std::string path;
    ASSERT_TRUE(ShowFileDialog(options, &path));
    EXPECT_EQ(path, "C:\\Data\\My maps\\arcade.qlf");
    EXPECT_EQ(shell::DialogsShown().back().defaultExtension, c.asked) << c.given;
  }
}

TEST_F(SystemServicesTest, ShortcutWithoutTargetOrLinkPathIsNotWritten) {
  EXPECT_FALSE(CreateShortcut("C:\\Desk\\Quillon.lnk", "", "", "", "", 0, 7));
  EXPECT_FALSE(CreateShortcut("", "C:\\Q\\Quillon.exe", "", "", "", 0, 7));
  EXPECT_TRUE(shell::Calls().empty());
  EXPECT_TRUE(CreateShortcut("C:\\Desk\\Quillon.lnk", "C:\\Q\\Quillon.exe", "C:\\Q", "", "C:\\Q\\Quillon.exe", 0, 7));
  shell::SetShellLinkSaves(false);
  EXPECT_FALSE(CreateShortcut("C:\\Desk\\Quillon.lnk", "C:\\Q\\Quillon.exe", "", "", "", 0, 7));
}

TEST_F(SystemServicesTest, FileExistsFindsFilesOnly) {
  const std::string folder = test_files::MakeScratchFolder("exists");
  const std::string file = test_files::InFolder(folder, "map.ugc");
  test_files::WriteFile(file, "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(test_files::InFolder(folder, "missing.ugc")));
  EXPECT_FALSE(FileExists(folder)) << "a folder is not a file";
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(FileExists(test_files::InFolder(folder, "*.ugc")));
  EXPECT_FALSE(FileExists(test_files::InFolder(folder, "*.wav")));
  RemoveFile(file);
  EXPECT_FALSE(test_files::Exists(file));
  RemoveFile(file);  // a second removal is quietly ignored
  EXPECT_TRUE(PathExists(folder));
  test_files::RemoveScratchFolder(folder);
}

}  // namespace
}  // namespace quillon

// The real shell and process services under Wine: special folders, the
// system folder, shell links, and messages to a window whose thread hangs.
#include <windows.h>
#include <gtest/gtest.h>

#include <thread>

#include "configurator/app_error.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/process_control.h"
#include "configurator/system_services.h"
#include "shared/runtime_messages.h"
#include "shared/settings_tree.h"
#include "tests/configurator/test_files.h"

namespace quillon {
namespace {

TEST(ShellServicesTest, CommonApplicationDataIsCreatedAndReturned) {
  std::string folder = AppEx::Path(kFolderCommonAppData, true, 0);
  EXPECT_FALSE(folder.empty());
  EXPECT_TRUE(PathExists(folder));
  EXPECT_EQ(folder.find('\0'), std::string::npos);
}

TEST(ShellServicesTest, AnInvalidFolderIdIsAnAppError) {
  try {
    AppEx::Path(0x7F, false, 0);
    ADD_FAILURE() << "no error";
  } catch (const AppError& error) {
    EXPECT_EQ(error.source, "AppEx.Path");
    EXPECT_TRUE(error.number == kErrPathInvalidId || error.number == kErrPathSystem || error.number == kErrPathMissing)
        << std::hex << error.number;
  }
}

TEST(ShellServicesTest, SystemAndProgramFolders) {
  std::string system = GetSystemFolder();
  EXPECT_FALSE(system.empty());
  EXPECT_TRUE(PathExists(JoinPath(system, "rundll32.exe")));
  std::string programs;
  EXPECT_TRUE(GetSpecialFolder(nullptr, kFolderProgramFiles, &programs));
  EXPECT_FALSE(programs.empty());
}

TEST(ShellServicesTest, AShortcutIsWrittenAndReplaced) {
  const std::string folder = test_files::MakeScratchFolder("links");
  const std::string link = JoinPath(folder, "Quillon.lnk");
  const std::string target = JoinPath(GetSystemFolder(), "notepad.exe");
  EXPECT_TRUE(CreateShortcut(link, target, folder, "", target, 0, 7));
  EXPECT_TRUE(FileExists(link));
  EXPECT_TRUE(CreateShortcut(link, target, folder, "--again", target, 0, 7)) << "an existing link is replaced";
  EXPECT_FALSE(CreateShortcut(JoinPath(folder, "None.lnk"), "", "", "", "", 0, 7));
  EXPECT_FALSE(FileExists(JoinPath(folder, "None.lnk")));
  test_files::RemoveScratchFolder(folder);
}

TEST(ShellServicesTest, TheFileDialogAnswersWithTheChosenPathAlone) {
  // The user types a path shorter than the initial name and confirms: the
  // dialog leaves the rest of that name behind the path's NUL.
  std::thread user([] {
    HWND dialog = nullptr;
    for (int i = 0; i < 400 && dialog == nullptr; ++i) {
      Sleep(50);
      dialog = FindWindowA(nullptr, "Pick a file");
    }
    if (dialog == nullptr) return;
    SetDlgItemTextA(dialog, 0x47C, "C:\\q.qlf");  // cmb13, the file-name box
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  FileDialogOptions options;
  options.kind = FileDialogKind::Save;
  options.title = "Pick a file";
  options.initialFileName = "SomeLongProgram.exe";
  options.filters = {{"All files", "*.*"}};
  std::string path;
  EXPECT_TRUE(ShowFileDialog(options, &path));
  user.join();
  EXPECT_EQ(path, "C:\\q.qlf");
}

TEST(ProcessServicesTest, ARequestToAWindowThatHangsEndsInBoundedTime) {
  HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND window = nullptr;
  std::thread hung([&] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillonHungProbe";
    RegisterClassA(&windowClass);
    window = CreateWindowA("QuillonHungProbe", "", 0, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetEvent(created);
    WaitForSingleObject(release, INFINITE);  // its messages are never handled meanwhile
    DestroyWindow(window);
  });
  WaitForSingleObject(created, INFINITE);
  ASSERT_NE(window, nullptr);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(SendWindowMessage(window, WM_RELOAD_SETTINGS, 0, 0));
  EXPECT_LT(GetTickCount() - start, 2 * kMessageAnswerTimeoutMs);
  SetEvent(release);
  hung.join();
  CloseHandle(created);
  CloseHandle(release);
}

}  // namespace
}  // namespace quillon

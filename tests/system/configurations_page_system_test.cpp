// The "Configurations" page of the real QuillonConfig.exe under Wine, with
// real map and sound files in its data folder: the lists built from the
// stored names, Insert and Up then Apply, after which the runtime that the
// configurator starts steps through exactly the active maps; Delete with its
// question; and files dropped on the list as the shell drops them.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "shared/settings_tree.h"
#include "tests/kit/dialog_probe.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/screen_capture.h"
#include "tests/kit/shell_drop.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

namespace kit = test_kit;
namespace reg = test_registry;
using Names = std::vector<std::string>;

constexpr const char* kTitle = " Quillon Configurator";
constexpr DWORD kChangeTimeoutMs = 1000;

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kit::kGenerousTimeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    kit::PumpMessagesFor(20);
  }
  return true;
}

// The configurator's data folder: the common application data, "KWP", and
// its program name.
std::string DataFolder() {
  char common[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, common);
  return std::string(common) + "\\KWP\\QuillonConfig";
}

void WriteFileAt(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr);
  CloseHandle(file);
}
std::string ReadFileAt(const std::string& path) {
  std::string content(4096, '\0');
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  DWORD read = 0;
  ReadFile(file, content.data(), DWORD(content.size()), &read, nullptr);
  CloseHandle(file);
  content.resize(read);
  return content;
}
bool FileThere(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The rows of a list box in the configurator. LB_GETTEXT is copied between
// processes, but Wine's ANSI copy keeps only the first character: the rows
// are read in UTF-16.
Names Rows(HWND list) {
  Names rows;
  const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    wchar_t wide[256] = L"";
    char text[512] = "";
    if (SendMessageW(list, LB_GETTEXTLEN, WPARAM(row), 0) < 256 &&
        SendMessageW(list, LB_GETTEXT, WPARAM(row), LPARAM(wide)) != LB_ERR)
      WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    rows.push_back(text);
  }
  return rows;
}
std::string Joined(const Names& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}
bool SelectRowReading(HWND list, const std::string& text) {
  const LRESULT row = SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str()));
  return row != LB_ERR && SendMessageA(list, LB_SETCURSEL, WPARAM(row), 0) == row;
}

std::string StoredText(const char* name) {
  char text[256] = "(none)";
  DWORD size = sizeof text;
  RegGetValueA(HKEY_CURRENT_USER, reg::SettingsPath().c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size);
  return text;
}

void Key(WORD key, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = WORD(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

class ConfigurationsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    data_ = DataFolder();
    CreateDirectoryA((data_.substr(0, data_.rfind('\\'))).c_str(), nullptr);
    CreateDirectoryA(data_.c_str(), nullptr);
    ClearDataFolder();
    log_ = kit::UseFreshStandInLog("configurations_page");
    const std::string path = reg::SettingsPath();
    reg::WriteText(path, "UltraMapPath", kit::StandInMapperPath());
    reg::WriteText(path, "UltraMapOptions", "%s");
    reg::WriteNumber(path, "ChangeTimeout", kChangeTimeoutMs);
    reg::WriteNumber(path, "UseHook", 1);
    reg::WriteNumber(path, "UseJoystick", 0);
    reg::WriteNumber(path, "UseKeyboard", 1);
    reg::WriteNumber(path, "ApplyOnStart", 1);
    // F8 steps to the next map.
    reg::WriteNumber(reg::KeyActionPath(1), "Modifier", 0);
    reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", VK_F8);
    reg::WriteNumber(reg::KeyActionPath(1), "Action", NextMap);
  }
  void TearDown() override {
    if (configurator_.process) {
      if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
      kit::WaitForExit(configurator_, kit::kGenerousTimeoutMs, nullptr);
    }
    kit::StopAnyRuntime();
    ClearDataFolder();
    reg::DeleteSettingsTree();
  }

  void ClearDataFolder() {
    for (const char* pattern : {"*.ugc", "*.wav", "*.txt", "quillon.exe"}) {
      WIN32_FIND_DATAA found;
      HANDLE search = FindFirstFileA(InData(pattern).c_str(), &found);
      if (search == INVALID_HANDLE_VALUE) continue;
      do {
        SetFileAttributesA(InData(found.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(InData(found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
  }
  std::string InData(const std::string& name) const { return data_ + "\\" + name; }
  void Maps(const Names& names) {
    for (const std::string& name : names) WriteFileAt(InData(name + ".ugc"), "map " + name);
  }

  HWND StartConfigurator() {
    configurator_ = kit::StartChild(kit::ProgramFolder() + "QuillonConfig.exe", "");
    window_ = kit::WaitForTopLevelWindow("#32770", kTitle, configurator_.id);
    EXPECT_NE(window_, nullptr) << "the configurator's window never appeared";
    if (window_ != nullptr) {
      EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window_) != FALSE; }));
    }
    return window_;
  }
  HWND Control(const char* caption) const {
    HWND control = kit::ControlCaptioned(window_, caption);
    EXPECT_NE(control, nullptr) << "no control captioned \"" << caption << "\"";
    return control;
  }
  HWND Available() const { return kit::ControlLabelled(window_, "Available configurations:"); }
  HWND Active() const { return kit::ControlLabelled(window_, "Active configurations (topmost = default):"); }
  // Posted, since the click may open a message box.
  void Click(const char* caption) const { PostMessageA(Control(caption), BM_CLICK, 0, 0); }
  ::testing::AssertionResult ListsBecome(const Names& active, const Names& available) const {
    if (WaitUntil([&] { return Rows(Active()) == active && Rows(Available()) == available; }, 5000))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "active: " << Joined(Rows(Active()))
                                         << "; available: " << Joined(Rows(Available()));
  }
  // Waits for the box of `title` showing `text` and answers it.
  void Answer(const char* title, const std::string& text, int button) {
    HWND box = kit::WaitForTopLevelWindow("#32770", title, configurator_.id);
    ASSERT_NE(box, nullptr) << "no \"" << title << "\" box for " << text;
    EXPECT_NE(kit::ControlCaptioned(box, text), nullptr) << text;
    PostMessageA(box, WM_COMMAND, WPARAM(button), 0);
    ASSERT_TRUE(kit::WaitForWindowGone(box));
  }

  std::string data_;
  std::string log_;
  kit::Child configurator_;
  HWND window_ = nullptr;
};

TEST_F(ConfigurationsPageTest, TheAppliedActiveListIsWhatTheRuntimeStepsThrough) {
  Maps({"Alpha", "Beta", "Gamma", "Delta", "Echo"});
  WriteFileAt(InData("Older.ugcx"), "not a map");
  const std::string path = reg::SettingsPath();
  const Names stored = {"Beta", "Alpha", "", "Gamma", "Beta", "Ghost"};
  for (size_t i = 0; i < stored.size(); ++i) reg::WriteText(path, "Config" + std::to_string(i), stored[i]);
  for (size_t i = stored.size(); i < 10; ++i) reg::WriteText(path, "Config" + std::to_string(i), "");
  // The runtime lives in the data folder, beside the maps it hands over.
  ASSERT_TRUE(CopyFileA(kit::RuntimePath().c_str(), InData("quillon.exe").c_str(), FALSE));

  ASSERT_NE(StartConfigurator(), nullptr);
  ASSERT_NE(Available(), nullptr);
  ASSERT_NE(Active(), nullptr);
  EXPECT_TRUE(ListsBecome({"Beta", "Alpha", "Gamma"}, {"Delta", "Echo"}));

  // Delta goes in at the bottom and one place up; Beta is unselected by a
  // double-click and comes back in its sorted place.
  ASSERT_TRUE(SelectRowReading(Available(), "Delta"));
  Click("Insert");
  EXPECT_TRUE(ListsBecome({"Beta", "Alpha", "Gamma", "Delta"}, {"Echo"}));
  ASSERT_TRUE(SelectRowReading(Active(), "Delta"));
  Click("Move up the configuration in the active list");
  EXPECT_TRUE(ListsBecome({"Beta", "Alpha", "Delta", "Gamma"}, {"Echo"}));
  ASSERT_TRUE(SelectRowReading(Active(), "Beta"));
  PostMessageA(GetParent(Active()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Active()), LBN_DBLCLK), LPARAM(Active()));
  EXPECT_TRUE(ListsBecome({"Alpha", "Delta", "Gamma"}, {"Beta", "Echo"}));

  SetForegroundWindow(window_);
  kit::PumpMessagesFor(400);
  kit::ScreenImage image;
  ASSERT_TRUE(kit::CaptureScreen(image));
  EXPECT_TRUE(kit::SaveBmp(image, kit::ArtifactsFolder() + "configurator_configuration_lists.bmp"));

  // No runtime runs: Apply stores the list, top first, and starts the one
  // in the data folder, which loads the first map.
  Click("Apply");
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1)) << "the runtime was not started or handed nothing over";
  EXPECT_EQ(StoredText("Config0"), "Alpha");
  EXPECT_EQ(StoredText("Config1"), "Delta");
  EXPECT_EQ(StoredText("Config2"), "Gamma");
  for (int i = 3; i < 10; ++i) EXPECT_EQ(StoredText(("Config" + std::to_string(i)).c_str()), "") << i;

  // Each step: a first press after the time-out names the current map, a
  // second steps on; the map is handed over a time-out later.
  for (size_t step = 1; step <= 3; ++step) {
    kit::PumpMessagesFor(kChangeTimeoutMs + 400);
    for (int press = 0; press < 2; ++press) {
      Key(VK_F8, true);
      Key(VK_F8, false);
      kit::PumpMessagesFor(100);
    }
    ASSERT_TRUE(kit::WaitForLoggedLines(log_, step + 1)) << "step " << step;
  }
  Names handed;
  for (const std::string& line : kit::LoggedCommandLines(log_)) {
    const size_t start = line.rfind('\\') + 1;
    handed.push_back(line.substr(start, line.rfind(".ugc") - start));
  }
  EXPECT_EQ(handed, (Names{"Alpha", "Delta", "Gamma", "Alpha"}));
}

TEST_F(ConfigurationsPageTest, DeleteAsksAndRemovesTheMapAndItsSound) {
  Maps({"Road", "Other"});
  WriteFileAt(InData("Road.wav"), "sound");
  ASSERT_NE(StartConfigurator(), nullptr);
  EXPECT_TRUE(ListsBecome({}, {"Other", "Road"}));

  ASSERT_TRUE(SelectRowReading(Available(), "Road"));
  Click("Delete");
  Answer("Request", "Permanently delete selected configuration?", IDNO);
  EXPECT_TRUE(FileThere(InData("Road.ugc")));
  Click("Delete");
  Answer("Request", "Permanently delete selected configuration?", IDYES);
  EXPECT_TRUE(ListsBecome({}, {"Other"}));
  EXPECT_FALSE(FileThere(InData("Road.ugc")));
  EXPECT_FALSE(FileThere(InData("Road.wav")));

  // A map that cannot be removed is named, and stays listed.
  SetFileAttributesA(InData("Other.ugc").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(SelectRowReading(Available(), "Other"));
  Click("Delete");
  Answer("Request", "Permanently delete selected configuration?", IDYES);
  Answer("Error", "Other.ugc: error deleting file.", IDOK);
  EXPECT_TRUE(ListsBecome({}, {"Other"}));
}

TEST_F(ConfigurationsPageTest, FilesDroppedOnTheListAreCopiedAndListed) {
  Maps({"Other"});
  WriteFileAt(InData("Road.wav"), "old sound");
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string source = std::string(temp) + "quillon-drop\\";
  CreateDirectoryA(source.c_str(), nullptr);
  for (const char* name : {"Road.ugc", "Road.wav", "notes.txt"}) WriteFileAt(source + name, std::string("new ") + name);
  ASSERT_NE(StartConfigurator(), nullptr);
  EXPECT_TRUE(ListsBecome({}, {"Other"}));

  // The map of the data folder itself comes along: it is already in place.
  ASSERT_TRUE(kit::DropFilesOn(Available(), {source + "Road.ugc", source + "Road.wav", source + "notes.txt",
                                             InData("Other.ugc")}));
  Answer("Warning", "Road.wav: file exists, overwrite?", IDYES);
  EXPECT_TRUE(ListsBecome({}, {"Other", "Road"}));
  EXPECT_EQ(ReadFileAt(InData("Road.ugc")), "new Road.ugc");
  EXPECT_EQ(ReadFileAt(InData("Road.wav")), "new Road.wav");
  EXPECT_EQ(ReadFileAt(InData("Other.ugc")), "map Other");
  EXPECT_FALSE(FileThere(InData("notes.txt")));
  kit::PumpMessagesFor(300);
  EXPECT_EQ(kit::FindTopLevelWindow("#32770", "Error", configurator_.id), nullptr) << "an error box";
  for (const char* name : {"Road.ugc", "Road.wav", "notes.txt"}) DeleteFileA((source + name).c_str());
  RemoveDirectoryA(source.c_str());
}

}  // namespace
}  // namespace quillon

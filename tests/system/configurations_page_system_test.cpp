// The "Configurations" page of the real QuillonConfig.exe under Wine, with
// real files in its data folder: the lists from the stored names, Insert and
// Up, then Apply, after which the runtime that the configurator starts steps
// through exactly the active maps; files dropped on the list as the shell
// drops them; Delete with its question; a MAME list imported through the
// file dialog into the stock maps' games lists, which Apply writes.
#include <gtest/gtest.h>

#include <windows.h>
#include <fstream>

#include "shared/settings_tree.h"
#include "tests/kit/configurator_test.h"
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

constexpr DWORD kChangeTimeoutMs = 1000;

void WriteFileAt(const std::string& path, const std::string& content) { std::ofstream(path) << content; }
std::string Content(const std::string& path) {
  std::ifstream file(path);
  return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "(none)";
}

// LB_GETTEXT is copied between processes, but Wine's ANSI copy keeps only
// the first character: the rows are read in UTF-16.
Names Rows(HWND list) {
  Names rows;
  for (int row = 0; row < int(SendMessageW(list, LB_GETCOUNT, 0, 0)); ++row) {
    wchar_t wide[256] = L"";
    char text[512] = "";
    if (SendMessageW(list, LB_GETTEXTLEN, WPARAM(row), 0) < 256)
      SendMessageW(list, LB_GETTEXT, WPARAM(row), LPARAM(wide));
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    rows.push_back(text);
  }
  return rows;
}
void Select(HWND list, const std::string& text) {
  SendMessageA(list, LB_SETCURSEL, WPARAM(SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str()))), 0);
}

class ConfigurationsPageTest : public kit::ConfiguratorTest {
 protected:
  void SetUp() override {
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    ClearDataFolder();
    log_ = kit::UseFreshStandInLog("configurations_page");
    const std::string path = reg::SettingsPath();
    reg::WriteText(path, "UltraMapPath", kit::StandInMapperPath());
    reg::WriteNumber(path, "ChangeTimeout", kChangeTimeoutMs);
    reg::WriteNumber(path, "UseHook", 1);
    // F8 steps to the next map.
    reg::WriteNumber(reg::KeyActionPath(1), "Modifier", 0);
    reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", VK_F8);
    reg::WriteNumber(reg::KeyActionPath(1), "Action", NextMap);
  }
  void TearDown() override {
    CloseConfigurator();
    kit::StopAnyRuntime();
    ClearDataFolder();
    reg::DeleteSettingsTree();
  }
  void ClearDataFolder() {
    for (const char* pattern : {"*.ugc", "*.wav", "*.txt", "*.games", "quillon.exe"}) {
      WIN32_FIND_DATAA found;
      HANDLE search = FindFirstFileA((data_ + pattern).c_str(), &found);
      for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        DeleteFileA((data_ + found.cFileName).c_str());
      if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
  }

  void StartWithLists() {
    ASSERT_NE(StartConfigurator(), nullptr);
    available_ = kit::ControlLabelled(window_, "Available configurations:");
    active_ = kit::ControlLabelled(window_, "Active configurations (topmost = default):");
  }
  bool ListsBecome(const Names& active, const Names& available) {
    return kit::WaitUntil([&] { return Rows(active_) == active && Rows(available_) == available; }, 5000);
  }
  void Answer(const char* title, const std::string& text) {
    HWND box = kit::WaitForTopLevelWindow("#32770", title, configurator_.id);
    ASSERT_NE(box, nullptr) << text;
    EXPECT_NE(kit::ControlCaptioned(box, text), nullptr) << text;
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(kit::WaitForWindowGone(box));
  }

  const std::string data_ = kit::ConfiguratorDataFolder();
  std::string log_;
  HWND available_ = nullptr, active_ = nullptr;
};

TEST_F(ConfigurationsPageTest, AfterApplyTheRuntimeStepsThroughExactlyTheActiveMaps) {
  for (const char* name : {"Alpha", "Beta", "Gamma", "Delta", "Echo"}) WriteFileAt(data_ + name + ".ugc", name);
  WriteFileAt(data_ + "Older.ugcx", "not a map");
  const Names before = {"Beta", "Alpha", "", "Gamma", "Beta", "Ghost"};
  for (size_t i = 0; i < before.size(); ++i)
    reg::WriteText(reg::SettingsPath(), "Config" + std::to_string(i), before[i]);

  StartWithLists();
  EXPECT_TRUE(ListsBecome({"Beta", "Alpha", "Gamma"}, {"Delta", "Echo"}));
  Select(available_, "Delta");
  Click("Insert");
  EXPECT_TRUE(ListsBecome({"Beta", "Alpha", "Gamma", "Delta"}, {"Echo"}));
  Select(active_, "Delta");
  Click("Move up the configuration in the active list");
  EXPECT_TRUE(ListsBecome({"Beta", "Alpha", "Delta", "Gamma"}, {"Echo"}));
  Picture("configurator_configuration_lists.bmp");

  // No runtime runs: Apply starts the one beside the configurator, which
  // hands over the first map of the data folder. Then each step is a press after the time-out (which
  // only names the map) and a second press, handed over a time-out later.
  Click("Apply");
  for (size_t count = 1;; ++count) {
    ASSERT_TRUE(kit::WaitForLoggedLines(log_, count)) << "hand-over " << count;
    if (count == 5) break;
    kit::PumpMessagesFor(kChangeTimeoutMs + 400);
    for (bool down : {true, false, true, false}) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = VK_F8;
      input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
      SendInput(1, &input, sizeof input);
    }
  }
  Names handed;
  for (const std::string& line : kit::LoggedCommandLines(log_)) {
    handed.push_back(line.substr(line.rfind('\\') + 1));
    // The runtime, in the configurator's folder, found them in the data folder.
    EXPECT_NE(line.find("\"" + data_), std::string::npos) << line;
  }
  EXPECT_EQ(handed, (Names{"Beta.ugc\"", "Alpha.ugc\"", "Delta.ugc\"", "Gamma.ugc\"", "Beta.ugc\""}));
  // Stored top first; the rest of the slots are empty.
  const char* stored[] = {"Beta", "Alpha", "Delta", "Gamma", ""};
  for (int i = 0; i < 5; ++i) {
    char text[64] = "(none)";
    DWORD size = sizeof text;
    const std::string name = "Config" + std::to_string(i);
    RegGetValueA(HKEY_CURRENT_USER, reg::SettingsPath().c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &size);
    EXPECT_STREQ(text, stored[i]) << name;
  }
}

TEST_F(ConfigurationsPageTest, DroppedFilesAreCopiedAndListedAndDeleteRemovesThem) {
  WriteFileAt(data_ + "Other.ugc", "map");
  WriteFileAt(data_ + "Road.wav", "old");
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string source = std::string(temp) + "quillon-drop\\";
  CreateDirectoryA(source.c_str(), nullptr);
  for (const char* name : {"Road.ugc", "Road.wav", "notes.txt"}) WriteFileAt(source + name, "dropped");
  StartWithLists();
  EXPECT_TRUE(ListsBecome({}, {"Other"}));

  // The map from the data folder itself is in place already: no question.
  ASSERT_TRUE(kit::DropFilesOn(available_,
                               {source + "Road.ugc", source + "Road.wav", source + "notes.txt", data_ + "Other.ugc"}));
  Answer("Warning", "Road.wav: file exists, overwrite?");
  EXPECT_TRUE(ListsBecome({}, {"Other", "Road"}));
  EXPECT_EQ(Content(data_ + "Road.ugc"), "dropped");
  EXPECT_EQ(Content(data_ + "Road.wav"), "dropped");
  EXPECT_EQ(Content(data_ + "Other.ugc"), "map");
  EXPECT_EQ(Content(data_ + "notes.txt"), "(none)");

  Select(available_, "Road");
  Click("Delete");
  Answer("Request", "Permanently delete selected configuration?");
  EXPECT_TRUE(ListsBecome({}, {"Other"}));
  EXPECT_EQ(Content(data_ + "Road.ugc") + Content(data_ + "Road.wav"), "(none)(none)");
  EXPECT_EQ(kit::FindTopLevelWindow("#32770", "Error", configurator_.id), nullptr);
  for (const char* name : {"Road.ugc", "Road.wav", "notes.txt"}) DeleteFileA((source + name).c_str());
  RemoveDirectoryA(source.c_str());
}

std::string BinaryContent(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "(none)";
}
// A selection set from outside notifies nobody: the page is told as a click
// would tell it.
void SelectAndNotify(HWND list, const std::string& text) {
  Select(list, text);
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), LPARAM(list));
}
// The configurator's top-level dialog titled `title` that shows `text`.
HWND DialogShowing(DWORD process, const char* title, const std::string& text) {
  HWND found = nullptr;
  kit::WaitUntil([&] {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", title); window != nullptr;
         window = FindWindowExA(nullptr, window, "#32770", title)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner != process || !IsWindowVisible(window)) continue;
      for (HWND control : kit::Descendants(window))
        if (kit::VisibleText(control).find(text) != std::string::npos) found = window;
    }
    return found != nullptr;
  });
  return found;
}

TEST_F(ConfigurationsPageTest, AMameListFillsTheStockMapsGamesListsWhichApplyWrites) {
  for (const char* name : {"4-Way", "8-Way", "Analog"}) WriteFileAt(data_ + name + ".ugc", name);
  reg::WriteText(reg::SettingsPath(), "Config0", "4-Way");
  reg::WriteText(reg::SettingsPath(), "Config1", "8-Way");
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string list = std::string(temp) + "quillon-listxml.xml";
  WriteFileAt(list,
              "<?xml version=\"1.0\"?>\n<mame build=\"0.261\">\n"
              "<machine name=\"pacman\"><input players=\"2\"><control type=\"joy\" ways=\"4\"/></input></machine>\n"
              "<machine name=\"qbert\"><input players=\"2\"><control type=\"joy\" ways=\"4\"/></input></machine>\n"
              "<machine name=\"sf2\"><input players=\"2\"><control type=\"joy\" ways=\"8\"/></input></machine>\n"
              "<machine name=\"quiz\"><input players=\"2\"><control type=\"only_buttons\"/></input></machine>\n"
              "</mame>\n");
  StartWithLists();
  ASSERT_TRUE(ListsBecome({"4-Way", "8-Way"}, {"Analog"}));
  SelectAndNotify(active_, "4-Way");

  // The file dialog, answered as a user types a name and presses Enter.
  Click("Import MAME list...");
  HWND dialog = DialogShowing(configurator_.id, "Import MAME list", "");
  ASSERT_NE(dialog, nullptr) << "no file dialog";
  const std::vector<HWND> edits = kit::ControlsOfClass(dialog, "Edit");
  ASSERT_FALSE(edits.empty());
  SendMessageA(edits[0], WM_SETTEXT, 0, LPARAM(list.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  HWND summary = DialogShowing(configurator_.id, "Import MAME list", "4-Way: 2 games");
  ASSERT_NE(summary, nullptr) << "no summary";
  EXPECT_EQ(DialogShowing(configurator_.id, "Import MAME list", "8-Way: 1 game\n"), summary);
  PostMessageA(summary, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(kit::WaitForWindowGone(summary));

  EXPECT_TRUE(kit::WaitUntil([&] { return TextLabelled("Games:") == "pacman\r\nqbert\r\n"; }, 5000))
      << TextLabelled("Games:");
  SelectAndNotify(active_, "8-Way");
  EXPECT_EQ(TextLabelled("Games:"), "sf2\r\n");
  SendMessageA(Labelled("Window:"), WM_SETTEXT, 0, LPARAM("MAME: Street Fighter*"));
  PostMessageA(Captioned("Follow the running game"), BM_CLICK, 0, 0);
  SelectAndNotify(active_, "4-Way");
  Picture("configurator_games_lists.bmp");

  Click("Apply");
  EXPECT_TRUE(kit::WaitUntil([&] { return BinaryContent(data_ + "8-Way.games") == "sf2\r\n"; }, 5000));
  EXPECT_EQ(BinaryContent(data_ + "4-Way.games"), "pacman\r\nqbert\r\n");
  EXPECT_EQ(BinaryContent(data_ + "Analog.games"), "(none)");  // not active: left out
  EXPECT_TRUE(kit::WaitUntil([] { return kit::StoredNumber("FollowGame") == 1; }, 5000));
  char text[64] = "(none)";
  DWORD size = sizeof text;
  RegGetValueA(HKEY_CURRENT_USER, reg::SettingsPath().c_str(), "Config1Window", RRF_RT_REG_SZ, nullptr, text, &size);
  EXPECT_STREQ(text, "MAME: Street Fighter*");
  DeleteFileA(list.c_str());
}

}  // namespace
}  // namespace quillon

// The "Actions" page of the real QuillonConfig.exe under Wine, worked as a
// user would: controls found by their labels and captions, rows chosen and
// boxes clicked, Apply pressed; then the registry and the real runtime show
// what the page did. The page leaves pictures of both editor frames in
// bin/artifacts.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "shared/settings_tree.h"
#include "tests/kit/configurator_test.h"
#include "tests/kit/dialog_probe.h"
#include "tests/kit/key_recorder_window.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/screen_capture.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

namespace kit = test_kit;
namespace reg = test_registry;
namespace rec = key_recorder;
using Rows = std::vector<std::string>;

using kit::StoredNumber;
using kit::WaitUntil;

using rec::PressKey;

// Rows of a list box or drop-down list in the configurator. Wine copies the
// row texts between processes as UTF-16 whichever function asks, so they are
// asked for as such; the configurator's texts are ASCII.
Rows RowsOf(HWND list, bool combo) {
  Rows rows;
  const int count = int(SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    wchar_t text[256] = L"";
    SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(row), LPARAM(text));
    rows.emplace_back(text, text + lstrlenW(text));
  }
  return rows;
}
int SelectedRowOf(HWND list, bool combo) { return int(SendMessageA(list, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)); }

// Selecting a row as a click does: the page hears of the change.
void ChooseRow(HWND list, bool combo, int row) {
  SendMessageA(list, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(row), 0);
  const int notification = combo ? CBN_SELCHANGE : LBN_SELCHANGE;
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), notification), LPARAM(list));
}
void ChooseText(HWND combo, const std::string& text) {
  const Rows rows = RowsOf(combo, true);
  for (size_t row = 0; row < rows.size(); ++row)
    if (rows[row] == text) return ChooseRow(combo, true, int(row));
  ADD_FAILURE() << "no row " << text;
}

std::string StoredText(const std::string& path, const char* name) { return reg::ReadText(path, name, "<missing>"); }

// The characters the recorder window received.
std::string TypedText() {
  std::string text;
  for (const rec::RecordedMessage& m : rec::Messages())
    if (m.message == WM_CHAR) text += char(m.wParam);
  return text;
}

class ActionsPageSystemTest : public kit::ConfiguratorTest {
 protected:
  static void SetUpTestSuite() { ASSERT_NE(rec::Create("Actions recorder"), nullptr); }
  static void TearDownTestSuite() { rec::Destroy(); }

  void SetUp() override {
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    log_ = kit::UseFreshStandInLog("actions_page");
    // Every load of the runtime hands the first map to the stand-in, whose
    // log so counts the loads.
    const std::string path = reg::SettingsPath();
    reg::WriteText(path, "Config0", "Race");
    reg::WriteText(path, "UltraMapPath", kit::StandInMapperPath());
    reg::WriteText(path, "UltraMapOptions", "%s");
    reg::WriteNumber(path, "UseHook", 0);
    reg::WriteNumber(path, "UseKeyboard", 1);
    reg::WriteNumber(path, "ApplyOnStart", 1);
    // The configuration is listed, and so applied, while its map exists.
    std::ofstream(kit::ConfiguratorDataFolder() + "Race.ugc") << "map";
  }
  void TearDown() override {
    DeleteFileA((kit::ConfiguratorDataFolder() + "Race.ugc").c_str());
    CloseConfigurator();
    kit::StopAnyRuntime();
    if (runtime_.process) kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
    reg::DeleteSettingsTree();
  }

  // Keyboard entry `number`: on `key`, types `sequence`.
  static void KeyEntry(int number, WORD key, const char* sequence) {
    reg::WriteNumber(reg::KeyActionPath(number), "Modifier", 0);
    reg::WriteNumber(reg::KeyActionPath(number), "VirtualKey", key);
    reg::WriteNumber(reg::KeyActionPath(number), "Action", StuffKeys);
    reg::WriteText(reg::KeyActionPath(number), "KeySeq", sequence);
  }

  // Starts the configurator and shows its "Actions" page.
  void StartOnActionsPage() {
    ASSERT_NE(StartConfigurator(), nullptr);
    ASSERT_TRUE(kit::SelectTab(Tab(), "Actions"));
    kit::PumpMessagesFor(200);
  }

  // The list shown: the two lists share one place and one is hidden.
  HWND ShownList() const {
    for (HWND list : kit::ControlsOfClass(window_, "ListBox"))
      if (IsWindowVisible(list)) return list;
    return nullptr;
  }
  Rows ListRows() const { return RowsOf(ShownList(), false); }
  std::string SelectedListRow() const {
    const Rows rows = ListRows();
    const int row = SelectedRowOf(ShownList(), false);
    return row >= 0 && size_t(row) < rows.size() ? rows[size_t(row)] : "<none>";
  }

  std::string log_;
  kit::Child runtime_;
};

TEST_F(ActionsPageSystemTest, NewKeyboardEntryIsMultiplyAndTheBoxesRenameItsRow) {
  KeyEntry(1, VK_F5, "x");
  ASSERT_NO_FATAL_FAILURE(StartOnActionsPage());
  EXPECT_TRUE(Checked("Keyboard"));
  EXPECT_EQ(ListRows(), (Rows{"F5 key"}));
  EXPECT_EQ(TextLabelled("Virtual Key:"), "F5 key");
  EXPECT_EQ(SendMessageA(Labelled("Key sequence:"), EM_GETLIMITTEXT, 0, 0), 250);

  Click("Add a new action");
  EXPECT_EQ(ListRows(), (Rows{"F5 key", "Multiply key"}));
  EXPECT_EQ(SelectedListRow(), "Multiply key");
  EXPECT_EQ(TextLabelled("Action:"), "Switch to next joystick map");
  for (const char* box : {"Alt", "Ctrl", "Shift", "Windows"}) EXPECT_FALSE(Checked(box)) << box;

  ChooseText(Labelled("Virtual Key:"), "F1 key");
  Click("Shift");
  Click("Alt");
  EXPECT_EQ(SelectedListRow(), "Shift + Alt + F1 key");
  ChooseText(Labelled("Action:"), "Stuff keys");
  SendMessageA(Labelled("Key sequence:"), WM_SETTEXT, 0, LPARAM("hello"));
  Picture("configurator_actions_keyboard.bmp");

  // "Change configuration" starts this very configurator.
  ChooseText(Labelled("Action:"), "Change configuration");
  HWND executable = Labelled("Executable:");
  ASSERT_TRUE(IsWindowVisible(executable));
  const std::string path = kit::VisibleText(executable);
  EXPECT_EQ(path.substr(path.size() - std::string("\\QuillonConfig.exe").size()), "\\QuillonConfig.exe") << path;
  EXPECT_FALSE(IsWindowEnabled(executable));
  EXPECT_EQ(kit::ControlLabelled(window_, "Key sequence:"), nullptr) << "the key-sequence frame is hidden";
}

TEST_F(ActionsPageSystemTest, NewControllerEntryShowsItsButtonsBeforeAnyCommitAndApplyStoresIt) {
  KeyEntry(1, VK_F5, "x");
  ASSERT_NO_FATAL_FAILURE(StartOnActionsPage());
  Click("Joystick");
  EXPECT_EQ(ListRows(), Rows{});
  Click("Add a new action");
  EXPECT_EQ(SelectedListRow(), "(No buttons)");
  Click("Button 2");
  Click("Button 4");
  EXPECT_EQ(SelectedListRow(), "Button 2 + 4");
  EXPECT_EQ(StoredNumber(reg::ButtonActionPath(1), "Buttons"), 0xDEADBEEFu) << "nothing stored yet";
  ChooseText(Labelled("Action:"), "Run application");
  SendMessageA(Labelled("Executable:"), WM_SETTEXT, 0, LPARAM("C:\\Games\\emu.exe"));
  SendMessageA(Labelled("Parameters:"), WM_SETTEXT, 0, LPARAM("-fast"));
  Picture("configurator_actions_controller.bmp");

  Click("Apply");
  // The program does not exist: the entry can never run, and Apply says so
  // first.
  HWND box = kit::WaitForTopLevelWindow("#32770", "Warning", configurator_.id);
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, IDYES, 0);
  ASSERT_TRUE(WaitUntil([] { return StoredNumber(reg::ButtonActionPath(1), "Buttons") == 10; }));
  EXPECT_EQ(StoredNumber(reg::ButtonActionPath(1), "Action"), DWORD(RunApplication));
  EXPECT_EQ(StoredText(reg::ButtonActionPath(1), "AppName"), "C:\\Games\\emu.exe");
  EXPECT_EQ(StoredNumber(reg::KeyActionPath(1), "VirtualKey"), DWORD(VK_F5)) << "the keyboard entry stays";
}

TEST_F(ActionsPageSystemTest, DeletingTheSecondOfFiveRenumbersTheTreeAndTheRuntimeFiresTheMovedKeys) {
  const WORD keys[] = {VK_F5, VK_F6, VK_F7, VK_F8, VK_F9};
  const char* sequences[] = {"a", "b", "c", "d", "e"};
  for (int i = 0; i < 5; ++i) KeyEntry(i + 1, keys[i], sequences[i]);
  ASSERT_NE(kit::StartRuntime(&runtime_), nullptr);
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 1)) << "the runtime's first load handed nothing over";
  ASSERT_NO_FATAL_FAILURE(StartOnActionsPage());

  ChooseRow(ShownList(), false, 1);
  EXPECT_EQ(TextLabelled("Virtual Key:"), "F6 key");
  // Delete from the keyboard: the button keeps the focus, and stays enabled.
  HWND remove = Captioned("Delete selected action from list");
  SetForegroundWindow(window_);
  SendMessageA(window_, WM_NEXTDLGCTL, WPARAM(remove), TRUE);
  kit::PumpMessagesFor(200);
  PressKey(VK_SPACE);
  ASSERT_TRUE(WaitUntil([&] { return ListRows().size() == 4; })) << "Delete did nothing";
  EXPECT_EQ(ListRows(), (Rows{"F5 key", "F7 key", "F8 key", "F9 key"}));
  EXPECT_EQ(SelectedListRow(), "F7 key");
  EXPECT_EQ(kit::VisibleText(Labelled("Key sequence:")), "c");
  GUITHREADINFO focus = {};
  focus.cbSize = sizeof focus;
  GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &focus);
  EXPECT_EQ(focus.hwndFocus, remove);
  EXPECT_TRUE(IsWindowEnabled(remove));

  Click("Apply");
  ASSERT_TRUE(kit::WaitForLoggedLines(log_, 2)) << "the runtime did not reload";
  const WORD stored[] = {VK_F5, VK_F7, VK_F8, VK_F9};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(StoredNumber(reg::KeyActionPath(i + 1), "VirtualKey"), stored[i]) << i + 1;
    EXPECT_EQ(StoredText(reg::KeyActionPath(i + 1), "KeySeq"), sequences[i == 0 ? 0 : i + 1]) << i + 1;
  }
  EXPECT_EQ(StoredNumber(reg::KeyActionPath(5), "Modifier"), 0xDEADBEEFu) << "entry 05 is gone";

  // The reloaded runtime types the moved entries' sequences on their keys;
  // the deleted entry's key is no longer taken.
  HWND runtimeWindow = kit::WaitForRuntimeWindowOf(runtime_);
  DWORD_PTR ignored = 0;
  ASSERT_NE(SendMessageTimeoutA(runtimeWindow, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored), 0);
  ASSERT_TRUE(rec::Focus());
  rec::Clear();
  for (WORD key : {VK_F7, VK_F9, VK_F6, VK_F8}) PressKey(key);
  EXPECT_TRUE(rec::PumpUntil([] { return TypedText() == "ced"; }, 10000)) << TypedText();
}

TEST_F(ActionsPageSystemTest, AHundredthKeyboardEntryIsRefused) {
  for (int n = 1; n <= 99; ++n) reg::WriteNumber(reg::KeyActionPath(n), "Modifier", 0);
  ASSERT_NO_FATAL_FAILURE(StartOnActionsPage());
  ASSERT_EQ(ListRows().size(), 99u);
  Click("Add a new action");
  HWND box = kit::WaitForTopLevelWindow("#32770", "Error", configurator_.id);
  ASSERT_NE(box, nullptr) << "no error box";
  EXPECT_NE(kit::ControlCaptioned(box, "There is a limit of 99 keyboard actions."), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(kit::WaitForWindowGone(box));
  EXPECT_EQ(ListRows().size(), 99u);
}

// The real field's limit: EM_REPLACESEL alone would have left "{ENT".
TEST_F(ActionsPageSystemTest, AddIntoAFullSequenceInsertsTheWholeNameOrNothing) {
  const std::string full(245, 'a');
  KeyEntry(1, VK_F5, full.c_str());
  ASSERT_NO_FATAL_FAILURE(StartOnActionsPage());
  HWND sequence = Labelled("Key sequence:");
  ChooseText(Labelled("Add special key:"), "ENTER");
  SendMessageA(sequence, EM_SETSEL, 245, 245);
  Click("Add");
  EXPECT_EQ(kit::VisibleText(sequence), full);
  SendMessageA(sequence, EM_SETSEL, 243, 245);
  Click("Add");
  EXPECT_EQ(kit::VisibleText(sequence), full.substr(0, 243) + "{ENTER}");
}

}  // namespace
}  // namespace quillon

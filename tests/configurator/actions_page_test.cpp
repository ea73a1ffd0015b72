// The "Actions" page's logic against fake controls: a test sets a control
// as the user would and tells the page, then reads the lists, the editor and
// the model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configurator/actions_page.h"
#include "configurator/configurator_main.h"
#include "configurator/key_catalogue.h"
#include "configurator/resource_ids.h"
#include "shared/key_names.h"
#include "tests/fakes/fake_configurator_messages.h"
#include "tests/fakes/fake_configurator_shell.h"
#include "tests/fakes/fake_window_controls.h"

namespace quillon {
namespace {

// The model that this file's tests hand to the page.
ConfiguratorSettings g_model;

namespace controls = fake_window_controls;
namespace shell = fake_configurator_shell;
namespace messages = fake_configurator_messages;
using Rows = std::vector<std::string>;

KeyActionEntry KeyEntry(int modifier, int code, int action = StuffKeys, const char* sequence = "") {
  KeyActionEntry entry;
  entry.modifier = int16_t(modifier);
  entry.virtualKey = int16_t(code);
  entry.action = int16_t(action);
  entry.keySeq = sequence;
  return entry;
}
ButtonActionEntry ButtonEntry(int32_t buttons, int action = StuffKeys, const char* sequence = "") {
  ButtonActionEntry entry;
  entry.buttons = buttons;
  entry.action = int16_t(action);
  entry.keySeq = sequence;
  return entry;
}

class ActionsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    controls::Reset();
    shell::Reset();
    messages::Reset();
    g_model = ConfiguratorSettings{};
    FillActionLists();
  }
  static void AddKeys(std::initializer_list<KeyActionEntry> entries) {
    for (const KeyActionEntry& entry : entries) g_model.keyActions[size_t(g_model.keyCount++)] = entry;
  }
  static void AddButtons(std::initializer_list<ButtonActionEntry> entries) {
    for (const ButtonActionEntry& entry : entries) g_model.buttonActions[size_t(g_model.buttonCount++)] = entry;
  }
  // The user's clicks: a box or option changes its mark, then the page hears.
  void Click(int id) {
    if (id != IDC_cmdNewKey && id != IDC_cmdDeleteKey && id != IDC_cmdAddSpecialKey && id != IDC_cmdBrowsePar)
      controls::State(id).checked = id == IDC_optKeyboard || id == IDC_optJoystick || !controls::State(id).checked;
    OnActionsPageEvent(editor_, id, ControlEvent::Click);
  }
  void Choose(int id, int row) {
    controls::State(id).selectedRow = row;
    OnActionsPageEvent(editor_, id, ControlEvent::SelectionChange);
  }
  void ChooseText(int id, const std::string& text) {
    const Rows rows = controls::RowTexts(id);
    for (size_t row = 0; row < rows.size(); ++row)
      if (rows[row] == text) return Choose(id, int(row));
    ADD_FAILURE() << "no row " << text;
  }
  static std::string Selected(int id) { return RowText(id, SelectedRow(id)); }
  static bool Shown(int id) { return controls::State(id).visible; }

  ActionEditor editor_;
};

TEST_F(ActionsPageTest, ListsShowEveryEntryAndTheCataloguesAreFilledOnceFromTheirTables) {
  AddKeys({KeyEntry(0, 106), KeyEntry(3, 112), KeyEntry(0, 7), KeyEntry(4, 7), KeyEntry(4, 145), KeyEntry(0, 133),
           KeyEntry(0, 65)});
  AddButtons({ButtonEntry(1 | 4 | 512), ButtonEntry(0), ButtonEntry(int32_t(1u << 31))});
  g_model.buttonActions[2].directions = StickDown | HatRight;
  FillActionLists();  // as a Reload does: nothing twice
  ShowActionsPage(editor_, g_model);
  EXPECT_EQ(controls::RowTexts(IDC_lstKeys),
            (Rows{"Multiply key", "Control + Alt + F1 key", "", "Shift + ", "Shift + SCROLL LOCK key",
                  "F22 key (Key used to lock device)", "A"}));
  EXPECT_EQ(controls::RowTexts(IDC_lstJoyButtons),
            (Rows{"Button 1 + 3 + 10", "(No buttons)", "Button 32 + Stick down + Hat right"}));
  EXPECT_EQ(SelectedRow(IDC_lstKeys), 0);
  EXPECT_EQ(SelectedRow(IDC_lstJoyButtons), -1);
  EXPECT_TRUE(IsChecked(IDC_optKeyboard));
  EXPECT_TRUE(Shown(IDC_lstKeys) && Shown(IDC_imgKey) && Shown(IDC_chkAlt));
  EXPECT_FALSE(Shown(IDC_lstJoyButtons) || Shown(IDC_imgJoystickActions) || Shown(IDC_chkButton0) ||
               Shown(IDC_chkButton31) || Shown(IDC_chkDirection7));

  ASSERT_EQ(RowCount(IDC_cmbVirtualKey), int(kKeyCatalogueRowCount));
  EXPECT_EQ(RowData(IDC_cmbVirtualKey, int(kKeyCatalogueRowCount) - 1), '9');
  ASSERT_EQ(RowCount(IDC_cmbSpecialKey), int(kKeyNameCount));
  for (int row = 0; row < RowCount(IDC_cmbSpecialKey); ++row)
    EXPECT_EQ(RowText(IDC_cmbSpecialKey, row), KeyNameTable[row].name);
  EXPECT_EQ(controls::RowTexts(IDC_cmbAction).size(), size_t(kLastActionKind + 1));
  EXPECT_EQ(Selected(IDC_cmbVirtualKey), "Multiply key");
  EXPECT_EQ(SelectedRow(IDC_cmbSpecialKey), 0);
}

TEST_F(ActionsPageTest, NewAddsTheDefaultEntryUpToTheLimitOnEachList) {
  AddKeys({KeyEntry(4, 112)});
  ShowActionsPage(editor_, g_model);
  Click(IDC_chkCtrl);
  Click(IDC_cmdNewKey);
  EXPECT_EQ(controls::RowTexts(IDC_lstKeys), (Rows{"Shift + Control + F1 key", "Multiply key"}));
  EXPECT_EQ(g_model.keyActions[0].modifier, 6) << "the entry left was committed";
  EXPECT_EQ(SelectedRow(IDC_lstKeys), 1);
  EXPECT_EQ(Selected(IDC_cmbAction), "Switch to next joystick map");
  EXPECT_FALSE(IsChecked(IDC_chkShift) || IsChecked(IDC_chkCtrl));

  g_model = ConfiguratorSettings{};
  for (int i = 0; i < kMaxActions - 1; ++i) AddKeys({KeyEntry(0, 112 + i % 24)});
  ShowActionsPage(editor_, g_model);
  Click(IDC_cmdNewKey);
  Click(IDC_cmdNewKey);
  EXPECT_EQ(g_model.keyCount, kMaxActions);
  ASSERT_EQ(messages::Messages().size(), 1u);
  EXPECT_EQ(messages::Messages()[0].text, "There is a limit of 99 keyboard actions.");

  Click(IDC_optJoystick);
  EXPECT_FALSE(Shown(IDC_frmKey)) << "no controller entry to show";
  Click(IDC_cmdNewKey);
  EXPECT_EQ(controls::RowTexts(IDC_lstJoyButtons), (Rows{"(No buttons)"}));
  EXPECT_TRUE(Shown(IDC_frmKey) && Shown(IDC_chkButton31) && Shown(IDC_chkDirection0) && !Shown(IDC_chkAlt));
  for (int i = 1; i < kMaxActions; ++i) Click(IDC_cmdNewKey);
  Click(IDC_cmdNewKey);
  EXPECT_EQ(g_model.buttonCount, kMaxActions);
  EXPECT_EQ(messages::Messages().back().text, "There is a limit of 99 joystick actions.");
}

TEST_F(ActionsPageTest, DeleteMovesTheRowsUpAndKeepsTheLastEntry) {
  AddKeys({KeyEntry(0, 116, StuffKeys, "a"), KeyEntry(0, 117, StuffKeys, "b"), KeyEntry(0, 118, StuffKeys, "c"),
           KeyEntry(0, 119, StuffKeys, "d"), KeyEntry(0, 120, StuffKeys, "e")});
  ShowActionsPage(editor_, g_model);
  Choose(IDC_lstKeys, 1);
  Click(IDC_cmdDeleteKey);
  EXPECT_EQ(controls::RowTexts(IDC_lstKeys), (Rows{"F5 key", "F7 key", "F8 key", "F9 key"}));
  EXPECT_EQ(SelectedRow(IDC_lstKeys), 1);
  EXPECT_EQ(ControlText(IDC_txtKeySequence), "c");
  ASSERT_EQ(g_model.keyCount, 4);
  EXPECT_EQ(g_model.keyActions[3].keySeq, "e");
  // Nothing was disabled on the way, so the focus cannot be left on a
  // disabled control.
  EXPECT_TRUE(controls::State(IDC_cmdDeleteKey).enabled && controls::State(IDC_lstKeys).enabled);

  // The last row: the one above it is shown, and takes the later edits.
  Choose(IDC_lstKeys, 3);
  Click(IDC_cmdDeleteKey);
  EXPECT_EQ(SelectedRow(IDC_lstKeys), 2);
  SetControlText(IDC_txtKeySequence, "D!");
  Choose(IDC_lstKeys, 0);
  EXPECT_EQ(g_model.keyActions[2].keySeq, "D!");

  for (int i = 0; i < 3; ++i) Click(IDC_cmdDeleteKey);
  EXPECT_EQ(controls::RowTexts(IDC_lstKeys), (Rows{"F8 key"})) << "the last entry stays";
  Choose(IDC_lstKeys, -1);
  Click(IDC_cmdDeleteKey);
  EXPECT_EQ(g_model.keyCount, 1);
}

TEST_F(ActionsPageTest, SwitchingListsCommitsTheListLeftAndKeepsEachSelection) {
  AddKeys({KeyEntry(0, 112), KeyEntry(0, 113)});
  // The second entry holds button 12, the hat pushed left and a direction
  // bit that no box shows, which edits keep.
  AddButtons({ButtonEntry(1), ButtonEntry(1 << 11)});
  g_model.buttonActions[1].directions = HatLeft | 1 << 9;
  ShowActionsPage(editor_, g_model);
  Choose(IDC_lstKeys, 1);
  Click(IDC_chkShift);
  EXPECT_EQ(controls::RowTexts(IDC_lstKeys)[1], "Shift + F2 key");
  EXPECT_EQ(g_model.keyActions[1].modifier, 0) << "rows follow the boxes before any commit";
  Click(IDC_optJoystick);
  EXPECT_EQ(g_model.keyActions[1].modifier, 4);
  EXPECT_FALSE(Shown(IDC_frmKey)) << "no controller row selected yet";
  Choose(IDC_lstJoyButtons, 1);
  EXPECT_TRUE(IsChecked(IDC_chkButton11) && IsChecked(IDC_chkDirection7) && !IsChecked(IDC_chkDirection0));
  Click(IDC_chkButton1);
  Click(IDC_chkButton3);
  Click(IDC_chkButton31);
  Click(IDC_chkDirection0);
  EXPECT_EQ(Selected(IDC_lstJoyButtons), "Button 2 + 4 + 12 + 32 + Stick up + Hat left");
  EXPECT_EQ(g_model.buttonActions[1].buttons, 1 << 11) << "not committed yet";
  Click(IDC_optKeyboard);
  EXPECT_EQ(uint32_t(g_model.buttonActions[1].buttons), 2 | 8 | 1u << 11 | 1u << 31);
  EXPECT_EQ(g_model.buttonActions[1].directions, StickUp | HatLeft | 1 << 9);
  EXPECT_EQ(g_model.buttonActions[0].buttons, 1);
  EXPECT_EQ(SelectedRow(IDC_lstKeys), 1);
  EXPECT_TRUE(IsChecked(IDC_chkShift));
  Click(IDC_optJoystick);
  EXPECT_EQ(SelectedRow(IDC_lstJoyButtons), 1);
  EXPECT_TRUE(IsChecked(IDC_chkButton3));
}

TEST_F(ActionsPageTest, TheRepeatFieldShowsForTheRepeatKindOnlyAndTakesTheIntervalAsTyped) {
  AddButtons({ButtonEntry(1, RepeatKeys, "x"), ButtonEntry(2, HoldKeys, "{ALT DOWN}")});
  g_model.buttonActions[0].repeat = 5;
  ShowActionsPage(editor_, g_model);
  Click(IDC_optJoystick);
  Choose(IDC_lstJoyButtons, 0);
  EXPECT_TRUE(Shown(IDC_labRepeat) && Shown(IDC_txtRepeat) && Shown(IDC_txtKeySequence));
  EXPECT_EQ(ControlText(IDC_txtRepeat), "5") << "shown as stored";
  EXPECT_EQ(ControlText(IDC_labKeySeqHint), "outside 20 to 5000 ms: repeats every 100 ms");
  SetControlText(IDC_txtRepeat, "250");
  OnActionsPageEvent(editor_, IDC_txtRepeat, ControlEvent::TextChange);
  EXPECT_EQ(ControlText(IDC_labKeySeqHint), "");

  Choose(IDC_lstJoyButtons, 1);
  EXPECT_EQ(g_model.buttonActions[0].repeat, 250);
  EXPECT_FALSE(Shown(IDC_labRepeat) || Shown(IDC_txtRepeat));
  EXPECT_TRUE(Shown(IDC_txtKeySequence)) << "a hold entry holds the keys of its sequence";
  EXPECT_EQ(ControlText(IDC_labKeySeqHint), "position 1: {ALT DOWN} cannot be held: name keys only");
  EXPECT_EQ(Selected(IDC_lstJoyButtons), "Button 2  (!)");
  ChooseText(IDC_cmbAction, "Repeat keys while pressed");
  EXPECT_TRUE(Shown(IDC_txtRepeat));
  EXPECT_EQ(ControlText(IDC_txtRepeat), "100");
  EXPECT_EQ(ControlText(IDC_labKeySeqHint), "") << "a hold word is no fault of a repeat entry";
  EXPECT_EQ(Selected(IDC_lstJoyButtons), "Button 2");
  SetControlText(IDC_txtRepeat, "soon");
  OnActionsPageEvent(editor_, IDC_txtRepeat, ControlEvent::TextChange);
  EXPECT_EQ(ControlText(IDC_labKeySeqHint), "the interval is not a number: the stored one stays");
  Choose(IDC_lstJoyButtons, 0);
  EXPECT_EQ(g_model.buttonActions[1].action, RepeatKeys);
  EXPECT_EQ(g_model.buttonActions[1].repeat, 100);
  SetControlText(IDC_txtRepeat, "7");
  EXPECT_EQ(ReadEditorEntry(editor_).button.repeat, 7) << "taken as typed; the runtime falls back to 100";
}

TEST_F(ActionsPageTest, TheActionKindChoosesTheFrameAndOddStoredCodesSurviveACommit) {
  shell::SetExecutablePath("C:\\Tools\\Quillon\\QuillonConfig.exe");
  AddKeys({KeyEntry(0, 112, RunApplication), KeyEntry(2, 7, 12, "keep")});
  g_model.keyActions[0].appName = "C:\\Games\\mame.exe";
  ShowActionsPage(editor_, g_model);
  EXPECT_TRUE(Shown(IDC_frmAppName) && Shown(IDC_txtExecutable) && !Shown(IDC_frmKeySeq) && !Shown(IDC_txtKeySequence));
  EXPECT_EQ(ControlText(IDC_txtExecutable), "C:\\Games\\mame.exe");
  EXPECT_TRUE(controls::State(IDC_txtExecutable).enabled && controls::State(IDC_cmdBrowse).enabled);
  ChooseText(IDC_cmbAction, "Change configuration");
  EXPECT_EQ(ControlText(IDC_txtExecutable), "C:\\Tools\\Quillon\\QuillonConfig.exe");
  EXPECT_FALSE(controls::State(IDC_txtExecutable).enabled || controls::State(IDC_cmdBrowse).enabled);
  ChooseText(IDC_cmbAction, "Stuff keys");
  EXPECT_TRUE(Shown(IDC_frmKeySeq) && Shown(IDC_cmbSpecialKey) && !Shown(IDC_frmAppName));
  Click(IDC_chkSelectWindow);
  EXPECT_TRUE(controls::State(IDC_txtWindowName).enabled);

  // A key code and an action code that have no row: shown with no row
  // chosen, and kept by the commit until the user picks one.
  Choose(IDC_lstKeys, 1);
  EXPECT_EQ(g_model.keyActions[0].appName, "C:\\Tools\\Quillon\\QuillonConfig.exe");
  EXPECT_EQ(g_model.keyActions[0].sendType, SelectWindow);
  EXPECT_EQ(SelectedRow(IDC_cmbVirtualKey), -1);
  EXPECT_EQ(SelectedRow(IDC_cmbAction), -1);
  EXPECT_TRUE(Shown(IDC_frmKeySeq));
  Click(IDC_chkAlt);
  EXPECT_EQ(Selected(IDC_lstKeys), "Control + Alt + ");
  Choose(IDC_lstKeys, 0);
  EXPECT_EQ(g_model.keyActions[1].virtualKey, 7);
  EXPECT_EQ(g_model.keyActions[1].action, 12);
  EXPECT_EQ(g_model.keyActions[1].modifier, 3);
  Choose(IDC_lstKeys, 1);
  ChooseText(IDC_cmbVirtualKey, "F1 key");
  EXPECT_EQ(Selected(IDC_lstKeys), "Control + Alt + F1 key");
  EXPECT_EQ(ReadEditorEntry(editor_).key.virtualKey, 112);
}

// A hand-edited entry without a key is read as key 0, which the runtime
// never arms: the page shows it with no key and keeps it so, not as Enter.
TEST_F(ActionsPageTest, AnEntryWithoutAKeyIsShownAndCommittedWithoutOne) {
  AddKeys({KeyEntry(ModifierCtrl, 0, StuffKeys, "abc"), KeyEntry(0, 112)});
  ShowActionsPage(editor_, g_model);
  Choose(IDC_lstKeys, 0);
  EXPECT_EQ(SelectedRow(IDC_cmbVirtualKey), -1);
  EXPECT_EQ(Selected(IDC_cmbAction), "Stuff keys");
  Choose(IDC_lstKeys, 1);
  EXPECT_EQ(g_model.keyActions[0].virtualKey, 0);
  EXPECT_EQ(g_model.keyActions[0].action, StuffKeys);
  EXPECT_EQ(g_model.keyActions[0].modifier, ModifierCtrl);
}

TEST_F(ActionsPageTest, AddAndParameterBrowseWriteAtTheCaretOrOverTheSelection) {
  AddKeys({KeyEntry(0, 112, StuffKeys, "abc")});
  ShowActionsPage(editor_, g_model);
  Click(IDC_cmdAddSpecialKey);
  EXPECT_EQ(ControlText(IDC_txtKeySequence), "{%}abc") << "the first special key, at the caret";
  struct Case {
    const char* text;
    size_t start, end;
    const char* key;
    const char* result;
  } cases[] = {{"abc", 3, 3, "ENTER", "abc{ENTER}"}, {"abcd", 1, 3, "TAB", "a{TAB}d"}};
  for (const Case& c : cases) {
    SetControlText(IDC_txtKeySequence, c.text);
    controls::State(IDC_txtKeySequence).selectionStart = c.start;
    controls::State(IDC_txtKeySequence).selectionEnd = c.end;
    ChooseText(IDC_cmbSpecialKey, c.key);
    Click(IDC_cmdAddSpecialKey);
    EXPECT_EQ(ControlText(IDC_txtKeySequence), c.result);
  }

  ChooseText(IDC_cmbAction, "Run application");
  SetControlText(IDC_txtExecutable, " C:\\Emu\\emu.exe ");
  SetControlText(IDC_txtParameters, "-rom X -fast");
  controls::State(IDC_txtParameters).selectionStart = 5;
  controls::State(IDC_txtParameters).selectionEnd = 6;
  shell::SetDialogAnswer("C:\\Roms\\My Game.zip");
  Click(IDC_cmdBrowsePar);
  EXPECT_EQ(ControlText(IDC_txtParameters), "-rom \"C:\\Roms\\My Game.zip\" -fast") << "one argument";
  ASSERT_EQ(shell::DialogsShown().size(), 1u);
  EXPECT_EQ(shell::DialogsShown()[0].initialFolder, "C:\\Emu\\");
  EXPECT_EQ(shell::DialogsShown()[0].title, "Select file");
}

// The runtime starts the configurator with the parameters as its command
// line, which splits at blanks: a chosen file must come through as one
// argument.
TEST_F(ActionsPageTest, ABrowsedParameterFileIsOneArgumentOfTheCommandLine) {
  const struct {
    const char* chosen;
    const char* inserted;
  } rows[] = {
      {"C:\\My Maps\\fly.qlf", "\"C:\\My Maps\\fly.qlf\""},
      {"C:\\Maps\\fly.qlf", "C:\\Maps\\fly.qlf"},
      {"C:\\Program Files\\Q\\a  b.qlf", "\"C:\\Program Files\\Q\\a  b.qlf\""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.chosen);
    g_model = ConfiguratorSettings{};
    AddKeys({KeyEntry(0, 112, ChangeConfiguration, "")});
    ShowActionsPage(editor_, g_model);
    SetControlText(IDC_txtParameters, "");
    shell::SetDialogAnswer(row.chosen);
    Click(IDC_cmdBrowsePar);
    EXPECT_EQ(ControlText(IDC_txtParameters), row.inserted);
    EXPECT_EQ(SplitCommandLine("QuillonConfig", ControlText(IDC_txtParameters)),
              (std::vector<std::string>{"QuillonConfig", row.chosen}))
        << "the configurator's start reads it whole";
  }
}

TEST_F(ActionsPageTest, AddAndParameterBrowseInsertWholeOrBeepAndLeaveTheFullFieldAsItWas) {
  const std::string full(kActionTextLimit - 5, 'a');
  AddKeys({KeyEntry(0, 112, StuffKeys, full.c_str())});
  for (int id : {IDC_txtKeySequence, IDC_txtParameters}) controls::State(id).textLimit = kActionTextLimit;
  ShowActionsPage(editor_, g_model);
  controls::State(IDC_txtKeySequence).selectionStart = controls::State(IDC_txtKeySequence).selectionEnd = full.size();
  ChooseText(IDC_cmbSpecialKey, "ENTER");
  Click(IDC_cmdAddSpecialKey);
  EXPECT_EQ(ControlText(IDC_txtKeySequence), full) << "\"{ENTER}\" does not fit";
  EXPECT_EQ(controls::Beeps(), 1);
  controls::State(IDC_txtKeySequence).selectionStart = full.size() - 2;
  Click(IDC_cmdAddSpecialKey);
  EXPECT_EQ(ControlText(IDC_txtKeySequence), full.substr(0, full.size() - 2) + "{ENTER}") << "over a selection it fits";

  ChooseText(IDC_cmbAction, "Run application");
  SetControlText(IDC_txtParameters, full);
  shell::SetDialogAnswer("C:\\Roms\\Game.zip");
  Click(IDC_cmdBrowsePar);
  EXPECT_EQ(ControlText(IDC_txtParameters), full);
  EXPECT_EQ(controls::Beeps(), 2);
}

}  // namespace
}  // namespace quillon

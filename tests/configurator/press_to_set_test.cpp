// The controller shown live and press-to-set, over fake controls, a fake
// controller and ticks that the test runs itself.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "configurator/actions_page.h"
#include "configurator/controller_live.h"
#include "configurator/press_to_set.h"
#include "configurator/resource_ids.h"
#include "tests/fakes/fake_controller_list.h"
#include "tests/fakes/fake_window_controls.h"

namespace quillon {
namespace {

// The model that this file's tests hand to the page.
ConfiguratorSettings g_model;

namespace controls = fake_window_controls;
constexpr int kNothing = -1;  // a step that holds nothing new: only a tick
constexpr uint32_t kUnplug = 0xFFFFFFFF;
// What one tick finds held: buttons, the stick (0..65535 each way, y down)
// and the hat.
struct Held {
  uint32_t buttons;
  int32_t x = 32767;
  int32_t y = 32767;
  uint32_t hat = 0xFFFF;
};

class LiveControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    controls::Reset();
    g_model = ConfiguratorSettings{};
    g_model.keyActions[0].virtualKey = 106;
    g_model.keyCount = 1;
    g_model.buttonCount = 1;
    FillActionLists();
    controls::State(IDC_cmbDeviceName).rows = {{"Pad", 0}};
    controls::State(IDC_cmbDeviceName).selectedRow = 0;
  }
  // The pad plugged in with nothing held, and the page on the screen with
  // the model shown, as the window opens it.
  static void Open(ActionEditor& editor) {
    ResetControllerList();
    SetAttachedControllers({"Pad"});
    ShowActionsPage(editor, g_model);
    SetLiveControllerOnScreen(editor.live, editor.press, true);
  }
  static void ShowControllerList(ActionEditor& editor) {
    controls::State(IDC_optKeyboard).checked = false;
    controls::State(IDC_optJoystick).checked = true;
    OnActionsPageEvent(editor, IDC_optJoystick, ControlEvent::Click);
    SelectRow(IDC_lstJoyButtons, 0);
    OnActionsPageEvent(editor, IDC_lstJoyButtons, ControlEvent::SelectionChange);
  }
  // One tick of the page's timer, when it runs.
  static void Tick(ActionEditor& editor) {
    if (PageTickInterval() > 0) OnLiveControllerTick(editor.live, editor.press);
  }
  static ControllerInput Boxes(bool lit) {
    ControllerInput boxes;
    for (int k = 0; k < kMaxControllerButtons; ++k) {
      const auto& box = controls::State(IDC_chkButton0 + k);
      if (lit ? box.lit : box.checked) boxes.buttons |= 1u << k;
    }
    for (int d = 0; d < kDirectionCount; ++d) {
      const auto& box = controls::State(IDC_chkDirection0 + d);
      if (lit ? box.lit : box.checked) boxes.directions |= 1u << d;
    }
    return boxes;
  }
  static std::string Hint() { return controls::State(IDC_labKeySeqHint).text; }
};

// Lighting, its rate and its pauses are proved on the real window under
// Wine; here the pad that goes and comes back.
TEST_F(LiveControllerTest, AControllerThatComesBackLightsAgainWithinASecond) {
  ActionEditor editor;
  Open(editor);
  HoldControllerButtons(0b010 | 1u << 31);
  MoveControllerStick(65535, 0);
  PushControllerHat(18000);
  ShowControllerList(editor);
  Tick(editor);
  EXPECT_EQ(Boxes(false), ControllerInput{}) << "lit is not ticked";
  SetAttachedControllers({});
  SetLiveControllerOnScreen(editor.live, editor.press, true);
  Tick(editor);
  EXPECT_EQ(controls::State(IDC_labControllerNote).text, "Controller not attached");
  SetAttachedControllers({"Pad"});  // plugged in again: found within a second
  for (int i = 0; i < 1000 / kLiveTickMs; ++i) Tick(editor);
  EXPECT_EQ(controls::State(IDC_labControllerNote).text, "");
  EXPECT_EQ(Boxes(true), (ControllerInput{0b010 | 1u << 31, StickUp | StickRight | HatDown}));
}

TEST_F(LiveControllerTest, PressButtonsTicksExactlyTheCombinationOnceAllAreLetGo) {
  const struct {
    const char* name;
    std::vector<Held> held;  // one per tick
    ControllerInput boxes;   // ticked afterwards
    const char* hint;
  } cases[] = {
      {"held one by one, let go", {{0}, {0b001}, {0b101}, {0b111}, {0b100}, {0}}, {0b111}, ""},
      {"buttons up to 32 are read", {{1u << 10 | 1u << 31}, {0}}, {1u << 10 | 1u << 31}, ""},
      {"the stick and the hat",
       {{0, 0, 32767}, {0b1, 0, 65535, 9000}, {0}},
       {0b1, StickLeft | StickDown | HatRight},
       ""},
      {"a direction alone", {{0, 32767, 32767, 31500}, {0}}, {0, HatUp | HatLeft}, ""},
      {"nothing pressed", std::vector<Held>(kPressWaitMs / kLiveTickMs, Held{0}), {0b1000}, "No buttons were pressed"},
      {"unplugged while held", {{0b1}, {kUnplug}}, {0b1000}, "can no longer be read"},
  };
  for (const auto& c : cases) {
    ActionEditor editor;
    Open(editor);
    ShowControllerList(editor);
    for (int k = 0; k < 10; ++k) controls::State(IDC_chkButton0 + k).checked = k == 3;
    OnActionsPageEvent(editor, IDC_chkButton3, ControlEvent::Click);
    Tick(editor);
    OnActionsPageEvent(editor, IDC_cmdPressButtons, ControlEvent::Click);
    EXPECT_TRUE(PressToSetWaiting(editor.press)) << c.name;
    for (const Held& held : c.held) {
      if (held.buttons == kUnplug) SetAttachedControllers({});
      HoldControllerButtons(held.buttons);
      MoveControllerStick(held.x, held.y);
      PushControllerHat(held.hat);
      Tick(editor);
    }
    EXPECT_FALSE(PressToSetWaiting(editor.press)) << c.name;
    EXPECT_EQ(Boxes(false), c.boxes) << c.name;
    EXPECT_NE(Hint().find(c.hint), std::string::npos) << c.name << ": " << Hint();
  }
  EXPECT_EQ(controls::RowTexts(IDC_lstJoyButtons), std::vector<std::string>{"Button 4"});
}

TEST_F(LiveControllerTest, PressButtonsWithoutAReadableControllerSaysSoAndWaitsForNothing) {
  ActionEditor editor;
  Open(editor);
  SetAttachedControllers({});
  ShowControllerList(editor);
  OnActionsPageEvent(editor, IDC_cmdPressButtons, ControlEvent::Click);
  EXPECT_FALSE(PressToSetWaiting(editor.press));
  EXPECT_NE(Hint().find("No controller to read"), std::string::npos);
}

TEST_F(LiveControllerTest, PressKeyTakesTheNextKeyWithItsModifiers) {
  const struct {
    const char* name;
    std::vector<std::pair<int, int>> keys;  // virtual key, modifiers; kNothing: a tick
    const char* row;                        // the list row afterwards
    const char* hint;
  } cases[] = {
      {"F5 with Ctrl and Shift", {{0x74, 6}}, "Shift + Control + F5 key", ""},
      {"a modifier alone waits on", {{0x10, 4}, {0x11, 6}, {'A', 6}}, "Shift + Control + A", ""},
      {"Esc cancels", {{0x1B, 0}}, "Multiply key", ""},
      {"a key with no row", {{7, 0}}, "Multiply key", "(code 7) is not in the \"Virtual Key\" list"},
      {"nothing pressed", std::vector<std::pair<int, int>>(kPressWaitMs / kLiveTickMs, {kNothing, 0}), "Multiply key",
       "No key was pressed"},
      {"another control ends the wait", {{kNothing, 0}}, "Multiply key", ""},
  };
  for (const auto& c : cases) {
    ActionEditor editor;
    Open(editor);
    OnActionsPageEvent(editor, IDC_cmdPressKey, ControlEvent::Click);
    EXPECT_NE(Hint().find("never reach this window"), std::string::npos) << c.name;
    if (std::string(c.name) == "another control ends the wait")
      OnActionsPageEvent(editor, IDC_chkAlt, ControlEvent::Click);
    for (auto [key, modifiers] : c.keys) {
      if (key == kNothing) Tick(editor);
      else EXPECT_TRUE(OnKeyWhileWaiting(editor.press, key, modifiers)) << c.name;
    }
    EXPECT_FALSE(PressToSetWaiting(editor.press)) << c.name;
    EXPECT_EQ(controls::RowTexts(IDC_lstKeys), std::vector<std::string>{c.row}) << c.name;
    EXPECT_NE(Hint().find(c.hint), std::string::npos) << c.name << ": " << Hint();
    EXPECT_FALSE(OnKeyWhileWaiting(editor.press, 'A', 0)) << "keys reach the controls when nothing waits";
  }
}

}  // namespace
}  // namespace quillon

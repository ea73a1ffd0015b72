// The row texts of the keyboard and controller action lists.
#include <gtest/gtest.h>

#include "configurator/action_entry_text.h"

namespace quillon {
namespace {

TEST(ActionEntryTextTest, AKeyRowReadsTheModifiersWindowsShiftControlAltThenTheKey) {
  const struct {
    int modifier;
    int virtualKey;
    const char* text;
  } cases[] = {
      {0, 106, "Multiply key"},
      {3, 112, "Control + Alt + F1 key"},
      {15, 65, "Windows + Shift + Control + Alt + A"},
      {8, 133, "Windows + F22 key (Key used to lock device)"},
      {0, 145, "SCROLL LOCK key"},
      {16 + 4, 48, "Shift + 0"},  // bits above the Windows key are not shown
      {-1, 13, "Windows + Shift + Control + Alt + ENTER key"},
      // Codes the catalogue does not list: the prefixes alone, or nothing.
      {0, 7, ""},
      {4, 7, "Shift + "},
      {1, -1, "Alt + "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyEntryText(c.modifier, c.virtualKey), c.text) << c.modifier << ' ' << c.virtualKey;
  }
  KeyActionEntry entry;
  entry.modifier = ModifierShift | ModifierAlt;
  entry.virtualKey = 112;
  EXPECT_EQ(KeyEntryText(entry), "Shift + Alt + F1 key");
}

TEST(ActionEntryTextTest, AButtonRowListsTheHeldButtonsThenTheDirectionsInOrder) {
  const struct {
    int32_t buttons;
    const char* text;
    uint32_t directions = 0;
  } cases[] = {
      {0, "(No buttons)"},
      {0, "(No buttons)", 1u << 8},  // no such direction
      {0b101, "Button 1 + 3 + Stick up", StickUp},
      {0, "Stick right + Hat left", HatLeft | StickRight},
      {int32_t(1u << 31),
       "Button 32 + Stick up + Stick right + Stick down + Stick left + Hat up + Hat right + Hat down + Hat left",
       kDirectionsMask},
      {0b10'0000'0101, "Button 1 + 3 + 10"},
      {0b10'0000'0000, "Button 10"},
      {1 << 10, "Button 11"},  // the runtime reads buttons 1 to 32
      {(1 << 12) | 1, "Button 1 + 13"},
      {int32_t(1u << 31), "Button 32"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ButtonEntryText(ControllerInput{uint32_t(c.buttons), c.directions}), c.text)
        << c.buttons << " " << c.directions;
  ButtonActionEntry entry;
  entry.buttons = ButtonBit(2) | ButtonBit(4);
  entry.directions = HatDown;
  EXPECT_EQ(ButtonEntryText(entry), "Button 2 + 4 + Hat down");
}

}  // namespace
}  // namespace quillon

// SendKeySequence with the real layout and input stream: a focused test
// window must receive exactly the expected key and character messages, in
// order, and afterwards no modifier may be down, with Caps Lock off and on.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/key_injection.h"
#include "tests/kit/key_recorder_window.h"

namespace quillon {
namespace {

// What the runtime holds down across bursts; no sequence here holds a key.
HeldKeys held;

namespace rec = key_recorder;

constexpr DWORD kGenerousTimeoutMs = 10000;

struct SystemRow {
  const char* text;
  const char* messages;  // as key_recorder::Describe() writes them, Caps Lock off
};

const SystemRow kRows[] = {
    {"abc", "41d 'a' 41u 42d 'b' 42u 43d 'c' 43u"},
    {"Abc", "10d 41d 'A' 41u 10u 42d 'b' 42u 43d 'c' 43u"},
    {"+(ec)", "10d 45d 'E' 45u 43d 'C' 43u 10u"},
    // Alt+F4 asks the window to close; the recorder stays open. Alt released
    // after another key is a plain key-up, as on Windows.
    {"%{F4}", "s12d s73d close s73u 12u"},
    {"{shift down}x{shift up}", "10d 58d 'X' 58u 10u"},
    {"a~b", "41d 'a' 41u 0dd '\\x0d' 0du 42d 'b' 42u"},
    {"12", "31d '1' 31u 32d '2' 32u"},
    // A prefix left at the end of a group is released with it.
    {"+(a^)", "10d 41d 'A' 41u 11d 11u 10u"},
};

size_t EntriesIn(const std::string& described) {
  if (described.empty()) return 0;
  size_t count = 1;
  for (char c : described)
    if (c == ' ') ++count;
  return count;
}

bool CapsLockToggled() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

void InjectCapsLockPress() {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_CAPITAL;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(VK_CAPITAL, MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// Sets the system's Caps Lock toggle by pressing the key, as a user would.
bool SetCapsLock(bool on) {
  if (CapsLockToggled() != on) InjectCapsLockPress();
  bool reached = rec::PumpUntil([on] { return CapsLockToggled() == on; }, kGenerousTimeoutMs);
  rec::PumpFor(50);
  rec::Clear();
  return reached;
}

std::string ModifiersStillDown() {
  const int keys[] = {VK_SHIFT,    VK_CONTROL,  VK_MENU,  VK_LSHIFT, VK_RSHIFT,
                      VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU};
  std::string down;
  for (int key : keys)
    if (GetAsyncKeyState(key) & 0x8000) down += std::to_string(key) + " ";
  return down;
}

class KeyInjectionSystem : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_NE(rec::Create("Key recorder"), nullptr); }
  static void TearDownTestSuite() {
    SetCapsLock(false);
    rec::Destroy();
  }
  void SetUp() override {
    ASSERT_TRUE(rec::Focus()) << "the recorder window cannot get the focus";
    rec::PumpFor(20);
    rec::Clear();
  }

  // Sends `text` and waits for the expected number of messages, then a little
  // longer so that any surplus would show.
  static std::string Deliver(const char* text, const std::string& expected) {
    rec::Clear();
    EXPECT_EQ(SendKeySequence(held, text, 0), 0) << text;
    size_t wanted = EntriesIn(expected);
    rec::PumpUntil([wanted] { return rec::Count() >= wanted; }, kGenerousTimeoutMs);
    rec::PumpFor(100);
    return rec::Describe();
  }
};

TEST_F(KeyInjectionSystem, KeysArriveInOrderWithCapsLockOff) {
  ASSERT_TRUE(SetCapsLock(false));
  for (const SystemRow& row : kRows) {
    EXPECT_EQ(Deliver(row.text, row.messages), row.messages) << row.text;
    EXPECT_EQ(ModifiersStillDown(), "") << "after " << row.text;
    EXPECT_FALSE(CapsLockToggled()) << row.text;
  }
}

TEST_F(KeyInjectionSystem, CapsLockReallyChangesTheCharacters) {
  // Without this the Caps Lock rows below would prove nothing.
  ASSERT_TRUE(SetCapsLock(true));
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = 'Q';
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA('Q', MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
  rec::PumpUntil([] { return rec::Count() >= 3; }, kGenerousTimeoutMs);
  EXPECT_EQ(rec::Describe(), "51d 'Q' 51u");
  ASSERT_TRUE(SetCapsLock(false));
}

TEST_F(KeyInjectionSystem, KeysArriveInOrderWithCapsLockOnAndItStaysOn) {
  ASSERT_TRUE(SetCapsLock(true));
  for (const SystemRow& row : kRows) {
    // Caps Lock is switched off around the burst and on again after it.
    std::string expected = std::string("14d 14u ") + row.messages + " 14d 14u";
    EXPECT_EQ(Deliver(row.text, expected), expected) << row.text;
    EXPECT_EQ(ModifiersStillDown(), "") << "after " << row.text;
    EXPECT_TRUE(CapsLockToggled()) << "Caps Lock was not restored after " << row.text;
  }
  ASSERT_TRUE(SetCapsLock(false));
}

TEST_F(KeyInjectionSystem, SyntaxErrorDeliversNothing) {
  rec::Clear();
  EXPECT_EQ(SendKeySequence(held, "ab}", 0), 3);
  EXPECT_EQ(SendKeySequence(held, "(ab)", 0), 1);
  rec::PumpFor(200);
  EXPECT_EQ(rec::Describe(), "");
}

TEST_F(KeyInjectionSystem, PauseSpreadsTheBurst) {
  rec::Clear();
  DWORD start = GetTickCount();
  EXPECT_EQ(SendKeySequence(held, "ab", 50), 0);
  DWORD elapsed = GetTickCount() - start;
  rec::PumpUntil([] { return rec::Count() >= 6; }, kGenerousTimeoutMs);
  EXPECT_EQ(rec::Describe(), "41d 'a' 41u 42d 'b' 42u");
  // Four pauses of 50 ms; the tick count is coarse, so allow some slack.
  EXPECT_GE(elapsed, 180u);
}

}  // namespace
}  // namespace quillon

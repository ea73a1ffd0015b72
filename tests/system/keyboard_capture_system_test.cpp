// The real quillon.exe capturing keys under Wine, in hot-key mode and in hook
// mode: a focused test window records what reaches it, the test presses keys
// with SendInput, and each entry types a sequence that names it.
#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>
#include <wtsapi32.h>

#include <string>
#include <vector>

#include "shared/runtime_messages.h"
#include "shared/settings_tree.h"
#include "tests/kit/controller_double/virtual_pads_control.h"
#include "tests/kit/hung_window.h"
#include "tests/kit/key_recorder_window.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

namespace kit = test_kit;
namespace reg = test_registry;
namespace rec = key_recorder;

bool IsModifierKey(WPARAM key) {
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN: return true;
    default: return false;
  }
}

// The non-modifier keys that went down and up in the recorder, as "41d" and
// "41u", whatever modifiers were held (so Alt's system messages count too).
std::string KeyTrail() {
  std::string trail;
  for (const rec::RecordedMessage& m : rec::Messages()) {
    bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
    bool up = m.message == WM_KEYUP || m.message == WM_SYSKEYUP;
    if ((!down && !up) || IsModifierKey(m.wParam)) continue;
    char item[8];
    std::snprintf(item, sizeof item, "%02x%c", unsigned(m.wParam) & 0xFF, down ? 'd' : 'u');
    if (!trail.empty()) trail += ' ';
    trail += item;
  }
  return trail;
}

bool TrailContains(const std::string& part) { return KeyTrail().find(part) != std::string::npos; }

// Presses `key` with the modifiers held, as a user would, and releases all.
void Press(WORD key, uint32_t modifiers = 0) {
  const struct {
    uint32_t bit;
    WORD key;
  } held[] = {{ModifierCtrl, VK_CONTROL}, {ModifierShift, VK_SHIFT}, {ModifierAlt, VK_MENU}};
  for (const auto& h : held)
    if (modifiers & h.bit) rec::InjectKey(h.key, false);
  rec::InjectKey(key, false);
  rec::InjectKey(key, true);
  for (const auto& h : held)
    if (modifiers & h.bit) rec::InjectKey(h.key, true);
}

bool CapsLockOn() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

// Turns Caps Lock off, as the recorder's thread sees it. Two overlapping
// presses (a test's and a burst's) toggle once, so a test that failed half-way
// can leave it on; every other test types letters whose case it checks.
bool TurnCapsLockOff() {
  rec::PumpPending();
  for (int attempt = 0; attempt < 3 && CapsLockOn(); ++attempt) {
    Press(VK_CAPITAL);
    rec::PumpUntil([] { return !CapsLockOn(); }, 3000);
  }
  return !CapsLockOn();
}

std::string ModifiersStillDown() {
  std::string down;
  for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN})
    if (GetAsyncKeyState(key) & 0x8000) down += std::to_string(key) + " ";
  return down;
}

constexpr DWORD kWaitMs = 10000;

class KeyboardCaptureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_NE(rec::Create("Capture recorder"), nullptr); }
  static void TearDownTestSuite() { rec::Destroy(); }

  void SetUp() override {
    kit::StopAnyRuntime();
    reg::DeleteSettingsTree();
    reg::WriteNumber(reg::SettingsPath(), "ApplyOnStart", 0);
    reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 1);
    ASSERT_TRUE(TurnCapsLockOff());
  }
  void TearDown() override {
    kit::StopAnyRuntime();
    if (runtime_.process) kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
    reg::DeleteSettingsTree();
    EXPECT_EQ(ModifiersStillDown(), "") << "a modifier was left down";
  }

  // Keyboard entry `number`: on `key` with `modifiers`, types `sequence`.
  static void Entry(int number, uint32_t modifiers, WORD key, const char* sequence) {
    reg::WriteNumber(reg::KeyActionPath(number), "Modifier", modifiers);
    reg::WriteNumber(reg::KeyActionPath(number), "VirtualKey", key);
    reg::WriteNumber(reg::KeyActionPath(number), "Action", StuffKeys);
    reg::WriteText(reg::KeyActionPath(number), "KeySeq", sequence);
  }

  // Starts the runtime and waits until it has loaded and armed its keys.
  void StartRuntime(bool hookMode) {
    reg::WriteNumber(reg::SettingsPath(), "UseHook", hookMode ? 1 : 0);
    HWND window = kit::StartRuntime(&runtime_);
    ASSERT_NE(window, nullptr);
    // The window answers once start-up, settings included, is over.
    DWORD_PTR ignored = 0;
    ASSERT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored), 0);
    ASSERT_TRUE(rec::Focus()) << "the recorder window could not get the focus";
    rec::Clear();
  }

  static bool WaitForTrail(const std::string& part) {
    return rec::PumpUntil([&] { return TrailContains(part); }, kWaitMs);
  }

  kit::Child runtime_;
};

TEST_F(KeyboardCaptureTest, HotKeyTypesTheEntrysSequenceAndConsumesTheKey) {
  Entry(1, 0, VK_F5, "ok");
  StartRuntime(false);
  Press(VK_F5);
  ASSERT_TRUE(WaitForTrail("4fd 4fu 4bd 4bu")) << KeyTrail();
  rec::PumpFor(200);
  EXPECT_FALSE(TrailContains("74d")) << "the hot key's press reached the window";
}

TEST_F(KeyboardCaptureTest, HotKeysOnOneKeyWithDifferentModifiersBothFire) {
  Entry(1, ModifierCtrl, VK_F5, "a");
  Entry(2, ModifierShift, VK_F5, "b");
  StartRuntime(false);
  // The modifier is let go of once the action has typed, as a hand does: in
  // hot-key mode nothing watches the keys, so a release while the burst
  // goes in (Wine does not keep one SendInput call together) would find the
  // modifier put back after it.
  for (const auto& [key, text] : {std::pair{VK_CONTROL, "41d"}, std::pair{VK_SHIFT, "42d"}}) {
    rec::InjectKey(WORD(key), false);
    rec::PressKey(VK_F5);
    bool typed = WaitForTrail(text);
    rec::InjectKey(WORD(key), true);
    ASSERT_TRUE(typed) << KeyTrail();
  }
}

TEST_F(KeyboardCaptureTest, AKeyAnotherProgramHoldsIsSilentlyNotCaptured) {
  ASSERT_TRUE(RegisterHotKey(rec::Window(), 7, 0, VK_F6));
  Entry(1, 0, VK_F6, "z");
  Entry(2, 0, VK_F5, "k");
  StartRuntime(false);
  Press(VK_F6);
  Press(VK_F5);  // a sentinel: its keys come after whatever F6 caused
  bool sentinel = WaitForTrail("4bd");
  UnregisterHotKey(rec::Window(), 7);
  ASSERT_TRUE(sentinel) << KeyTrail();
  EXPECT_FALSE(TrailContains("5ad")) << "the runtime captured a key another program holds";
}

TEST_F(KeyboardCaptureTest, HookReachesOnlyTheLaterEntryAndPassesOtherModifiers) {
  for (int n : {1, 2, 4, 5, 6}) Entry(n, 0, WORD(VK_F8 + (n % 3)), "n");
  Entry(3, ModifierCtrl, VK_F5, "t");
  Entry(7, ModifierShift, VK_F5, "s");
  StartRuntime(true);
  Press(VK_F5, ModifierShift);
  // The action runs beside the hook, so the user's key-up may come between
  // the keys it types (Wine's BlockInput holds nothing off).
  ASSERT_TRUE(WaitForTrail("53d") && WaitForTrail("53u")) << KeyTrail();
  // The swallowed key-down's key-up still reaches the window.
  ASSERT_TRUE(WaitForTrail("74u")) << KeyTrail();
  EXPECT_FALSE(TrailContains("74d")) << KeyTrail();
  rec::Clear();
  Press(VK_F5, ModifierCtrl);
  ASSERT_TRUE(WaitForTrail("74d 74u")) << KeyTrail();
  EXPECT_FALSE(TrailContains("54d")) << "entry 3 is hidden behind entry 7 on the same key";
}

TEST_F(KeyboardCaptureTest, HookCapturesAltCombinations) {
  Entry(1, ModifierAlt, VK_F5, "q");
  StartRuntime(true);
  Press(VK_F5, ModifierAlt);
  ASSERT_TRUE(WaitForTrail("51d")) << KeyTrail();
  EXPECT_FALSE(TrailContains("74d")) << KeyTrail();
}

TEST_F(KeyboardCaptureTest, HookSwallowsAKeyWhoseTargetWindowIsMissing) {
  Entry(1, 0, VK_F7, "m");
  reg::WriteNumber(reg::KeyActionPath(1), "SendType", SelectWindow);
  reg::WriteText(reg::KeyActionPath(1), "Select", "No such window*");
  Entry(2, 0, VK_F5, "k");
  StartRuntime(true);
  Press(VK_F7);
  Press(VK_F5);
  ASSERT_TRUE(WaitForTrail("4bd")) << KeyTrail();
  EXPECT_FALSE(TrailContains("76d")) << "the matched key-down was not swallowed";
  EXPECT_TRUE(TrailContains("76u")) << KeyTrail();
  EXPECT_FALSE(TrailContains("4dd")) << "the action ran without its target";
}

TEST_F(KeyboardCaptureTest, KeyboardOffCapturesNothingInEitherMode) {
  Entry(1, 0, VK_F5, "x");
  reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 0);
  for (bool hookMode : {false, true}) {
    StartRuntime(hookMode);
    Press(VK_F5);
    ASSERT_TRUE(WaitForTrail("74d 74u")) << (hookMode ? "hook: " : "hot key: ") << KeyTrail();
    EXPECT_FALSE(TrailContains("58d"));
    kit::StopAnyRuntime();
    kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
  }
}

// The characters the recorder window received.
std::string TypedText() {
  std::string text;
  for (const rec::RecordedMessage& m : rec::Messages())
    if (m.message == WM_CHAR) text += char(m.wParam);
  return text;
}

// What the run command writes on a first run: pressing F9 must type its
// greeting into the focused window.
TEST_F(KeyboardCaptureTest, DemonstrationSettingsTypeTheGreetingOnF9) {
  reg::DeleteSettingsTree();
  std::string demo = std::string("Z:") + QUILLON_SOURCE_DIR + "/scripts/demo-settings.reg";
  for (char& c : demo)
    if (c == '/') c = '\\';
  kit::Child import = kit::StartChild("C:\\windows\\regedit.exe", "/S \"" + demo + "\"");
  DWORD exitCode = 99;
  ASSERT_TRUE(kit::WaitForExit(import, kit::kGenerousTimeoutMs, &exitCode));
  HWND window = kit::StartRuntime(&runtime_);
  ASSERT_NE(window, nullptr);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored);
  ASSERT_TRUE(rec::Focus());
  rec::Clear();
  Press(VK_F9);
  EXPECT_TRUE(rec::PumpUntil([] { return TypedText() == "Hello from Quillon"; }, kWaitMs)) << TypedText();
}

// The hook callback only decides; the action runs afterwards and its click
// on a target that hangs waits a bounded time, so capture and the runtime
// stay alive (on Windows a callback that overran the time-out would have
// been removed for good).
TEST_F(KeyboardCaptureTest, HookAndRuntimeStayAliveWhileAnActionsTargetHangs) {
  kit::HungWindow frozen("Quillon Frozen Target", 8000);
  ASSERT_NE(frozen.Window(), nullptr);
  Entry(1, 0, VK_F5, "z");
  reg::WriteNumber(reg::KeyActionPath(1), "SendType", SelectWindow);
  reg::WriteText(reg::KeyActionPath(1), "Select", "Quillon Frozen Target");
  Entry(2, 0, VK_F7, "k");
  StartRuntime(true);
  DWORD start = GetTickCount();
  Press(VK_F5);
  DWORD_PTR ignored = 0;
  rec::PumpFor(100);
  EXPECT_NE(SendMessageTimeoutA(kit::WaitForRuntimeWindowOf(runtime_), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored), 0);
  EXPECT_LT(GetTickCount() - start, 3000u) << "the runtime waited for the hung window";
  ASSERT_TRUE(rec::Focus());
  rec::Clear();
  Press(VK_F7);
  EXPECT_TRUE(WaitForTrail("4bd")) << "capture died: " << KeyTrail();
}

// An entry that types its own key would set itself off for ever; the runtime
// recognises its own keys in either mode.
TEST_F(KeyboardCaptureTest, AnEntryThatTypesItsOwnKeyRunsOncePerPress) {
  Entry(1, 0, VK_F9, "{F9}x");
  for (bool hookMode : {false, true}) {
    StartRuntime(hookMode);
    Press(VK_F9);
    ASSERT_TRUE(rec::PumpUntil([] { return TypedText() == "x"; }, kWaitMs)) << TypedText();
    rec::PumpFor(1000);
    EXPECT_EQ(TypedText(), "x") << (hookMode ? "hook" : "hot key");
    kit::StopAnyRuntime();
    kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
  }
}

bool IsAlt(WPARAM key) { return key == VK_MENU || key == VK_LMENU || key == VK_RMENU; }
bool IsWin(WPARAM key) { return key == VK_LWIN || key == VK_RWIN; }

// Whether the recorder saw the modifier go down and up with no other key
// going down in between (key-ups do not count): such a lone Alt opens the
// menu bar, a lone Windows key the Start menu.
bool LonePress(bool (*isModifier)(WPARAM)) {
  bool down = false;
  bool other = false;
  for (const rec::RecordedMessage& m : rec::Messages()) {
    bool keyDown = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
    bool keyUp = m.message == WM_KEYUP || m.message == WM_SYSKEYUP;
    if (!keyDown && !keyUp) continue;
    if (!isModifier(m.wParam)) {
      if (keyDown) other = true;
    } else if (keyDown && !down) {
      down = true;
      other = false;
    } else if (keyUp && down) {
      if (!other) return true;
      down = false;
    }
  }
  return false;
}

TEST_F(KeyboardCaptureTest, HookSwallowingAnAltOrWindowsCombinationLeavesNoLoneModifier) {
  const struct {
    uint32_t modifier;
    WORD key;
    bool (*isModifier)(WPARAM);
  } rows[] = {{ModifierAlt, VK_MENU, IsAlt}, {ModifierWin, VK_LWIN, IsWin}};
  for (const auto& row : rows) {
    reg::WriteNumber(reg::KeyActionPath(1), "Modifier", row.modifier);
    reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", VK_F5);
    reg::WriteNumber(reg::KeyActionPath(1), "Action", IgnoreKey);
    StartRuntime(true);
    rec::InjectKey(row.key, false);
    rec::InjectKey(VK_F5, false);
    rec::InjectKey(VK_F5, true);
    rec::InjectKey(row.key, true);
    ASSERT_TRUE(rec::PumpUntil(
        [&] {
          for (const rec::RecordedMessage& m : rec::Messages())
            if ((m.message == WM_KEYUP || m.message == WM_SYSKEYUP) && row.isModifier(m.wParam)) return true;
          return false;
        },
        kWaitMs))
        << rec::Describe();
    EXPECT_FALSE(TrailContains("74d")) << rec::Describe();
    EXPECT_FALSE(LonePress(row.isModifier)) << "a lone modifier press reached the window: " << rec::Describe();
    kit::StopAnyRuntime();
    kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
  }
}

// "{SHIFT DOWN}" on one key and typing on another: the hold lasts until the
// settings are unloaded, and nothing is left down once the runtime ends.
TEST_F(KeyboardCaptureTest, AHoldLastsAcrossActionsUntilReloadOrExit) {
  Entry(1, 0, VK_F5, "{SHIFT DOWN}");
  Entry(2, ModifierShift, VK_F6, "a");
  StartRuntime(false);
  auto shiftDown = [] { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; };
  Press(VK_F5);
  ASSERT_TRUE(rec::PumpUntil(shiftDown, kWaitMs)) << "the hold ended with its action";
  Press(VK_F6);
  EXPECT_TRUE(rec::PumpUntil([] { return TypedText() == "A"; }, kWaitMs)) << TypedText();
  HWND window = kit::WaitForRuntimeWindowOf(runtime_);
  SendMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
  EXPECT_TRUE(rec::PumpUntil([&] { return !shiftDown(); }, kWaitMs)) << "the reload left Shift down";
  Press(VK_F5);
  ASSERT_TRUE(rec::PumpUntil(shiftDown, kWaitMs));
  kit::StopAnyRuntime();
  kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
  EXPECT_TRUE(rec::PumpUntil([&] { return !shiftDown(); }, kWaitMs)) << "the runtime ended with Shift down";
}

// Caps Lock goes on while the recorder has the focus: the runtime's thread
// sees no key of it, and must still read the toggle as it is now.
TEST_F(KeyboardCaptureTest, CapsLockIsReadAsItIsNowNotAsTheRuntimeLastSawIt) {
  Entry(1, 0, VK_F5, "a");
  StartRuntime(false);
  Press(VK_F5);
  ASSERT_TRUE(rec::PumpUntil([] { return TypedText() == "a"; }, kWaitMs)) << TypedText();
  Press(VK_CAPITAL);
  ASSERT_TRUE(rec::PumpUntil(CapsLockOn, kWaitMs));
  rec::Clear();
  Press(VK_F5);
  // The burst turns Caps Lock off around the letter and on again: ours must
  // not overlap its last press, or the two would toggle once.
  bool typed = WaitForTrail("41d 41u 14d 14u");
  std::string text = TypedText();
  EXPECT_TRUE(TurnCapsLockOff());
  ASSERT_TRUE(typed) << KeyTrail();
  EXPECT_EQ(text, "a") << "the runtime took Caps Lock for off";
}

// The main thread scans the controllers for longer than Wine's 2 s hook
// time-out (a pad went away, and the double's listing is slow). A hooked key
// pressed meanwhile is swallowed at once, its action runs after the scan,
// and the hook still works: it never waits for the main thread.
TEST_F(KeyboardCaptureTest, AHookedKeyIsSwallowedWhileTheRuntimeIsBusyAndRunsAfterwards) {
  namespace pads = virtual_pads;
  pads::ResetSharedBlock();
  ASSERT_TRUE(pads::InstallControllerDoubleInSystemFolder());
  pads::PreferDoubleInRuntime();
  int pad = pads::AddPad("Quillon Pad", 10);
  reg::WriteNumber(reg::SettingsPath(), "UseJoystick", 1);
  reg::WriteText(reg::SettingsPath(), "SwitchDevice", "Quillon Pad");
  Entry(1, 0, VK_F5, "ok");
  StartRuntime(true);
  ASSERT_TRUE(rec::PumpUntil([&] { return pads::Block().pads[pad].acquired == 1; }, kWaitMs));
  constexpr DWORD kScanMs = 3500;
  pads::Block().listDelayMs = kScanMs;
  pads::Unplug(pad);
  int32_t listings = pads::Block().listings;
  PostMessageA(kit::WaitForRuntimeWindowOf(runtime_), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  bool busy = rec::PumpUntil([&] { return pads::Block().listings > listings; }, kWaitMs);
  DWORD pressed = GetTickCount();
  Press(VK_F5);
  // The user's key-up may come between the keys the action types.
  auto typedOk = [] { return TypedText() == "ok"; };
  bool typed = rec::PumpUntil(typedOk, kWaitMs);
  DWORD ranAfter = GetTickCount() - pressed;
  pads::Block().listDelayMs = 0;
  pads::PreferBuiltInInRuntime();
  ASSERT_TRUE(busy) << "the runtime never began to scan";
  ASSERT_TRUE(typed) << KeyTrail() << " typed \"" << TypedText() << "\" after " << ranAfter << " ms";
  EXPECT_FALSE(TrailContains("74d")) << "the key went through while the runtime was busy";
  EXPECT_GT(ranAfter, 2000u) << "the action did not wait for the scan: was the runtime busy?";
  rec::Clear();
  Press(VK_F5);
  EXPECT_TRUE(rec::PumpUntil(typedOk, kWaitMs)) << "the hook died: " << KeyTrail();
  EXPECT_FALSE(TrailContains("74d")) << KeyTrail();
}

// Lock, unlock and resume as the system announces them. Every one lets go of
// a hold; a return to the session and a resume also arm the keys again, so a
// key that another program held at the load is captured once it is free.
TEST_F(KeyboardCaptureTest, LockingReleasesHoldsAndUnlockingOrResumingArmsTheKeysAgain) {
  const struct {
    UINT message;
    WPARAM event;
    bool arms;
  } rows[] = {{WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, false},
              {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, true},
              {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true}};
  auto shiftDown = [] { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; };
  Entry(1, 0, VK_F5, "{SHIFT DOWN}");
  Entry(2, 0, VK_F6, "k");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.event);
    ASSERT_TRUE(RegisterHotKey(rec::Window(), 7, 0, VK_F6));
    StartRuntime(false);
    UnregisterHotKey(rec::Window(), 7);
    Press(VK_F5);
    ASSERT_TRUE(rec::PumpUntil(shiftDown, kWaitMs));
    PostMessageA(kit::WaitForRuntimeWindowOf(runtime_), row.message, row.event, 0);
    EXPECT_TRUE(rec::PumpUntil([&] { return !shiftDown(); }, kWaitMs)) << "Shift stayed held";
    rec::Clear();
    Press(VK_F6);
    Press(VK_F5);  // a sentinel: what F6 caused comes first
    ASSERT_TRUE(rec::PumpUntil(shiftDown, kWaitMs));
    EXPECT_EQ(TrailContains("4bd"), row.arms) << KeyTrail();
    kit::StopAnyRuntime();
    kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
    ASSERT_TRUE(rec::PumpUntil([&] { return !shiftDown(); }, kWaitMs));
  }
}

// The most common complaint about key tools: an entry on Ctrl+F5 typing
// "www" while the user still holds Ctrl gives Ctrl+W three times. The burst
// lets go of the held Ctrl, types, and puts it down again, so the user's own
// next key still has it; in both modes.
TEST_F(KeyboardCaptureTest, KeysTypedWhileTheEntrysModifierIsHeldComeOutAsWritten) {
  Entry(1, ModifierCtrl, VK_F5, "www");
  auto ctrlDown = [] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; };
  for (bool hookMode : {false, true}) {
    SCOPED_TRACE(hookMode ? "hook" : "hot key");
    StartRuntime(hookMode);
    rec::InjectKey(VK_CONTROL, false);
    rec::PressKey(VK_F5);
    bool typed = rec::PumpUntil([] { return TypedText().size() >= 3; }, kWaitMs);
    // The Ctrl put back after the last "w" reaches the window as a key-down.
    bool restored = rec::PumpUntil([] { return rec::Describe().find("57u 11d") != std::string::npos; }, kWaitMs);
    bool heldAfter = ctrlDown();
    rec::InjectKey(VK_CONTROL, true);
    ASSERT_TRUE(typed) << rec::Describe();
    EXPECT_EQ(TypedText(), "www") << rec::Describe();
    EXPECT_TRUE(restored) << rec::Describe();
    EXPECT_TRUE(heldAfter) << "Ctrl was not down again after the burst";
    EXPECT_TRUE(rec::PumpUntil([&] { return !ctrlDown(); }, kWaitMs)) << "Ctrl stayed down after its release";
    kit::StopAnyRuntime();
    kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
    rec::Clear();
  }
}

// A target window that answers the runtime's click by closing the runtime,
// as "Q" from a second copy does when it arrives while the click waits: the
// runtime's thread handles messages sent to it during the click.
LRESULT CALLBACK ClosingTargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(FindWindowA("Quillon", nullptr), WM_CLOSE, 0, 0, SMTO_NORMAL, kWaitMs, &ignored);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// However the runtime ends, nothing it pressed stays down, and once it is
// ending it types nothing more.
TEST_F(KeyboardCaptureTest, NothingStaysHeldHoweverTheRuntimeEnds) {
  WNDCLASSA targetClass = {};
  targetClass.lpfnWndProc = ClosingTargetProc;
  targetClass.hInstance = GetModuleHandleA(nullptr);
  targetClass.lpszClassName = "QuillonClosingTarget";
  RegisterClassA(&targetClass);
  HWND target = CreateWindowExA(0, "QuillonClosingTarget", "Quillon Closing Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                200, 200, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(target, nullptr);
  auto shiftDown = [] { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; };
  const struct {
    const char* label;
    bool closedDuringClick;  // otherwise the session ends while Shift is held
  } rows[] = {{"close during the click", true}, {"session ends", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    Entry(1, 0, VK_F5, "{SHIFT DOWN}x");
    reg::WriteNumber(reg::KeyActionPath(1), "SendType", row.closedDuringClick ? SelectWindow : CurrentWindow);
    reg::WriteText(reg::KeyActionPath(1), "Select", "Quillon Closing Target");
    StartRuntime(true);
    HWND window = kit::WaitForRuntimeWindowOf(runtime_);
    Press(VK_F5);
    if (row.closedDuringClick) {
      EXPECT_TRUE(rec::PumpUntil([&] { return !kit::IsRunning(runtime_); }, kWaitMs));
    } else {
      ASSERT_TRUE(rec::PumpUntil(shiftDown, kWaitMs));
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, kWaitMs, &ignored);
    }
    rec::PumpFor(300);  // an action that went on typing would have done so by now
    EXPECT_FALSE(shiftDown()) << "Shift was left down";
    if (shiftDown()) rec::InjectKey(VK_SHIFT, true);
    kit::StopAnyRuntime();
    kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
  }
  DestroyWindow(target);
}

// How many times the recorder saw `key` go down.
int DownsOf(WORD key) {
  int downs = 0;
  for (const rec::RecordedMessage& m : rec::Messages())
    if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && m.wParam == key) ++downs;
  return downs;
}

bool AsyncDown(WORD key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

class HeldEntryTest : public KeyboardCaptureTest {
 protected:
  static void HeldEntry(int number, WORD key, uint32_t action, const char* sequence, uint32_t repeatMs = 0) {
    Entry(number, 0, key, sequence);
    reg::WriteNumber(reg::KeyActionPath(number), "Action", action);
    if (repeatMs != 0) reg::WriteNumber(reg::KeyActionPath(number), "Repeat", repeatMs);
  }
  // A keyboard's own repeat while a key is held: more key-downs, no key-up.
  static void TypematicDowns(WORD key, int count) {
    for (int i = 0; i < count; ++i) {
      rec::PumpFor(30);
      rec::InjectKey(key, false);
    }
  }
};

// In hook mode the captured key's down and up are both swallowed: the hold's
// key goes down once however long the keyboard repeats, and up at the release.
TEST_F(HeldEntryTest, AHoldEntryHoldsItsKeyForAsLongAsTheCapturedKeyIsHeld) {
  HeldEntry(1, VK_F5, HoldKeys, "{LEFT}");
  StartRuntime(true);
  rec::InjectKey(VK_F5, false);
  ASSERT_TRUE(WaitForTrail("25d")) << KeyTrail();
  TypematicDowns(VK_F5, 8);
  rec::PumpFor(200);
  EXPECT_TRUE(AsyncDown(VK_LEFT)) << "the held key went up while its key was held: " << KeyTrail();
  EXPECT_EQ(KeyTrail(), "25d") << "the hold typed, or its key reached the window";
  rec::InjectKey(VK_F5, true);
  EXPECT_TRUE(WaitForTrail("25d 25u")) << KeyTrail();
  EXPECT_TRUE(rec::PumpUntil([] { return !AsyncDown(VK_LEFT); }, kWaitMs));
  rec::PumpFor(100);
  EXPECT_EQ(KeyTrail(), "25d 25u") << "the captured key's release reached the window";
}

// Repeat 100: typed at the press and every 100 ms on a timer, so about 11
// times in a second of holding, and no more once the key is let go.
TEST_F(HeldEntryTest, ARepeatEntryTypesAtItsIntervalWhileTheCapturedKeyIsHeld) {
  HeldEntry(1, VK_F6, RepeatKeys, "{RIGHT}", 100);
  StartRuntime(true);
  rec::InjectKey(VK_F6, false);
  ASSERT_TRUE(rec::PumpUntil([] { return DownsOf(VK_RIGHT) >= 1; }, kWaitMs)) << KeyTrail();
  const DWORD first = GetTickCount();
  TypematicDowns(VK_F6, 5);
  bool repeating = rec::PumpUntil([] { return DownsOf(VK_RIGHT) >= 6; }, 3000);
  rec::PumpUntil([&] { return GetTickCount() - first >= 1000; }, 2000);
  rec::InjectKey(VK_F6, true);
  const int typed = DownsOf(VK_RIGHT);
  ASSERT_TRUE(repeating) << KeyTrail();
  EXPECT_GE(typed, 6) << KeyTrail();
  EXPECT_LE(typed, 14) << KeyTrail();
  rec::PumpFor(500);
  EXPECT_LE(DownsOf(VK_RIGHT), typed + 1) << "it went on typing after the release";
  EXPECT_FALSE(TrailContains("75d") || TrailContains("75u")) << KeyTrail();
}

// A hold or a repeat under way when the settings reload or the runtime ends,
// by a second copy's "Q" or a close: nothing stays down and nothing types on.
TEST_F(HeldEntryTest, AHoldUnderWayEndsAtAReloadAndAtTheRuntimesEnd) {
  const struct {
    const char* label;
    uint32_t action;
    int ending;  // 0 reload, 1 "Q" from a second copy, 2 WM_CLOSE
  } rows[] = {{"hold, reload", HoldKeys, 0},
              {"hold, Q", HoldKeys, 1},
              {"hold, close", HoldKeys, 2},
              {"repeat, reload", RepeatKeys, 0},
              {"repeat, close", RepeatKeys, 2}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    HeldEntry(1, VK_F7, row.action, "{LEFT}{UP}", 100);
    StartRuntime(true);
    HWND window = kit::WaitForRuntimeWindowOf(runtime_);
    rec::InjectKey(VK_F7, false);
    bool held = rec::PumpUntil([] { return AsyncDown(VK_UP) || DownsOf(VK_UP) >= 2; }, kWaitMs);
    if (row.ending == 0) {
      SendMessageA(window, WM_RELOAD_SETTINGS, 0, 0);
    } else if (row.ending == 1) {
      kit::Child second = kit::StartChild(kit::RuntimePath(), "Q");
      kit::WaitForExit(second, kit::kGenerousTimeoutMs, nullptr);
      EXPECT_TRUE(kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr));
    } else {
      kit::StopAnyRuntime();
    }
    bool letGo = rec::PumpUntil([] { return !AsyncDown(VK_LEFT) && !AsyncDown(VK_UP); }, kWaitMs);
    rec::PumpFor(100);
    const int typed = DownsOf(VK_UP);
    rec::PumpFor(400);
    const int typedLater = DownsOf(VK_UP);
    const bool stillLeft = AsyncDown(VK_LEFT), stillUp = AsyncDown(VK_UP);
    rec::InjectKey(VK_F7, true);
    if (stillLeft) rec::InjectKey(VK_LEFT, true);
    if (stillUp) rec::InjectKey(VK_UP, true);
    kit::StopAnyRuntime();
    if (runtime_.process) kit::WaitForExit(runtime_, kit::kGenerousTimeoutMs, nullptr);
    ASSERT_TRUE(held) << KeyTrail();
    EXPECT_TRUE(letGo) << "a key was left held: " << KeyTrail();
    EXPECT_EQ(typedLater, typed) << "it went on typing: " << KeyTrail();
    rec::Clear();
  }
}

}  // namespace
}  // namespace quillon

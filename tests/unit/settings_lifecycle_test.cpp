// Start-up's checks before the settings are loaded.
#include <gtest/gtest.h>

#include "runtime/modal_boxes.h"
#include "runtime/runtime_ending.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_controller.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_notices.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_settings_lock.h"
#include "tests/kit/test_registry.h"

namespace quillon {
namespace {

// The runtime under test, made afresh by every case.
Runtime rt;

// A path of 1,024 characters or more reads as "" (the process seam cannot
// read it whole): the start ends, rather than resolving the mapping program
// against the current drive. Either way the keyboard layout is looked up at
// most once before any action, never by the first action.
TEST(StartRuntimeTest, StartsOnlyFromAKnownFolderAndReadsTheLayoutFirst) {
  const struct {
    const char* ownPath;
    bool starts;
  } rows[] = {{"C:\\Quillon\\quillon.exe", true}, {"", false}};
  for (const auto& row : rows) {
    fake_platform::Reset();
    fake_keyboard::Reset();
    test_registry::DeleteSettingsTree();
    test_registry::WriteNumber(test_registry::SettingsPath(), "ApplyOnStart", 1);
    test_registry::WriteText(test_registry::SettingsPath(), "Config0", "Race");
    fake_platform::SetExecutablePath(row.ownPath);
    bool layoutRead = false;
    fake_keyboard::OnceWhileReadingLayout([&] { layoutRead = true; });
    EXPECT_EQ(StartRuntime(rt), row.starts) << row.ownPath;
    EXPECT_EQ(layoutRead, row.starts) << row.ownPath;
    EXPECT_EQ(fake_platform::CallsStartingWith("StartProgram").size(), row.starts ? 1u : 0u) << row.ownPath;
    UnloadSettings(rt);
  }
  test_registry::DeleteSettingsTree();
}

// A box's message loop dispatches whatever arrives while it is open: a
// reload, folded to run once the box has closed, and then "Q" or Exit, which
// end the runtime inside the box. The end is the end: the folded reload, and
// the rest of a load whose controller error box it was, arm nothing.
TEST(RuntimeEndTest, AReloadFoldedWhileABoxWasOpenRunsNothingAfterTheEnd) {
  const struct {
    const char* box;
    bool controllerFails;  // the box is the controller's error box inside a load
  } rows[] = {{"about box", false}, {"controller error box", true}};
  for (const auto& row : rows) {
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_notices::Reset();
    fake_controller::Reset();
    test_registry::DeleteSettingsTree();
    test_registry::WriteNumber(test_registry::SettingsPath(), "UseKeyboard", 1);
    test_registry::WriteNumber(test_registry::SettingsPath(), "UseHook", 1);
    test_registry::WriteNumber(test_registry::SettingsPath(), "ShowTrayIcon", 1);
    test_registry::WriteNumber(test_registry::SettingsPath(), "UseJoystick", row.controllerFails ? 1 : 0);
    test_registry::WriteNumber(test_registry::KeyActionPath(1), "VirtualKey", 0x74);
    rt = Runtime{};
    // What the box's loop dispatches, the first time it is shown: a reload,
    // then the end (WM_CLOSE, then WM_DESTROY).
    int shown = 0;
    auto reloadThenEnd = [&shown] {
      if (++shown > 1) return;
      ReloadSettings(rt);
      StopTimersAndController(rt);
      EndRuntime(rt);
    };
    if (row.controllerFails) {
      fake_controller::SetFailures({true, false, false, false, false, false});
      fake_controller::WhileErrorBoxOpen(reloadThenEnd);
      LoadSettings(rt);
    } else {
      LoadSettings(rt);
      ASSERT_TRUE(fake_platform::HookInstalled());
      WithBoxOpen(rt.boxes, reloadThenEnd);
      RunWaitingReload(rt);  // as the window does once its box has closed
    }
    EXPECT_EQ(shown, 1) << row.box << ": the box came back after the end";
    EXPECT_FALSE(fake_platform::HookInstalled()) << row.box;
    EXPECT_FALSE(fake_notices::IconTip().has_value()) << row.box;
    EXPECT_TRUE(fake_platform::RegisteredHotKeys().empty()) << row.box;
    EXPECT_TRUE(fake_platform::RunningTimers().empty()) << row.box;
    EXPECT_EQ(fake_controller::OpenDeviceCount(), 0) << row.box;
    // Nor does any later request.
    fake_controller::WhileErrorBoxOpen(nullptr);
    ReloadSettings(rt);
    EXPECT_FALSE(fake_platform::HookInstalled()) << row.box;
    EXPECT_FALSE(fake_notices::IconTip().has_value()) << row.box;
    ForgetRuntimeEnd();
    fake_controller::Reset();
  }
  test_registry::DeleteSettingsTree();
}

// Another program writing the tree holds its lock. Its write is under way:
// the main key is new, the entries are not written yet (each is written in
// place and the list trimmed last, so entry 02 of the old tree is still
// there). The rest of its write writes entry 01 anew and trims entry 02.
void BeginWritingFly() {
  namespace reg = test_registry;
  reg::WriteText(reg::SettingsPath(), "Config0", "Fly");
  fake_settings_lock::HeldElsewhere(nullptr);
}
void RestOfWritingFly() {
  namespace reg = test_registry;
  reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", 0x76);
  reg::DeleteSettingsTree();  // the trim, done here by writing the whole new tree again
  reg::WriteText(reg::SettingsPath(), "Config0", "Fly");
  reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 1);
  reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", 0x76);
}

// The old tree: "Race" with F5 and F6.
void WriteRace() {
  namespace reg = test_registry;
  reg::DeleteSettingsTree();
  reg::WriteText(reg::SettingsPath(), "Config0", "Race");
  reg::WriteNumber(reg::SettingsPath(), "UseKeyboard", 1);
  reg::WriteNumber(reg::KeyActionPath(1), "VirtualKey", 0x74);
  reg::WriteNumber(reg::KeyActionPath(2), "VirtualKey", 0x75);
}

// A reload that comes while another program writes the tree reads it only
// once that program has let go: never the new main key beside old entries.
// A writer that holds on past the wait leaves the loaded settings as they
// were (a start, having none, reads what is there); one that died holding
// the lock left the tree as it is, and that is read.
TEST(SettingsLockTest, AReadWaitsForTheWriteAndNeverTakesHalfATree) {
  const struct {
    const char* row;
    bool atStart;
    bool writerFinishes;
    bool writerDies;
    std::string map;  // Config0 of what is loaded afterwards
    uint32_t keys;    // entries loaded
    bool warned;
  } rows[] = {
      {"writer finishes during the wait", false, true, false, "Fly", 1, false},
      {"writer dies after its write", false, true, true, "Fly", 1, false},
      {"writer hangs: reload keeps", false, false, false, "Race", 2, true},
      {"writer hangs: start reads what is there", true, false, false, "Fly", 2, true},
  };
  for (const auto& row : rows) {
    fake_platform::Reset();
    fake_keyboard::Reset();
    fake_notices::Reset();
    fake_settings_lock::Reset();
    WriteRace();
    rt = Runtime{};
    if (!row.atStart) LoadSettings(rt);
    BeginWritingFly();
    if (row.writerFinishes) fake_settings_lock::HeldElsewhere(RestOfWritingFly, row.writerDies);
    fake_platform::ClearCalls();
    if (row.atStart) LoadSettings(rt);
    else ReloadSettings(rt);
    EXPECT_EQ(rt.settings.configNames[0], row.map) << row.row;
    EXPECT_EQ(rt.settings.keyCount, row.keys) << row.row;
    if (row.keys == 1) {
      EXPECT_EQ(rt.settings.keyActions[1].virtualKey, 0x76u) << row.row;
    }
    EXPECT_EQ(fake_platform::CallsStartingWith("WarningBox").size(), row.warned ? 1u : 0u) << row.row;
    if (!row.atStart && !row.writerFinishes) {
      EXPECT_TRUE(fake_platform::CallsStartingWith("UnregisterHotKey").empty()) << row.row << ": nothing let go";
    }
    EXPECT_FALSE(fake_settings_lock::HeldHere()) << row.row;
    fake_settings_lock::Reset();
    UnloadSettings(rt);
  }
  test_registry::DeleteSettingsTree();
}

}  // namespace
}  // namespace quillon

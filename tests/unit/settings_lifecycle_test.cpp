// Start-up's checks before the settings are loaded.
#include <gtest/gtest.h>

#include "runtime/settings_lifecycle.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_platform.h"
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

}  // namespace
}  // namespace quillon

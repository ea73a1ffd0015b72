// The base of the system tests that work the real QuillonConfig.exe under
// Wine as a user would: started from the test's folder, controls found by
// their labels and captions, buttons clicked, pictures of the screen left in
// the artifacts folder.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/kit/dialog_probe.h"
#include "tests/kit/runtime_control.h"
#include "tests/kit/screen_capture.h"
#include "tests/kit/test_registry.h"

namespace quillon::test_kit {

inline constexpr const char* kConfiguratorTitle = " Quillon Configurator";
// Wine's own DLL overrides for the configurator: the DirectInput double in
// the system folder before Wine's built-in one.
inline constexpr const char* kConfiguratorOverrides = "Software\\Wine\\AppDefaults\\QuillonConfig.exe\\DllOverrides";

// A stored number of the settings tree, 0xDEADBEEF when it is missing.
inline DWORD StoredNumber(const std::string& path, const char* name) {
  return DWORD(test_registry::ReadNumber(path, name, 0xDEADBEEF));
}
inline DWORD StoredNumber(const char* name) { return StoredNumber(test_registry::SettingsPath(), name); }
// One key going down or up, as the keyboard sends it.
inline void Key(WORD key, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}
// Alt and a letter, as a user presses an access key.
inline void PressAlt(char letter) {
  Key(VK_MENU, true);
  Key(WORD(letter), true);
  Key(WORD(letter), false);
  Key(VK_MENU, false);
  PumpMessagesFor(200);
}

class ConfiguratorTest : public ::testing::Test {
 protected:
  static std::string ConfiguratorPath() { return ProgramFolder() + "QuillonConfig.exe"; }

  // Starts the configurator and waits until its window is shown, which it is
  // once its pages are made and filled; null, and a failure, if it is not.
  HWND StartConfigurator() {
    // Wine may list the window of a copy that has ended for a moment; a copy
    // started then would take itself for the second one, bring that window
    // forward and end.
    EXPECT_TRUE(WaitUntil([] { return FindWindowA("#32770", kConfiguratorTitle) == nullptr; }))
        << "a configurator's window is still open";
    configurator_ = StartChild(ConfiguratorPath(), "");
    window_ = WaitForTopLevelWindow("#32770", kConfiguratorTitle, configurator_.id);
    EXPECT_NE(window_, nullptr) << "the configurator's window never appeared";
    if (window_ == nullptr) return nullptr;
    const bool shown = WaitUntil([&] { return IsWindowVisible(window_) != FALSE; });
    EXPECT_TRUE(shown) << "the configurator's window never showed";
    return shown ? window_ : nullptr;
  }
  // Closes the configurator, if one was started, and waits for it to end.
  void CloseConfigurator() {
    if (!configurator_.process) return;
    if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
    WaitForExit(configurator_, kGenerousTimeoutMs, nullptr);
  }

  HWND Tab() const { return ControlsOfClass(window_, WC_TABCONTROLA).at(0); }
  HWND Labelled(const char* label) const {
    HWND control = ControlLabelled(window_, label);
    EXPECT_NE(control, nullptr) << "no control labelled \"" << label << "\"";
    return control;
  }
  HWND Captioned(const char* caption) const {
    HWND control = ControlCaptioned(window_, caption);
    EXPECT_NE(control, nullptr) << "no control captioned \"" << caption << "\"";
    return control;
  }
  std::string TextLabelled(const char* label) const { return VisibleText(Labelled(label)); }
  bool Checked(const char* caption) const { return SendMessageA(Captioned(caption), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // A click on a button or box; posted, since a message box may answer it.
  void Click(const char* caption) const {
    PostMessageA(Captioned(caption), BM_CLICK, 0, 0);
    PumpMessagesFor(150);
  }
  // Brings the window to the front and leaves a picture of the screen.
  void Picture(const char* name) const {
    SetForegroundWindow(window_);
    PumpMessagesFor(400);
    ScreenImage image;
    ASSERT_TRUE(CaptureScreen(image));
    EXPECT_TRUE(SaveBmp(image, ArtifactsFolder() + name));
  }

  Child configurator_;
  HWND window_ = nullptr;
};

}  // namespace quillon::test_kit

// Target-window selection against real windows on the Wine desktop: found by
// title, by class and by a path to a child, then brought to the front and
// clicked at the client origin.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/target_window.h"
#include "tests/kit/hung_window.h"
#include "tests/kit/runtime_control.h"

namespace quillon {
namespace {

namespace kit = test_kit;

struct SeenClick {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<SeenClick> g_clicks;

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) g_clicks.push_back({window, message, wParam, lParam});
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterRecordingClass(const char* name) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RecordingWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);
}

class TargetWindowSystemTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterRecordingClass("QuillonTestFrame");
    RegisterRecordingClass("QuillonTestGamma");
    RegisterRecordingClass("QuillonTestChild");
  }
  void SetUp() override { g_clicks.clear(); }
  void TearDown() override {
    for (HWND window : windows_) DestroyWindow(window);
    kit::PumpMessagesFor(100);
  }

  HWND Frame(const char* className, const std::string& title) {
    HWND window = CreateWindowExA(0, className, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    windows_.push_back(window);
    return window;
  }
  HWND Child(HWND parent, const char* title) {
    HWND window = CreateWindowExA(0, "QuillonTestChild", title, WS_CHILD | WS_VISIBLE, 10, 10, 100, 30, parent, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    return window;
  }
  // Lets the new windows settle into the window manager's z-order, then
  // puts `front` in front of them.
  void Settle(HWND front) {
    kit::PumpMessagesFor(200);
    SetForegroundWindow(front);
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != front && GetTickCount() - start < kit::kGenerousTimeoutMs) kit::PumpMessagesFor(50);
    ASSERT_EQ(GetForegroundWindow(), front);
    g_clicks.clear();
  }

  static std::vector<SeenClick> ClickOn(HWND window) {
    return {{window, WM_LBUTTONDOWN, 0, 0}, {window, WM_LBUTTONUP, 0, 0}};
  }

  std::vector<HWND> windows_;
};

bool operator==(const SeenClick& a, const SeenClick& b) {
  return a.window == b.window && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
}

TEST_F(TargetWindowSystemTest, FindsAWindowByTitleWildcardAndActivatesIt) {
  HWND alpha = Frame("QuillonTestFrame", "Quillon Alpha Target");
  HWND beta = Frame("QuillonTestFrame", "Quillon Beta Target");
  Settle(alpha);
  EXPECT_EQ(SelectTargetWindow("no such window|quillon b?ta *"), 1);
  EXPECT_EQ(GetForegroundWindow(), beta);
  EXPECT_TRUE(g_clicks == ClickOn(beta));
}

TEST_F(TargetWindowSystemTest, FindsAWindowByClass) {
  HWND frame = Frame("QuillonTestFrame", "Quillon Frame");
  HWND gamma = Frame("QuillonTestGamma", "Quillon Gamma");
  Settle(frame);
  EXPECT_EQ(SelectTargetWindow("@quillontest?amma"), 1);
  EXPECT_EQ(GetForegroundWindow(), gamma);
  EXPECT_TRUE(g_clicks == ClickOn(gamma));
}

TEST_F(TargetWindowSystemTest, FollowsAClassAndTitlePathToAChild) {
  HWND frame = Frame("QuillonTestFrame", "Quillon Frame With Child");
  HWND child = Child(frame, "Quillon Child Field");
  HWND other = Frame("QuillonTestGamma", "Quillon Other");
  Settle(other);
  EXPECT_EQ(SelectTargetWindow("@QuillonTestFrame>Quillon Child*"), 1);
  EXPECT_TRUE(g_clicks == ClickOn(child));
  kit::PumpMessagesFor(100);
  EXPECT_EQ(GetAncestor(GetForegroundWindow(), GA_ROOT), frame);
}

TEST_F(TargetWindowSystemTest, APathLooksOnlyIntoTheFrontMostWindowOfTheClass) {
  HWND withChild = Frame("QuillonTestFrame", "Quillon Frame With Child");
  Child(withChild, "Quillon Child Field");
  HWND withoutChild = Frame("QuillonTestFrame", "Quillon Frame Without Child");
  Settle(withoutChild);
  EXPECT_EQ(SelectTargetWindow("@QuillonTestFrame>Quillon Child*"), 0);
  EXPECT_TRUE(g_clicks.empty());
  EXPECT_EQ(GetForegroundWindow(), withoutChild);
  // By title the way leads to the window that has the child.
  EXPECT_EQ(SelectTargetWindow("Quillon Frame With Child>Quillon Child*"), 1);
}

TEST_F(TargetWindowSystemTest, APatternThatMatchesNothingLeavesEverythingAlone) {
  HWND frame = Frame("QuillonTestFrame", "Quillon Lonely Frame");
  Settle(frame);
  EXPECT_EQ(SelectTargetWindow("Nothing is called this*|@NoSuchClass|Quillon Lonely Frame>*"), 0);
  EXPECT_TRUE(g_clicks.empty());
  EXPECT_EQ(GetForegroundWindow(), frame);
}

// A program whose window stops answering must not take the runtime down
// with it: the click waits a bounded time and the action goes on.
TEST_F(TargetWindowSystemTest, AClickOnAHungWindowWaitsOnlyABoundedTime) {
  DWORD elapsed = 0;
  {
    kit::HungWindow frozen("Quillon Frozen Window", 10000);
    ASSERT_NE(frozen.Window(), nullptr);
    DWORD start = GetTickCount();
    // By class: reading the title of a window of this very process would
    // send it a message, and the runtime never looks at its own windows.
    EXPECT_EQ(SelectTargetWindow("@QuillonHungWindow"), 1);
    elapsed = GetTickCount() - start;
  }
  EXPECT_LT(elapsed, 3000u) << "the click waited for the hung window";
}

}  // namespace
}  // namespace quillon

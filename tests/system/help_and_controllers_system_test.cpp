// The configurator's help viewer and controller list on the real services
// under Wine: quillon.chm as the build made it, opened through HTML Help at
// each context the configurator uses, and DirectInput 8 from the system
// folder, where the test puts the DirectInput double.
#include <gtest/gtest.h>

#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dinput.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "configurator/seams/controller_list.h"
#include "configurator/seams/help_viewer.h"
#include "tests/kit/controller_double/virtual_pads_control.h"

namespace quillon {
namespace {

namespace pads = virtual_pads;

std::string HelpFileBesideTest() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "quillon.chm";
}

// The HTML Help viewer's top-level window in this process, if one is open.
HWND OpenViewer() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM result) -> BOOL {
        char name[32] = "";
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId() || !GetClassNameA(window, name, sizeof name) ||
            lstrcmpA(name, "HH Parent") != 0)
          return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      LPARAM(&found));
  return found;
}

bool Gone(HWND window) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(10)) {
    if (!IsWindow(window)) return true;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  return false;
}

// A plain top-level window standing in for the configurator's main window.
HWND ActiveMainWindow() {
  HWND window = CreateWindowExA(0, "STATIC", " Quillon Configurator", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400,
                                300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  return window;
}

struct HelpCase {
  int context;
  const char* topic;
};

// Each context opens a viewer owned by the active main window; it is closed
// as the user would, so the next context must open a viewer anew. Under
// Wine closing a visible window costs about 2 s, so the contexts are split
// over two tests to keep each short.
void ExpectEachContextOpensAViewerOwnedByTheWindow(HWND main, const std::string& help,
                                                   std::initializer_list<HelpCase> cases) {
  for (HelpCase c : cases) {
    SCOPED_TRACE(c.topic);
    OpenHelpAtContext(help, c.context);
    HWND viewer = OpenViewer();
    ASSERT_NE(viewer, nullptr) << "no topic for context " << c.context;
    EXPECT_EQ(GetWindow(viewer, GW_OWNER), main);
    SendMessageA(viewer, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Gone(viewer));
  }
}

// 1: the Help menu; 3 to 6: F1 on the four pages in tab order.
TEST(HelpViewerSystemTest, TheMenuAndTheFirstPageOpenTheHelpOwnedByTheWindowAndOtherContextsNothing) {
  std::string help = HelpFileBesideTest();
  ASSERT_NE(GetFileAttributesA(help.c_str()), INVALID_FILE_ATTRIBUTES) << help << " was not built";
  HWND main = ActiveMainWindow();
  ASSERT_EQ(GetActiveWindow(), main);

  // Numbers without a topic and a missing file open nothing and report
  // nothing. (Asked first: Wine leaves a closed viewer findable for a while.)
  for (int context : {2, 7}) {
    OpenHelpAtContext(help, context);
    EXPECT_EQ(OpenViewer(), nullptr) << "context " << context;
  }
  OpenHelpAtContext(help + ".missing", 1);
  EXPECT_EQ(OpenViewer(), nullptr);

  ExpectEachContextOpensAViewerOwnedByTheWindow(main, help,
                                                {{1, "overview"}, {3, "Configurations page"}, {4, "Actions page"}});
  DestroyWindow(main);
}

TEST(HelpViewerSystemTest, TheOtherPagesOpenTheHelpOwnedByTheWindow) {
  std::string help = HelpFileBesideTest();
  HWND main = ActiveMainWindow();
  ASSERT_EQ(GetActiveWindow(), main);
  ExpectEachContextOpensAViewerOwnedByTheWindow(main, help,
                                                {{4, "Actions page"}, {5, "Other settings page"}, {6, "About page"}});
  DestroyWindow(main);
}

// The list keeps its DirectInput for the whole run, so one case walks from
// "no DirectInput" to attached pads.
TEST(ControllerListSystemTest, ListsAttachedPadsByProductNameAndNothingWithoutDirectInput) {
  ASSERT_TRUE(pads::InstallControllerDoubleInSystemFolder());
  pads::SharedBlock& block = pads::ResetSharedBlock();
  pads::AddPad("Ultimarc UltraStik 360", 16);
  pads::AddPad("Generic USB Gamepad", 10);

  block.refuseCreate = 1;
  EXPECT_EQ(EnumerateAttachedControllers(), std::vector<std::string>{});
  ASSERT_GE(block.createCalls, 1) << "the DirectInput double in the system folder was not loaded";
  EXPECT_EQ(block.lastVersion, 0x0800u);

  block.refuseCreate = 0;
  // The double reports gamepads; instance names differ from product names.
  EXPECT_EQ(EnumerateAttachedControllers(),
            (std::vector<std::string>{"Ultimarc UltraStik 360", "Generic USB Gamepad"}));
  pads::AddPad("Ultimarc UltraStik 360", 16);
  EXPECT_EQ(EnumerateAttachedControllers(),
            (std::vector<std::string>{"Ultimarc UltraStik 360", "Generic USB Gamepad", "Ultimarc UltraStik 360"}));
  block.padCount = 0;
  EXPECT_EQ(EnumerateAttachedControllers(), std::vector<std::string>{});
  EXPECT_EQ(block.inputSystems, 1) << "one DirectInput object for the whole run";
}

// The double itself, read as a program reads a pad through DirectInput 8:
// identical pads apart by instance, alike by product; stick, hat and 32
// buttons each pad on its own.
class PadDoubleSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pads::InstallControllerDoubleInSystemFolder());
    pads::ResetSharedBlock();
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    library_ = LoadLibraryA((std::string(system) + "\\dinput8.dll").c_str());
    ASSERT_NE(library_, nullptr);
    using Create = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);
    auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library_, "DirectInput8Create")));
    ASSERT_NE(create, nullptr);
    ASSERT_EQ(create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A, reinterpret_cast<void**>(&input_), nullptr),
              DI_OK);
    ASSERT_GE(pads::Block().createCalls, 1) << "Wine's own DirectInput answered, not the double";
  }
  void TearDown() override {
    for (IDirectInputDevice8A* device : devices_) device->Release();
    if (input_ != nullptr) input_->Release();
    if (library_ != nullptr) FreeLibrary(library_);
  }

  std::vector<DIDEVICEINSTANCEA> Listed() {
    std::vector<DIDEVICEINSTANCEA> listed;
    input_->EnumDevices(
        DI8DEVCLASS_GAMECTRL,
        [](LPCDIDEVICEINSTANCEA instance, LPVOID context) -> BOOL {
          static_cast<std::vector<DIDEVICEINSTANCEA>*>(context)->push_back(*instance);
          return DIENUM_CONTINUE;
        },
        &listed, DIEDFL_ATTACHEDONLY);
    return listed;
  }

  // Opened in the extended joystick format, axes from -1000 to 1000, acquired.
  IDirectInputDevice8A* Open(const DIDEVICEINSTANCEA& instance) {
    IDirectInputDevice8A* device = nullptr;
    if (input_->CreateDevice(instance.guidInstance, &device, nullptr) != DI_OK) return nullptr;
    devices_.push_back(device);
    DIPROPRANGE range{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, -1000, 1000};
    EXPECT_EQ(device->SetDataFormat(&c_dfDIJoystick2), DI_OK);
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, DISCL_BACKGROUND | DISCL_NONEXCLUSIVE), DI_OK);
    EXPECT_EQ(device->Acquire(), DI_OK);
    return device;
  }

  static DIJOYSTATE2 Read(IDirectInputDevice8A* device) {
    DIJOYSTATE2 state;
    std::memset(&state, 0x55, sizeof state);
    EXPECT_EQ(device->Poll(), DI_OK);
    EXPECT_EQ(device->GetDeviceState(sizeof state, &state), DI_OK);
    return state;
  }

  HMODULE library_ = nullptr;
  IDirectInput8A* input_ = nullptr;
  std::vector<IDirectInputDevice8A*> devices_;
};

TEST_F(PadDoubleSystemTest, IdenticalPadsShareTheProductAndEachHasItsOwnInstance) {
  pads::AddPad("Twin Stick", 32);
  pads::AddPad("Twin Stick", 32);
  pads::AddPad("Generic USB Gamepad", 10);
  std::vector<DIDEVICEINSTANCEA> listed = Listed();
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_STREQ(listed[0].tszProductName, "Twin Stick");
  EXPECT_STREQ(listed[1].tszProductName, "Twin Stick");
  EXPECT_TRUE(IsEqualGUID(listed[0].guidProduct, listed[1].guidProduct));
  EXPECT_FALSE(IsEqualGUID(listed[0].guidProduct, listed[2].guidProduct));
  EXPECT_FALSE(IsEqualGUID(listed[0].guidInstance, listed[1].guidInstance));
  IDirectInputDevice8A* second = Open(listed[1]);
  ASSERT_NE(second, nullptr);
  DIDEVCAPS caps{};
  caps.dwSize = sizeof caps;
  ASSERT_EQ(second->GetCapabilities(&caps), DI_OK);
  EXPECT_EQ(caps.dwAxes, 2u);
  EXPECT_EQ(caps.dwPOVs, 1u);
  EXPECT_EQ(caps.dwButtons, 32u);
  int objects[3] = {};  // axes, hats, buttons
  second->EnumObjects(
      [](LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) -> BOOL {
        int* counts = static_cast<int*>(context);
        ++counts[(object->dwType & DIDFT_AXIS) ? 0 : (object->dwType & DIDFT_POV) ? 1 : 2];
        return DIENUM_CONTINUE;
      },
      objects, DIDFT_ALL);
  EXPECT_EQ(objects[0], 2);
  EXPECT_EQ(objects[1], 1);
  EXPECT_EQ(objects[2], 32);
}

struct PadPose {
  const char* label;
  int32_t x, y;
  uint32_t hat;
  std::vector<int> buttons;
  LONG readX, readY;
};

TEST_F(PadDoubleSystemTest, EachPadReportsItsOwnStickHatAndButtons) {
  pads::AddPad("Twin Stick", 32);
  pads::AddPad("Twin Stick", 32);
  std::vector<DIDEVICEINSTANCEA> listed = Listed();
  ASSERT_EQ(listed.size(), 2u);
  IDirectInputDevice8A* first = Open(listed[0]);
  IDirectInputDevice8A* second = Open(listed[1]);
  ASSERT_TRUE(first && second);
  const PadPose poses[] = {
      {"centred", pads::kAxisCentre, pads::kAxisCentre, pads::kHatCentred, {}, 0, 0},
      {"upLeftAndButton32", pads::kAxisMin, pads::kAxisMin, pads::kHatLeft, {32}, -1000, -1000},
      {"downRight", pads::kAxisMax, pads::kAxisMax, pads::kHatDown + 4500, {1, 10, 11}, 1000, 1000},
      {"halfRight", pads::kAxisCentre + 16384, pads::kAxisCentre, pads::kHatRight, {}, 500, 0},
  };
  for (const PadPose& pose : poses) {
    SCOPED_TRACE(pose.label);
    pads::MoveStick(1, pose.x, pose.y);
    pads::PushHat(1, pose.hat);
    pads::HoldButtons(1, pose.buttons);
    DIJOYSTATE2 state = Read(second);
    EXPECT_EQ(state.lX, pose.readX);
    EXPECT_EQ(state.lY, pose.readY);
    EXPECT_EQ(state.rgdwPOV[0], pose.hat);
    EXPECT_EQ(state.rgdwPOV[1], pads::kHatCentred);
    for (int b = 1; b <= 128; ++b) {
      bool held = std::find(pose.buttons.begin(), pose.buttons.end(), b) != pose.buttons.end();
      EXPECT_EQ(state.rgbButtons[b - 1], held ? 0x80 : 0) << "button " << b;
    }
    // The other pad with the name stays as it was: centred, nothing held.
    DIJOYSTATE2 other = Read(first);
    EXPECT_EQ(other.lX, 0);
    EXPECT_EQ(other.rgdwPOV[0], pads::kHatCentred);
    EXPECT_EQ(other.rgbButtons[31], 0);
  }
  pads::CentreEverything();
  EXPECT_EQ(Read(second).rgdwPOV[0], pads::kHatCentred);
}

}  // namespace
}  // namespace quillon

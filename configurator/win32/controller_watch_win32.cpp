// The watched controller over DirectInput 8: the same product-name choice as
// the runtime's, the extended joystick state, background and non-exclusive
// so that the runtime (and any game) can read the controller at the same
// time. Buttons 1 to 32, the X and Y axes and the first hat are read, as
// the runtime reads them.
#include <algorithm>
#include <cstring>

#include "configurator/seams/controller_watch.h"
#include "configurator/win32/input_system_win32.h"
#include "configurator/win32/window_win32.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {
// The one controller open for the live view.
struct WatchedDevice {
  IDirectInputDevice8A* device = nullptr;
  DWORD buttons = 0;  // read: the device's count, at most 32
  bool hasX = false;
  bool hasY = false;
};
// The axes' range, set on the device object so that the state reads in it:
// DirectInput's own default, which a pad's driver may have changed.
constexpr LONG kAxisMin = 0;
constexpr LONG kAxisMax = 65535;
constexpr LONG kAxisCentre = (kAxisMin + kAxisMax) / 2;
WatchedDevice g_watched;

struct Search {
  const std::string* name;
  GUID instance;
  bool found;
};

// The first device of that product name, as the runtime takes the first.
BOOL CALLBACK FindByProductName(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  auto* search = static_cast<Search*>(context);
  if (instance == nullptr || *search->name != instance->tszProductName) return DIENUM_CONTINUE;
  search->instance = instance->guidInstance;
  search->found = true;
  return DIENUM_STOP;
}

DWORD ButtonCount(IDirectInputDevice8A* device) {
  DIDEVCAPS capabilities;
  std::memset(&capabilities, 0, sizeof capabilities);
  capabilities.dwSize = sizeof capabilities;
  if (FAILED(device->GetCapabilities(&capabilities))) return 0;
  return std::min<DWORD>(capabilities.dwButtons, kMaxControllerButtons);
}

// Sets the axis at `offset` (DIJOFS_X, DIJOFS_Y) to the range above; false
// when the device has no such axis. The range belongs to this device
// object alone: the runtime's and a game's own objects keep theirs.
bool SetAxisRange(IDirectInputDevice8A* device, DWORD offset) {
  DIPROPRANGE range;
  std::memset(&range, 0, sizeof range);
  range.diph.dwSize = sizeof range;
  range.diph.dwHeaderSize = sizeof range.diph;
  range.diph.dwObj = offset;
  range.diph.dwHow = DIPH_BYOFFSET;
  range.lMin = kAxisMin;
  range.lMax = kAxisMax;
  return SUCCEEDED(device->SetProperty(DIPROP_RANGE, &range.diph));
}

bool ReadState(DIJOYSTATE2& state) {
  // A device that needs no polling answers DI_NOEFFECT, a success.
  if (FAILED(g_watched.device->Poll()) && FAILED(g_watched.device->Acquire())) return false;
  if (SUCCEEDED(g_watched.device->GetDeviceState(sizeof state, &state))) return true;
  // Not acquired yet, or input lost once (another program took the device
  // exclusively for a moment): one more acquire decides.
  return SUCCEEDED(g_watched.device->Acquire()) && SUCCEEDED(g_watched.device->GetDeviceState(sizeof state, &state));
}
}  // namespace

bool OpenWatchedController(const std::string& productName) {
  CloseWatchedController();
  IDirectInput8A* input = InputSystem();
  if (input == nullptr || productName.empty()) return false;
  Search search = {&productName, GUID(), false};
  input->EnumDevices(DI8DEVCLASS_GAMECTRL, FindByProductName, &search, DIEDFL_ATTACHEDONLY);
  if (!search.found) return false;
  IDirectInputDevice8A* device = nullptr;
  if (FAILED(input->CreateDevice(search.instance, &device, nullptr)) || device == nullptr) return false;
  if (FAILED(device->SetDataFormat(&c_dfDIJoystick2)) ||
      FAILED(device->SetCooperativeLevel(MainWindow(), DISCL_BACKGROUND | DISCL_NONEXCLUSIVE))) {
    device->Release();
    return false;
  }
  g_watched.device = device;
  g_watched.buttons = ButtonCount(device);
  // A missing axis reads 0, which would look like the stick held up or left.
  g_watched.hasX = SetAxisRange(device, DIJOFS_X);
  g_watched.hasY = SetAxisRange(device, DIJOFS_Y);
  return true;
}

std::optional<ControllerInput> ReadWatchedInput() {
  if (g_watched.device == nullptr) return std::nullopt;
  DIJOYSTATE2 state;
  if (!ReadState(state)) return std::nullopt;
  ControllerInput held;
  for (DWORD i = 0; i < g_watched.buttons; ++i)
    if (state.rgbButtons[i] & 0x80) held.buttons |= 1u << i;
  // A pad without a hat reports it centred (0xFFFF in the low word).
  held.directions = HeldDirections(g_watched.hasX ? state.lX : kAxisCentre, g_watched.hasY ? state.lY : kAxisCentre,
                                   kAxisMin, kAxisMax, state.rgdwPOV[0]);
  return held;
}

void CloseWatchedController() {
  if (g_watched.device == nullptr) return;
  g_watched.device->Unacquire();
  g_watched.device->Release();
  g_watched.device = nullptr;
}

}  // namespace quillon

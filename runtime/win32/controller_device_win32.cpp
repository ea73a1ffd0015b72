// The controller seam over DirectInput, interface version 5: the oldest one
// whose devices can be polled (IDirectInputDevice2) and read with the
// extended joystick state.
#define DIRECTINPUT_VERSION 0x0500
#include <windows.h>

// The identities that the code and the joystick data format use are defined
// here: the dxguid library holds every DirectX identity in one object, some
// 50 KB in the program.
#include <initguid.h>

#include <dinput.h>

#include <cstring>

#include "runtime/seams/controller_device.h"
#include "runtime/win32/main_window_handle.h"
#include "shared/win32/system_libraries.h"

namespace quillon {

namespace {

IDirectInputA* g_input = nullptr;

IDirectInputDevice2A* DeviceOf(ControllerHandle controller) { return static_cast<IDirectInputDevice2A*>(controller); }

BOOL CALLBACK CollectController(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  auto* controllers = static_cast<std::vector<AttachedController>*>(context);
  AttachedController controller;
  static_assert(sizeof instance->guidInstance == 16, "an instance identity is one GUID");
  std::memcpy(controller.instance.data(), &instance->guidInstance, sizeof instance->guidInstance);
  controller.productName = instance->tszProductName;
  controllers->push_back(controller);
  return DIENUM_CONTINUE;
}

}  // namespace

// dinput.dll is not a library that Windows protects: imported, it would be
// looked for first beside quillon.exe. So it comes from the system folder, at
// run time, and is kept loaded while any of its objects may live.
using DirectInputCreateFunction = HRESULT(WINAPI*)(HINSTANCE, DWORD, IDirectInputA**, IUnknown*);

DirectInputCreateFunction DirectInputCreateFromSystem() {
  static const auto create =
      LibraryFunction<DirectInputCreateFunction>(LoadSystemLibrary(L"dinput.dll"), "DirectInputCreateA");
  return create;
}

bool CreateInputSystem() {
  g_input = nullptr;
  DirectInputCreateFunction create = DirectInputCreateFromSystem();
  if (create == nullptr) return false;
  HRESULT result = create(GetModuleHandleA(nullptr), kInputSystemVersion, &g_input, nullptr);
  if (FAILED(result)) g_input = nullptr;
  return g_input != nullptr;
}

void ReleaseInputSystem() {
  if (g_input != nullptr) g_input->Release();
  g_input = nullptr;
}

bool ListAttachedControllers(std::vector<AttachedController>& controllers) {
  controllers.clear();
  if (g_input == nullptr) return false;
  return SUCCEEDED(g_input->EnumDevices(DIDEVTYPE_JOYSTICK, CollectController, &controllers, DIEDFL_ATTACHEDONLY));
}

ControllerHandle OpenController(const AttachedController& controller) {
  if (g_input == nullptr) return nullptr;
  GUID instance;
  std::memcpy(&instance, controller.instance.data(), sizeof instance);
  IDirectInputDeviceA* device = nullptr;
  if (FAILED(g_input->CreateDevice(instance, &device, nullptr)) || device == nullptr) return nullptr;
  // Polling needs the second device interface; a device without it is of
  // no use here.
  void* pollable = nullptr;
  if (FAILED(device->QueryInterface(IID_IDirectInputDevice2A, &pollable))) pollable = nullptr;
  device->Release();
  return pollable;
}

uint32_t ControllerButtonCount(ControllerHandle controller) {
  DIDEVCAPS capabilities;
  std::memset(&capabilities, 0, sizeof capabilities);
  capabilities.dwSize = sizeof capabilities;
  if (FAILED(DeviceOf(controller)->GetCapabilities(&capabilities))) return 0;
  return capabilities.dwButtons;
}

bool UseJoystickDataFormat(ControllerHandle controller) {
  return SUCCEEDED(DeviceOf(controller)->SetDataFormat(&c_dfDIJoystick2));
}

bool ShareControllerInBackground(ControllerHandle controller) {
  return SUCCEEDED(
      DeviceOf(controller)->SetCooperativeLevel(MainWindowHandle(), DISCL_BACKGROUND | DISCL_NONEXCLUSIVE));
}

AcquireResult AcquireController(ControllerHandle controller) {
  HRESULT result = DeviceOf(controller)->Acquire();
  if (SUCCEEDED(result)) return AcquireResult::Ok;
  return result == DIERR_INPUTLOST ? AcquireResult::InputLost : AcquireResult::Failed;
}

bool PollControllerDevice(ControllerHandle controller) { return SUCCEEDED(DeviceOf(controller)->Poll()); }

namespace {

// DIPROP_RANGE is addressed by the object's offset in the data format, so
// it must follow SetDataFormat; an offset that the format has but the
// device lacks (c_dfDIJoystick2 marks every axis optional) is
// DIERR_OBJECTNOTFOUND.
HRESULT AxisRangeProperty(IDirectInputDevice2A* device, DWORD offset, AxisRange* range, bool set) {
  DIPROPRANGE property;
  std::memset(&property, 0, sizeof property);
  property.diph.dwSize = sizeof property;
  property.diph.dwHeaderSize = sizeof property.diph;
  property.diph.dwObj = offset;
  property.diph.dwHow = DIPH_BYOFFSET;
  property.lMin = range->min;
  property.lMax = range->max;
  if (set) return device->SetProperty(DIPROP_RANGE, &property.diph);
  HRESULT result = device->GetProperty(DIPROP_RANGE, &property.diph);
  if (SUCCEEDED(result)) *range = {property.lMin, property.lMax};
  return result;
}

}  // namespace

bool UseAxisRange(ControllerHandle controller, AxisRange& range) {
  IDirectInputDevice2A* device = DeviceOf(controller);
  AxisRange wanted = range;
  HRESULT x = AxisRangeProperty(device, DIJOFS_X, &wanted, true);
  HRESULT y = AxisRangeProperty(device, DIJOFS_Y, &wanted, true);
  if (SUCCEEDED(x) && SUCCEEDED(y)) return true;
  if (x == DIERR_OBJECTNOTFOUND || y == DIERR_OBJECTNOTFOUND) return false;
  // A driver that keeps its own range (some report 0 to 255, or -1 to 1
  // for a digital stick) still says what it is; both axes of one stick are
  // taken to share it.
  AxisRange kept;
  if (FAILED(AxisRangeProperty(device, DIJOFS_X, &kept, false))) kept = AxisRange{};
  range = kept;
  return true;
}

bool ReadControllerState(ControllerHandle controller, ControllerState& state) {
  DIJOYSTATE2 raw;
  static_assert(sizeof raw == 272, "the extended joystick state");
  if (FAILED(DeviceOf(controller)->GetDeviceState(sizeof raw, &raw))) return false;
  static_assert(sizeof state.buttons <= sizeof raw.rgbButtons, "the state holds them all");
  std::memcpy(state.buttons.data(), raw.rgbButtons, sizeof state.buttons);
  state.x = raw.lX;
  state.y = raw.lY;
  // A pad without a hat reports its POV centred (all ones), as DirectInput
  // fills the absent optional objects of the format.
  state.hat = raw.rgdwPOV[0];
  return true;
}

void UnacquireController(ControllerHandle controller) { DeviceOf(controller)->Unacquire(); }

void CloseController(ControllerHandle controller) { DeviceOf(controller)->Release(); }

void ShowControllerError(const char* text) { MessageBoxA(nullptr, text, "Quillon", MB_OK | MB_ICONERROR); }

}  // namespace quillon

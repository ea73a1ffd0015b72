// The controller list over DirectInput 8 (IDirectInput8A), loaded from the
// system folder on first use so that a system without it only shows an empty
// list.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dinput.h>

#include "configurator/seams/controller_list.h"
#include "configurator/win32/input_system_win32.h"
#include "shared/win32/system_libraries.h"

namespace quillon {

namespace {

using DirectInput8CreateFunction = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);

}  // namespace

// Created on first success and kept for the rest of the run, as is its
// library; a failed creation is tried again on the next listing.
IDirectInput8A* InputSystem() {
  static IDirectInput8A* input = nullptr;
  if (input != nullptr) return input;
  static auto create =
      LibraryFunction<DirectInput8CreateFunction>(LoadSystemLibrary(L"dinput8.dll"), "DirectInput8Create");
  if (create == nullptr) return nullptr;
  void* created = nullptr;
  if (SUCCEEDED(create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A, &created, nullptr)))
    input = static_cast<IDirectInput8A*>(created);
  return input;
}

namespace {

// The runtime chooses its controller by the product name of the enumerated
// instance, so that is the name listed, taken from the same record. Nothing
// else is asked of the device: opening it or reading its capabilities could
// only fail for one device and cost the others nothing. A device without a
// product name could not be told from "none" and is left out.
BOOL CALLBACK CollectProductName(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  auto* names = static_cast<std::vector<std::string>*>(context);
  if (instance != nullptr && instance->tszProductName[0] != '\0') names->emplace_back(instance->tszProductName);
  return DIENUM_CONTINUE;
}

}  // namespace

std::vector<std::string> EnumerateAttachedControllers() {
  std::vector<std::string> names;
  IDirectInput8A* input = InputSystem();
  if (input == nullptr) return names;
  // The game-controller class holds joysticks, gamepads, wheels and the like:
  // the same devices that the runtime's DirectInput 5 lists as joysticks.
  // Asking for the joystick type alone would leave out every gamepad. A
  // listing that fails half-way keeps the names it reported.
  input->EnumDevices(DI8DEVCLASS_GAMECTRL, CollectProductName, &names, DIEDFL_ATTACHEDONLY);
  return names;
}

}  // namespace quillon

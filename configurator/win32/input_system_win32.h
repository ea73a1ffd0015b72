// The configurator's one DirectInput 8 object, shared by the controller list
// and the live view; null when DirectInput cannot be had.
#pragma once

#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dinput.h>

namespace quillon {

IDirectInput8A* InputSystem();

}  // namespace quillon

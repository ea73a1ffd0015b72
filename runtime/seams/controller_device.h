// The game-controller input system (DirectInput on Windows), reduced to what
// controller polling needs: find a controller by product name, read its
// buttons (at most 32 are bound), keep it acquired.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

using ControllerHandle = void*;

// Interface version the runtime asks the input system for.
inline constexpr uint32_t kInputSystemVersion = 0x0500;

// One attached game controller as the input system lists it.
struct AttachedController {
  std::array<uint8_t, 16> instance{};  // the system's identity of this controller
  std::string productName;
};

enum class AcquireResult { Ok, InputLost, Failed };

// Creates the input system for this program; false when it cannot.
bool CreateInputSystem();
void ReleaseInputSystem();

// Fills `controllers` with the attached game controllers in the order the
// system reports them; false when the listing itself fails.
bool ListAttachedControllers(std::vector<AttachedController>& controllers);

// Opens a device object for one listed controller; nullptr on failure.
ControllerHandle OpenController(const AttachedController& controller);
// The controller's number of buttons; 0 when its capabilities cannot be read.
uint32_t ControllerButtonCount(ControllerHandle controller);
// Reports the full joystick state (axes, hats, 128 buttons) on each read.
bool UseJoystickDataFormat(ControllerHandle controller);
// Reads the controller whether or not the main window has the focus, and
// leaves it readable by other programs.
bool ShareControllerInBackground(ControllerHandle controller);
AcquireResult AcquireController(ControllerHandle controller);
// Asks the device to refresh its state; false when it is not acquired or lost.
bool PollControllerDevice(ControllerHandle controller);
// Copies the state bytes of the first `count` buttons (at most 128); a byte
// with its high bit set is a held button.
bool ReadControllerButtons(ControllerHandle controller, uint8_t* buttons, uint32_t count);
void UnacquireController(ControllerHandle controller);
void CloseController(ControllerHandle controller);

// A modal error box with the program's caption and no owner window.
void ShowControllerError(const char* text);

}  // namespace quillon

// The game-controller input system (DirectInput on Windows), reduced to what
// controller polling needs: find a controller by product name, read its
// buttons (at most 32 are bound), its stick and its first hat, keep it
// acquired.
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

// The range in which a controller reports its X and Y axes.
struct AxisRange {
  int32_t min = 0;
  int32_t max = 65535;  // the input system's own default range
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// What one read of a controller shows: the bound buttons' state bytes (high
// bit set: held; a pad reports nothing beyond its own buttons), the stick
// in the pad's axis range, and the first hat in hundredths of a degree
// clockwise from up, 0xFFFFFFFF when centred or absent.
struct ControllerState {
  std::array<uint8_t, 32> buttons{};
  int32_t x = 0;
  int32_t y = 0;
  uint32_t hat = 0xFFFFFFFF;
};

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
// Asks for the X and Y axes in `range` (after the data format, before the
// device is acquired). When the device refuses, `range` becomes the one it
// keeps, or the default range when that cannot be read either. False when
// the device has no X or Y axis: its stick holds no direction.
bool UseAxisRange(ControllerHandle controller, AxisRange& range);
// Reads the controller whether or not the main window has the focus, and
// leaves it readable by other programs.
bool ShareControllerInBackground(ControllerHandle controller);
AcquireResult AcquireController(ControllerHandle controller);
// Asks the device to refresh its state; false when it is not acquired or lost.
bool PollControllerDevice(ControllerHandle controller);
// Reads the state the device last polled.
bool ReadControllerState(ControllerHandle controller, ControllerState& state);
void UnacquireController(ControllerHandle controller);
void CloseController(ControllerHandle controller);

// A modal error box with the program's caption and no owner window.
void ShowControllerError(const char* text);

}  // namespace quillon

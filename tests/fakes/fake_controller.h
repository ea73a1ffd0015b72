// A scriptable fake of the game-controller input system: attached pads with
// product names and button counts, buttons, a stick and a hat held per
// read, lost input, unplugging, and failures of each step. Every call is recorded, in order, as one line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillon::fake_controller {

// No pads, every step succeeds, nothing recorded.
void Reset();

// Lines such as "CreateInputSystem", "List", "Open Pad A", "ButtonCount Pad A",
// "DataFormat Pad A", "Cooperate Pad A", "Range Pad A", "Acquire Pad A",
// "Poll Pad A", "Read Pad A", "Unacquire Pad A", "Close Pad A",
// "ReleaseInputSystem",
// "ErrorBox Error Initializing DirectInput".
const std::vector<std::string>& Calls();
std::vector<std::string> CallsStartingWith(const std::string& prefix);
void ClearCalls();
// Off: the device objects' calls are not recorded, and a pad read without
// end does not fail (for a benchmark of the tick's own cost).
void RecordCalls(bool record);

// Attaches a pad after the others; returns its position in the listing.
int AddPad(const std::string& productName, uint32_t buttonCount);
// Buttons (1-based numbers) that read as held from now on.
void HoldButtons(int pad, const std::vector<int>& buttons);
// Raw state byte of one button (1-based) from now on.
void SetButtonByte(int pad, int button, uint8_t value);
// Held masks (bit i = button i + 1) for the next reads of `pad`, one per
// read; when they run out, reads show what HoldButtons set.
void QueueHeldMasks(int pad, const std::vector<uint32_t>& masks);
// The stick (in the range the pad reports, AxisRangeOf) and the first hat
// (hundredths of a degree, 0xFFFFFFFF centred) from now on. A pad starts
// with both centred.
void MoveStick(int pad, int32_t x, int32_t y);
void PushHat(int pad, uint32_t hat);
// A pad without X and Y axes: it refuses their range, and reads them as 0.
void RemoveStick(int pad);
// A pad whose driver keeps its own axis range (min < max), or (min == max)
// one whose range cannot even be read: the default 0..65535 applies.
void KeepOwnRange(int pad, int32_t min, int32_t max);
// The range the pad reports its stick in now.
int32_t AxisCentreOf(int pad);
int32_t AxisMaxOf(int pad);
int32_t AxisMinOf(int pad);
// The pad is unplugged: it leaves the listing, and its device objects fail
// for good, even after PlugIn.
void Unplug(int pad);
void PlugIn(int pad);
// The pad drops out of the acquired state; its next `lostAcquires` acquires
// report lost input before one succeeds.
void LoseInput(int pad, int lostAcquires);
void AcquireAlwaysLost(int pad);
// The pad drops out of the acquired state once it has been read `reads`
// times in all (counting earlier reads).
void LoseInputAfterReads(int pad, int reads);

struct Failures {
  bool create = false;
  bool listing = false;
  bool dataFormat = false;
  bool cooperation = false;
  bool capabilities = false;
  bool read = false;
};
void SetFailures(const Failures& failures);
// Runs `action` while the error box is open, as its message loop would run
// what arrives meanwhile (nullptr: nothing).
void WhileErrorBoxOpen(std::function<void()> action);
void SetOpenFails(int pad, bool fails);

// Device objects opened and not yet closed; whether the input system exists.
int OpenDeviceCount();
// Calls made on a device object after it was closed (a released controller
// that someone still reads).
int UsesAfterClose();
bool InputSystemExists();
bool Acquired(int pad);
int ReadCount(int pad);

}  // namespace quillon::fake_controller

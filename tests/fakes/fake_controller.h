// A scriptable fake of the game-controller input system: attached pads with
// product names and button counts, buttons held per read, lost input and
// failures of each step. Every call is recorded, in order, as one line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillon::fake_controller {

// No pads, every step succeeds, nothing recorded.
void Reset();

// Lines such as "CreateInputSystem", "List", "Open Pad A", "ButtonCount Pad A",
// "DataFormat Pad A", "Cooperate Pad A", "Acquire Pad A", "Poll Pad A",
// "Read Pad A 10", "Unacquire Pad A", "Close Pad A", "ReleaseInputSystem",
// "ErrorBox Error Initializing DirectInput".
const std::vector<std::string>& Calls();
std::vector<std::string> CallsStartingWith(const std::string& prefix);
void ClearCalls();

// Attaches a pad after the others; returns its position in the listing.
int AddPad(const std::string& productName, uint32_t buttonCount);
// Buttons (1-based numbers) that read as held from now on.
void HoldButtons(int pad, const std::vector<int>& buttons);
// Raw state byte of one button (1-based) from now on.
void SetButtonByte(int pad, int button, uint8_t value);
// Held masks (bit i = button i + 1) for the next reads of `pad`, one per
// read; when they run out, reads show what HoldButtons set.
void QueueHeldMasks(int pad, const std::vector<uint32_t>& masks);
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

#include "tests/fakes/fake_controller.h"

#include <deque>
#include <functional>

#include "runtime/seams/controller_device.h"

namespace quillon::fake_controller {

namespace {

struct Pad {
  std::string productName;
  uint32_t buttonCount = 0;
  uint8_t buttons[128] = {};
  std::deque<uint32_t> queuedMasks;
  bool openFails = false;
  bool acquired = false;
  int lostAcquires = 0;
  bool alwaysLost = false;
  int reads = 0;
  int loseAfterReads = -1;
  int opened = 0;        // device objects open on this pad
  int32_t x = 0, y = 0;  // in the range below; set centred when the range is
  uint32_t hat = 0xFFFFFFFF;
  bool stick = true;
  bool ownRange = false;  // refuses a range and keeps rangeMin..rangeMax
  bool rangeUnreadable = false;
  int32_t rangeMin = 0, rangeMax = 65535;
  bool unplugged = false;
  int plugCount = 0;  // bumped at each unplug
};

// A device object: the pad and the plug count it was opened in.
struct Device {
  size_t pad;
  int plugCount;
};

// A release loop that never sees its buttons let go would hang the test;
// past this many reads of one pad every read fails instead.
constexpr int kRunawayReads = 100000;

std::deque<Pad> g_pads;
std::deque<Device> g_devices;  // handle n + 1 is g_devices[n]
std::vector<std::string> g_calls;
bool g_recording = true;
Failures g_failures;
bool g_inputSystem = false;
int g_openDevices = 0;
int g_usesAfterClose = 0;
std::function<void()> g_whileBoxOpen;

Device& DeviceOf(ControllerHandle handle) { return g_devices[reinterpret_cast<uintptr_t>(handle) - 1]; }
Pad& PadOf(ControllerHandle handle) { return g_pads[DeviceOf(handle).pad]; }
// An object opened before the pad's last unplug, or while it is out.
bool Gone(ControllerHandle handle) {
  return PadOf(handle).unplugged || DeviceOf(handle).plugCount != PadOf(handle).plugCount;
}

void Record(const std::string& call, ControllerHandle handle) {
  if (g_recording) g_calls.push_back(call + " " + PadOf(handle).productName);
  if (PadOf(handle).opened == 0) ++g_usesAfterClose;
}

}  // namespace

int UsesAfterClose() { return g_usesAfterClose; }

void Reset() {
  g_usesAfterClose = 0;
  g_pads.clear();
  g_devices.clear();
  g_calls.clear();
  g_recording = true;
  g_failures = Failures{};
  g_inputSystem = false;
  g_openDevices = 0;
  g_whileBoxOpen = nullptr;
}

const std::vector<std::string>& Calls() { return g_calls; }

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
  std::vector<std::string> matching;
  for (const std::string& call : g_calls)
    if (call.compare(0, prefix.size(), prefix) == 0) matching.push_back(call);
  return matching;
}

void ClearCalls() { g_calls.clear(); }
void RecordCalls(bool record) { g_recording = record; }

int AddPad(const std::string& productName, uint32_t buttonCount) {
  Pad pad;
  pad.productName = productName;
  pad.buttonCount = buttonCount;
  pad.x = pad.y = 32767;  // centred in the default range, until a range is set
  g_pads.push_back(pad);
  return int(g_pads.size()) - 1;
}

void HoldButtons(int pad, const std::vector<int>& buttons) {
  for (uint8_t& state : g_pads[pad].buttons) state = 0;
  for (int button : buttons) g_pads[pad].buttons[button - 1] = 0x80;
}

void SetButtonByte(int pad, int button, uint8_t value) { g_pads[pad].buttons[button - 1] = value; }

void QueueHeldMasks(int pad, const std::vector<uint32_t>& masks) {
  g_pads[pad].queuedMasks.insert(g_pads[pad].queuedMasks.end(), masks.begin(), masks.end());
}

void MoveStick(int pad, int32_t x, int32_t y) {
  g_pads[pad].x = x;
  g_pads[pad].y = y;
}
void PushHat(int pad, uint32_t hat) { g_pads[pad].hat = hat; }
void RemoveStick(int pad) {
  g_pads[pad].stick = false;
  g_pads[pad].x = g_pads[pad].y = 0;
}
void KeepOwnRange(int pad, int32_t min, int32_t max) {
  g_pads[pad].ownRange = true;
  g_pads[pad].rangeUnreadable = min == max;
  g_pads[pad].rangeMin = min == max ? 0 : min;
  g_pads[pad].rangeMax = min == max ? 65535 : max;
  MoveStick(pad, AxisCentreOf(pad), AxisCentreOf(pad));
}
int32_t AxisCentreOf(int pad) { return int32_t((int64_t(g_pads[pad].rangeMin) + g_pads[pad].rangeMax) / 2); }
int32_t AxisMinOf(int pad) { return g_pads[pad].rangeMin; }
int32_t AxisMaxOf(int pad) { return g_pads[pad].rangeMax; }
void Unplug(int pad) {
  g_pads[pad].unplugged = true;
  g_pads[pad].acquired = false;
  ++g_pads[pad].plugCount;
}
void PlugIn(int pad) { g_pads[pad].unplugged = false; }

void LoseInput(int pad, int lostAcquires) {
  g_pads[pad].acquired = false;
  g_pads[pad].lostAcquires = lostAcquires;
}

void AcquireAlwaysLost(int pad) {
  g_pads[pad].acquired = false;
  g_pads[pad].alwaysLost = true;
}

void LoseInputAfterReads(int pad, int reads) { g_pads[pad].loseAfterReads = reads; }

void SetFailures(const Failures& failures) { g_failures = failures; }
void WhileErrorBoxOpen(std::function<void()> action) { g_whileBoxOpen = std::move(action); }
void SetOpenFails(int pad, bool fails) { g_pads[pad].openFails = fails; }
int OpenDeviceCount() { return g_openDevices; }
bool InputSystemExists() { return g_inputSystem; }
bool Acquired(int pad) { return g_pads[pad].acquired; }
int ReadCount(int pad) { return g_pads[pad].reads; }

}  // namespace quillon::fake_controller

namespace quillon {

using namespace fake_controller;

bool CreateInputSystem() {
  g_calls.push_back("CreateInputSystem");
  if (g_failures.create) return false;
  g_inputSystem = true;
  return true;
}

void ReleaseInputSystem() {
  g_calls.push_back("ReleaseInputSystem");
  g_inputSystem = false;
}

bool ListAttachedControllers(std::vector<AttachedController>& controllers) {
  g_calls.push_back("List");
  if (g_failures.listing) return false;
  controllers.clear();
  for (size_t i = 0; i < g_pads.size(); ++i) {
    if (g_pads[i].unplugged) continue;
    AttachedController controller;
    controller.instance[0] = uint8_t(i + 1);
    controller.productName = g_pads[i].productName;
    controllers.push_back(controller);
  }
  return true;
}

ControllerHandle OpenController(const AttachedController& controller) {
  size_t index = controller.instance[0] - 1u;
  g_calls.push_back("Open " + g_pads[index].productName);
  if (g_pads[index].openFails || g_pads[index].unplugged) return nullptr;
  ++g_openDevices;
  ++g_pads[index].opened;
  g_devices.push_back({index, g_pads[index].plugCount});
  return reinterpret_cast<ControllerHandle>(uintptr_t(g_devices.size()));
}

uint32_t ControllerButtonCount(ControllerHandle controller) {
  Record("ButtonCount", controller);
  return g_failures.capabilities ? 0 : PadOf(controller).buttonCount;
}

bool UseJoystickDataFormat(ControllerHandle controller) {
  Record("DataFormat", controller);
  return !g_failures.dataFormat;
}

bool ShareControllerInBackground(ControllerHandle controller) {
  Record("Cooperate", controller);
  return !g_failures.cooperation;
}

bool UseAxisRange(ControllerHandle controller, AxisRange& range) {
  Record("Range", controller);
  Pad& pad = PadOf(controller);
  if (!pad.stick) return false;
  if (!pad.ownRange) {
    // Positions keep their place in the travel.
    auto scaled = [&](int32_t v) {
      return int32_t(range.min + (int64_t(v) - pad.rangeMin) * (int64_t(range.max) - range.min) /
                                     (int64_t(pad.rangeMax) - pad.rangeMin));
    };
    pad.x = scaled(pad.x);
    pad.y = scaled(pad.y);
    pad.rangeMin = range.min;
    pad.rangeMax = range.max;
    return true;
  }
  range = pad.rangeUnreadable ? AxisRange{} : AxisRange{pad.rangeMin, pad.rangeMax};
  return true;
}

AcquireResult AcquireController(ControllerHandle controller) {
  Record("Acquire", controller);
  Pad& pad = PadOf(controller);
  if (Gone(controller)) return AcquireResult::Failed;
  if (pad.alwaysLost) return AcquireResult::InputLost;
  if (pad.lostAcquires > 0) {
    --pad.lostAcquires;
    return AcquireResult::InputLost;
  }
  pad.acquired = true;
  return AcquireResult::Ok;
}

bool PollControllerDevice(ControllerHandle controller) {
  Record("Poll", controller);
  return PadOf(controller).acquired && !Gone(controller);
}

bool ReadControllerState(ControllerHandle controller, ControllerState& state) {
  Record("Read", controller);
  Pad& pad = PadOf(controller);
  if (!pad.acquired || Gone(controller) || g_failures.read) return false;
  if (++pad.reads > kRunawayReads && g_recording) return false;
  uint8_t buttons[128];
  for (int i = 0; i < 128; ++i) buttons[i] = pad.buttons[i];
  if (!pad.queuedMasks.empty()) {
    for (int i = 0; i < 32; ++i) buttons[i] = (pad.queuedMasks.front() >> i) & 1 ? 0x80 : 0;
    pad.queuedMasks.pop_front();
  }
  // Whatever the test set, beyond the pad's own buttons too: the runtime
  // must read only those.
  for (size_t i = 0; i < state.buttons.size(); ++i) state.buttons[i] = buttons[i];
  state.x = pad.x;
  state.y = pad.y;
  state.hat = pad.hat;
  if (pad.reads == pad.loseAfterReads) pad.acquired = false;
  return true;
}

void UnacquireController(ControllerHandle controller) {
  Record("Unacquire", controller);
  PadOf(controller).acquired = false;
}

void CloseController(ControllerHandle controller) {
  Record("Close", controller);
  --g_openDevices;
  --PadOf(controller).opened;
}

void ShowControllerError(const char* text) {
  g_calls.push_back(std::string("ErrorBox ") + text);
  // A copy: the action may replace itself.
  if (std::function<void()> whileOpen = fake_controller::g_whileBoxOpen) whileOpen();
}

}  // namespace quillon

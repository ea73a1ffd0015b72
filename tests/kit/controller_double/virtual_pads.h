// The shared block through which a test drives the DirectInput double: the
// virtual pads it presents, their held buttons and failures, and what the
// program under test did with them. The test creates the block; the double,
// loaded into the program under test, opens it by name. Without the block the
// double presents no pads.
#pragma once

#include <cstdint>

namespace quillon::virtual_pads {

inline constexpr const char* kSharedBlockName = "QuillonVirtualPads";
inline constexpr uint32_t kMaxPads = 4;

struct Pad {
  // Set by the test.
  char productName[260];
  uint32_t buttonCount;
  volatile uint8_t buttons[128];  // 0x80: held
  volatile int32_t dropped;       // the pad loses acquisition; the next poll or read reports lost input
  volatile int32_t lostAcquires;  // this many acquires report lost input before one succeeds
  volatile int32_t refuseDataFormat;
  volatile int32_t unplugged;  // not listed, cannot be opened; its device objects fail for good
  volatile int32_t plugCount;  // bumped at each unplug: objects opened before it fail for good
  // Written by the double.
  volatile int32_t acquired;
  volatile int32_t acquireCalls;
  volatile int32_t lostReports;  // calls answered with lost input
  volatile int32_t pollCalls;
  volatile int32_t stateReads;
  volatile int32_t openDevices;  // device objects alive
  volatile uint32_t cooperativeFlags;
  volatile uint32_t stateSize;  // data size of the format that was set
};

struct SharedBlock {
  volatile uint32_t padCount;
  volatile int32_t refuseCreate;
  volatile int32_t inputSystems;  // input objects alive (either interface version)
  volatile int32_t createCalls;
  volatile uint32_t lastVersion;  // interface version asked for by the last create
  volatile uint32_t listDelayMs;  // set by the test: each listing takes this long
  volatile int32_t listings;      // listings begun
  Pad pads[kMaxPads];
};

}  // namespace quillon::virtual_pads

// The shared block through which a test drives the DirectInput double: the
// virtual pads it presents, their stick, hat and held buttons and failures,
// and what the program under test did with them. The test creates the block; the double,
// loaded into the program under test, opens it by name. Without the block the
// double presents no pads.
#pragma once

#include <cstdint>

namespace quillon::virtual_pads {

inline constexpr const char* kSharedBlockName = "QuillonVirtualPads";
inline constexpr uint32_t kMaxPads = 4;
// Stick positions in DirectInput's default axis range; the double scales
// them to the range a program sets with DIPROP_RANGE.
inline constexpr int32_t kAxisMin = 0;
inline constexpr int32_t kAxisCentre = 32767;
inline constexpr int32_t kAxisMax = 65535;
// Hat positions as DirectInput reports them: hundredths of a degree
// clockwise from up, and all ones (not 0, which is up) when centred.
inline constexpr uint32_t kHatCentred = 0xFFFFFFFF;
inline constexpr uint32_t kHatUp = 0, kHatRight = 9000, kHatDown = 18000, kHatLeft = 27000;

// Pads with one product name are as identical pads: each has its own
// instance identity (its number in the block) and all share one product
// identity (from the name).
struct Pad {
  // Set by the test.
  char productName[260];
  uint32_t buttonCount;           // at most 128; DIJOYSTATE shows the first 32
  volatile uint8_t buttons[128];  // 0x80: held
  volatile int32_t x, y;          // the stick, kAxisMin to kAxisMax; 0 (not centred) in an emptied block
  volatile uint32_t hat;          // the one hat (POV 0); 0 (up) in an emptied block
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

#include "tests/kit/controller_double/virtual_pads_control.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "tests/kit/runtime_control.h"

namespace quillon::virtual_pads {

SharedBlock& Block() {
  static SharedBlock* block = nullptr;
  if (block == nullptr) {
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SharedBlock), kSharedBlockName);
    block = static_cast<SharedBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedBlock)));
  }
  return *block;
}

SharedBlock& ResetSharedBlock() {
  SharedBlock& block = Block();
  std::memset(const_cast<SharedBlock*>(&block), 0, sizeof block);
  return block;
}

int AddPad(const char* productName, uint32_t buttonCount) {
  SharedBlock& block = Block();
  uint32_t number = block.padCount;
  Pad& pad = block.pads[number];
  lstrcpynA(pad.productName, productName, sizeof pad.productName);
  pad.buttonCount = buttonCount;
  pad.x = kAxisCentre;
  pad.y = kAxisCentre;
  pad.hat = kHatCentred;
  block.padCount = number + 1;
  return int(number);
}

void HoldButtons(int pad, std::initializer_list<int> buttons) { HoldButtons(pad, std::vector<int>(buttons)); }

void HoldButtons(int pad, const std::vector<int>& buttons) {
  Pad& target = Block().pads[pad];
  uint8_t state[128] = {};
  for (int button : buttons)
    if (button >= 1 && button <= 128) state[button - 1] = 0x80;
  // Buttons that stay held are never seen released in between.
  for (int i = 0; i < 128; ++i) target.buttons[i] = state[i];
}

void ReleaseEveryButton() {
  for (uint32_t pad = 0; pad < kMaxPads; ++pad) HoldButtons(int(pad), {});
}

void MoveStick(int pad, int32_t x, int32_t y) {
  Pad& target = Block().pads[pad];
  target.x = x;
  target.y = y;
}

void PushHat(int pad, uint32_t hat) { Block().pads[pad].hat = hat; }

void CentreEverything() {
  ReleaseEveryButton();
  for (uint32_t pad = 0; pad < kMaxPads; ++pad) {
    MoveStick(int(pad), kAxisCentre, kAxisCentre);
    PushHat(int(pad), kHatCentred);
  }
}

void Unplug(int pad) {
  Pad& target = Block().pads[pad];
  target.plugCount = target.plugCount + 1;
  target.unplugged = 1;
}

void PlugIn(int pad) { Block().pads[pad].unplugged = 0; }

bool InstallControllerDoubleInSystemFolder() {
  char system[MAX_PATH];
  UINT length = GetSystemDirectoryA(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  std::string source = test_kit::ProgramFolder();
  for (const char* library : {"dinput.dll", "dinput8.dll"}) {
    std::string from = source + library, to = std::string(system) + "\\" + library;
    std::string wanted = test_kit::FileContents(from);
    if (wanted.empty()) return false;
    // A program still holding the double keeps it from being replaced; the
    // same file in place is as good.
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE) && test_kit::FileContents(to) != wanted) return false;
  }
  return true;
}

namespace {
constexpr const char* kRuntimeOverridesKey = "Software\\Wine\\AppDefaults\\quillon.exe\\DllOverrides";
}  // namespace

void PreferDoubleInRuntime() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kRuntimeOverridesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  static const char kNativeFirst[] = "native,builtin";
  for (const char* library : {"dinput", "dinput8"})
    RegSetValueExA(key, library, 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst), sizeof kNativeFirst);
  RegCloseKey(key);
}

void PreferBuiltInInRuntime() { RegDeleteKeyA(HKEY_CURRENT_USER, kRuntimeOverridesKey); }

}  // namespace quillon::virtual_pads

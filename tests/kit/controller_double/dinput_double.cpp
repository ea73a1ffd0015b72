// A stand-in for the system's DirectInput, built as dinput.dll and as
// dinput8.dll. Placed beside a program and chosen over the built-in one, it
// presents the virtual pads of the shared block (virtual_pads.h) as attached
// joysticks, so the program's own DirectInput code runs end to end.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dinput.h>

#include <cstdio>
#include <cstring>

#include "tests/kit/controller_double/virtual_pads.h"

namespace {

using quillon::virtual_pads::kAxisMax;
using quillon::virtual_pads::kAxisMin;
using quillon::virtual_pads::kHatCentred;
using quillon::virtual_pads::kMaxPads;
using quillon::virtual_pads::Pad;
using quillon::virtual_pads::SharedBlock;

// Instance identities: this base with the pad's number in the last byte.
// Product identities: the other base with a hash of the product name, so
// identical pads share one, as the same model plugged in twice does.
constexpr GUID kInstanceBase = {0x51a11e00, 0x7e57, 0x4c0d, {0x9a, 0xd1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
constexpr GUID kProductBase = {0x51a11e01, 0x7e57, 0x4c0d, {0x9a, 0xd1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
constexpr DWORD kJoystickClass = 4;  // DIDEVTYPE_JOYSTICK and DI8DEVCLASS_GAMECTRL alike

SharedBlock* SharedPads() {
  static SharedBlock* block = nullptr;
  if (block == nullptr) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, quillon::virtual_pads::kSharedBlockName);
    if (mapping != nullptr)
      block = static_cast<SharedBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedBlock)));
  }
  return block;
}

uint32_t PadCount() {
  SharedBlock* block = SharedPads();
  if (block == nullptr) return 0;
  return block->padCount < kMaxPads ? block->padCount : kMaxPads;
}

// The counters are written only from the program's one thread; the test
// reads them from its own process.
void Add(volatile int32_t& counter, int32_t delta) { counter = counter + delta; }

GUID NumberedGuid(GUID base, uint32_t number) {
  base.Data4[7] = static_cast<unsigned char>(number + 1);
  return base;
}

GUID ProductGuid(const char* name) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (const char* c = name; *c; ++c) hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
  GUID product = kProductBase;
  for (int i = 0; i < 4; ++i) product.Data4[4 + i] = static_cast<unsigned char>(hash >> (8 * i));
  return product;
}

// The attached pad of that instance identity, or -1.
int PadNumberOf(REFGUID instance) {
  for (uint32_t n = 0; n < PadCount(); ++n) {
    GUID candidate = NumberedGuid(kInstanceBase, n);
    if (IsEqualGUID(instance, candidate)) return SharedPads()->pads[n].unplugged ? -1 : int(n);
  }
  return -1;
}

void Describe(uint32_t number, bool version8, DIDEVICEINSTANCEA* instance) {
  DWORD size = instance->dwSize;
  std::memset(instance, 0, size);
  instance->dwSize = size;
  instance->guidInstance = NumberedGuid(kInstanceBase, number);
  const char* name = SharedPads()->pads[number].productName;
  instance->guidProduct = ProductGuid(name);
  instance->dwDevType = version8 ? (DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8))
                                 : (DIDEVTYPE_JOYSTICK | (DIDEVTYPEJOYSTICK_GAMEPAD << 8));
  lstrcpynA(instance->tszProductName, name, sizeof instance->tszProductName);
  // Windows often gives the instance the product's name; here it always
  // differs, so a test sees which of the two a program takes.
  std::snprintf(instance->tszInstanceName, sizeof instance->tszInstanceName, "%s (pad %u)", name, number + 1);
}

// One device object; its interface serves as IDirectInputDevice2A for the
// older version too, since that table is the start of this one.
class VirtualPad : public IDirectInputDevice8A {
 public:
  VirtualPad(int number, bool version8) : number_(number), version8_(version8), plugCount_(pad().plugCount) {
    Add(pad().openDevices, 1);
  }
  virtual ~VirtualPad() = default;

  STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IDirectInputDeviceA) ||
        IsEqualGUID(riid, IID_IDirectInputDevice2A) || IsEqualGUID(riid, IID_IDirectInputDevice7A) ||
        IsEqualGUID(riid, IID_IDirectInputDevice8A)) {
      AddRef();
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ULONG(InterlockedIncrement(&references_)); }
  STDMETHOD_(ULONG, Release)() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      if (acquired_) pad().acquired = 0;
      Add(pad().openDevices, -1);
      delete this;
    }
    return ULONG(left);
  }

  STDMETHOD(GetCapabilities)(LPDIDEVCAPS capabilities) override {
    if (capabilities == nullptr) return DIERR_INVALIDPARAM;
    DWORD size = capabilities->dwSize;
    std::memset(capabilities, 0, size);
    capabilities->dwSize = size;
    capabilities->dwFlags = DIDC_ATTACHED;
    capabilities->dwDevType = version8_ ? DI8DEVTYPE_GAMEPAD : DIDEVTYPE_JOYSTICK;
    capabilities->dwAxes = 2;
    capabilities->dwButtons = pad().buttonCount;
    capabilities->dwPOVs = 1;
    return DI_OK;
  }
  // The X and Y axes, the hat, then the buttons, at their offsets in the
  // joystick state.
  STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context, DWORD flags) override {
    if (callback == nullptr) return DIERR_INVALIDPARAM;
    const DWORD kinds = DIDFT_GETTYPE(flags);
    auto offer = [&](REFGUID type, DWORD kind, DWORD instance, DWORD offset, const char* name) {
      if (kinds != DIDFT_ALL && (kinds & kind) == 0) return true;
      DIDEVICEOBJECTINSTANCEA object;
      std::memset(&object, 0, sizeof object);
      object.dwSize = sizeof object;
      object.guidType = type;
      object.dwOfs = offset;
      object.dwType = kind | DIDFT_MAKEINSTANCE(instance);
      std::snprintf(object.tszName, sizeof object.tszName, name, instance + 1);
      return callback(&object, context) != DIENUM_STOP;
    };
    if (!offer(GUID_XAxis, DIDFT_ABSAXIS, 0, DIJOFS_X, "X axis") ||
        !offer(GUID_YAxis, DIDFT_ABSAXIS, 1, DIJOFS_Y, "Y axis") ||
        !offer(GUID_POV, DIDFT_POV, 0, DIJOFS_POV(0), "Hat"))
      return DI_OK;
    for (DWORD b = 0; b < pad().buttonCount && b < 128; ++b)
      if (!offer(GUID_Button, DIDFT_PSHBUTTON, b, DIJOFS_BUTTON(b), "Button %lu")) break;
    return DI_OK;
  }
  STDMETHOD(GetProperty)(REFGUID property, LPDIPROPHEADER header) override {
    if (&property != &DIPROP_RANGE) return DIERR_UNSUPPORTED;
    if (header == nullptr || header->dwSize != sizeof(DIPROPRANGE)) return DIERR_INVALIDPARAM;
    int axis = AxisOf(*header);
    if (axis < 0 || header->dwHow == DIPH_DEVICE) return DIERR_OBJECTNOTFOUND;
    auto* range = reinterpret_cast<DIPROPRANGE*>(header);
    range->lMin = rangeMin_[axis];
    range->lMax = rangeMax_[axis];
    return DI_OK;
  }
  STDMETHOD(SetProperty)(REFGUID property, LPCDIPROPHEADER header) override {
    if (&property != &DIPROP_RANGE) return DI_OK;
    if (header == nullptr || header->dwSize != sizeof(DIPROPRANGE)) return DIERR_INVALIDPARAM;
    const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
    if (range->lMin >= range->lMax) return DIERR_INVALIDPARAM;
    int axis = AxisOf(*header);
    if (header->dwHow != DIPH_DEVICE && axis < 0) return DIERR_OBJECTNOTFOUND;
    for (int a = 0; a < 2; ++a)
      if (header->dwHow == DIPH_DEVICE || a == axis) {
        rangeMin_[a] = range->lMin;
        rangeMax_[a] = range->lMax;
      }
    return DI_OK;
  }
  STDMETHOD(Acquire)() override {
    Pad& p = pad();
    Add(p.acquireCalls, 1);
    if (Gone()) return DIERR_UNPLUGGED;
    if (stateSize_ == 0) return DIERR_INVALIDPARAM;  // no data format yet
    if (p.lostAcquires > 0) {
      Add(p.lostAcquires, -1);
      Add(p.lostReports, 1);
      return DIERR_INPUTLOST;
    }
    bool already = acquired_;
    acquired_ = true;
    p.acquired = 1;
    return already ? S_FALSE : DI_OK;
  }
  STDMETHOD(Unacquire)() override {
    if (!acquired_) return DI_NOEFFECT;
    acquired_ = false;
    pad().acquired = 0;
    return DI_OK;
  }
  STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override {
    HRESULT readable = CheckReadable();
    if (FAILED(readable)) return readable;
    if (data == nullptr || size != stateSize_) return DIERR_INVALIDPARAM;
    Add(pad().stateReads, 1);
    std::memset(data, 0, size);
    // DIJOYSTATE2 begins with DIJOYSTATE, whose button array holds 32.
    if (size >= sizeof(DIJOYSTATE)) {
      auto* state = static_cast<DIJOYSTATE*>(data);
      state->lX = Scaled(0, pad().x);
      state->lY = Scaled(1, pad().y);
      for (DWORD& hat : state->rgdwPOV) hat = kHatCentred;
      state->rgdwPOV[0] = pad().hat;
      const uint32_t shown = size >= sizeof(DIJOYSTATE2) ? 128 : 32;
      // A real pad reports nothing beyond its own buttons.
      auto* buttons = reinterpret_cast<BYTE*>(state->rgbButtons);
      for (uint32_t i = 0; i < pad().buttonCount && i < shown; ++i) buttons[i] = pad().buttons[i];
    }
    return DI_OK;
  }
  STDMETHOD(GetDeviceData)(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD count, DWORD) override {
    if (count != nullptr) *count = 0;
    return CheckReadable();
  }
  STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT format) override {
    if (format == nullptr || pad().refuseDataFormat) return DIERR_INVALIDPARAM;
    if (acquired_) return DIERR_ACQUIRED;
    stateSize_ = format->dwDataSize;
    pad().stateSize = format->dwDataSize;
    return DI_OK;
  }
  STDMETHOD(SetEventNotification)(HANDLE) override { return DI_OK; }
  STDMETHOD(SetCooperativeLevel)(HWND window, DWORD flags) override {
    pad().cooperativeFlags = flags;
    if ((flags & DISCL_FOREGROUND) && window == nullptr) return DIERR_INVALIDPARAM;
    return DI_OK;
  }
  STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override { return DIERR_OBJECTNOTFOUND; }
  STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA instance) override {
    if (instance == nullptr) return DIERR_INVALIDPARAM;
    Describe(uint32_t(number_), version8_, instance);
    return DI_OK;
  }
  STDMETHOD(RunControlPanel)(HWND, DWORD) override { return DI_OK; }
  STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return DI_OK; }
  STDMETHOD(CreateEffect)(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override { return DI_OK; }
  STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA, REFGUID) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(GetForceFeedbackState)(LPDWORD) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(SendForceFeedbackCommand)(DWORD) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(EnumCreatedEffectObjects)(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override { return DI_OK; }
  STDMETHOD(Escape)(LPDIEFFESCAPE) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(Poll)() override {
    HRESULT readable = CheckReadable();
    if (SUCCEEDED(readable)) Add(pad().pollCalls, 1);
    return readable;
  }
  STDMETHOD(SendDeviceData)(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(EnumEffectsInFile)(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) override { return DI_OK; }
  STDMETHOD(WriteEffectToFile)(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(BuildActionMap)(LPDIACTIONFORMATA, LPCSTR, DWORD) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(SetActionMap)(LPDIACTIONFORMATA, LPCSTR, DWORD) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(GetImageInfo)(LPDIDEVICEIMAGEINFOHEADERA) override { return DIERR_UNSUPPORTED; }

 private:
  Pad& pad() const { return SharedPads()->pads[number_]; }

  // 0 for X, 1 for Y, -1 for any other object (or the whole device).
  static int AxisOf(const DIPROPHEADER& header) {
    if (header.dwHow == DIPH_BYOFFSET) return header.dwObj == DIJOFS_X ? 0 : header.dwObj == DIJOFS_Y ? 1 : -1;
    if (header.dwHow == DIPH_BYID)
      return header.dwObj == (DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0))   ? 0
             : header.dwObj == (DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1)) ? 1
                                                                       : -1;
    return -1;
  }

  // A position of the default range in the range the program set, rounded:
  // the centre of a range around 0 reads 0.
  LONG Scaled(int axis, int32_t position) const {
    int64_t span = int64_t(rangeMax_[axis]) - rangeMin_[axis];
    const int64_t travel = kAxisMax - kAxisMin;
    return LONG(rangeMin_[axis] + ((int64_t(position) - kAxisMin) * span + travel / 2) / travel);
  }

  // As on Windows, the object of a pad that was unplugged stays dead even
  // once the pad is back: only a new object from a new listing reads it.
  bool Gone() const { return pad().unplugged != 0 || pad().plugCount != plugCount_; }

  // A dropped pad answers its next poll or read with lost input and is no
  // longer acquired, as when a cable is pulled.
  HRESULT CheckReadable() {
    Pad& p = pad();
    if (acquired_ && (p.dropped || Gone())) {
      p.dropped = 0;
      acquired_ = false;
      p.acquired = 0;
      Add(p.lostReports, 1);
      return DIERR_INPUTLOST;
    }
    return acquired_ ? DI_OK : DIERR_NOTACQUIRED;
  }

  LONG references_ = 1;
  int number_;
  bool version8_;
  int32_t plugCount_;
  bool acquired_ = false;
  DWORD stateSize_ = 0;
  LONG rangeMin_[2] = {kAxisMin, kAxisMin};
  LONG rangeMax_[2] = {kAxisMax, kAxisMax};
};

// Enumeration shared by both interface versions.
HRESULT EnumeratePads(DWORD deviceType, LPDIENUMDEVICESCALLBACKA callback, LPVOID context, bool version8) {
  if (callback == nullptr) return DIERR_INVALIDPARAM;
  DWORD wanted = deviceType & 0xFF;
  if (wanted != 0 && wanted != kJoystickClass) return DI_OK;
  Add(SharedPads()->listings, 1);
  // A scan of the buses can take seconds on a real machine.
  if (SharedPads()->listDelayMs != 0) Sleep(SharedPads()->listDelayMs);
  for (uint32_t n = 0; n < PadCount(); ++n) {
    if (SharedPads()->pads[n].unplugged) continue;
    DIDEVICEINSTANCEA instance;
    instance.dwSize = sizeof instance;
    Describe(n, version8, &instance);
    if (callback(&instance, context) == DIENUM_STOP) break;
  }
  return DI_OK;
}

template <typename Interface, typename DeviceInterface, bool kVersion8>
class VirtualInputBase : public Interface {
 public:
  virtual ~VirtualInputBase() = default;
  VirtualInputBase() {
    if (SharedPads()) Add(SharedPads()->inputSystems, 1);
  }
  STDMETHOD_(ULONG, AddRef)() override { return ULONG(InterlockedIncrement(&references_)); }
  STDMETHOD_(ULONG, Release)() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      if (SharedPads()) Add(SharedPads()->inputSystems, -1);
      delete this;
    }
    return ULONG(left);
  }
  STDMETHOD(CreateDevice)(REFGUID instance, DeviceInterface* device, LPUNKNOWN) override {
    if (device == nullptr) return DIERR_INVALIDPARAM;
    *device = nullptr;
    int number = PadNumberOf(instance);
    if (number < 0) return DIERR_DEVICENOTREG;
    *device = reinterpret_cast<DeviceInterface>(static_cast<IDirectInputDevice8A*>(new VirtualPad(number, kVersion8)));
    return DI_OK;
  }
  STDMETHOD(EnumDevices)(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID context, DWORD) override {
    return EnumeratePads(type, callback, context, kVersion8);
  }
  STDMETHOD(GetDeviceStatus)(REFGUID instance) override { return PadNumberOf(instance) < 0 ? DI_NOTATTACHED : DI_OK; }
  STDMETHOD(RunControlPanel)(HWND, DWORD) override { return DI_OK; }
  STDMETHOD(Initialize)(HINSTANCE, DWORD) override { return DI_OK; }

 private:
  LONG references_ = 1;
};

class VirtualInput : public VirtualInputBase<IDirectInputA, LPDIRECTINPUTDEVICEA, false> {
 public:
  STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IDirectInputA)) {
      AddRef();
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
};

class VirtualInput8 : public VirtualInputBase<IDirectInput8A, LPDIRECTINPUTDEVICE8A, true> {
 public:
  STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IDirectInput8A)) {
      AddRef();
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD(FindDevice)(REFGUID, LPCSTR, LPGUID) override { return DIERR_DEVICENOTREG; }
  STDMETHOD(EnumDevicesBySemantics)(LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA, LPVOID, DWORD) override {
    return DIERR_UNSUPPORTED;
  }
  STDMETHOD(ConfigureDevices)(LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA, DWORD, LPVOID) override {
    return DIERR_UNSUPPORTED;
  }
};

// Counts the create and says whether the test asked it to fail.
bool CreateRefused(DWORD version) {
  SharedBlock* block = SharedPads();
  if (block == nullptr) return false;
  Add(block->createCalls, 1);
  block->lastVersion = version;
  return block->refuseCreate != 0;
}

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI DirectInputCreateA(HINSTANCE, DWORD version, LPDIRECTINPUTA* input, LPUNKNOWN) {
  if (input == nullptr) return DIERR_INVALIDPARAM;
  *input = nullptr;
  if (CreateRefused(version)) return DIERR_GENERIC;
  *input = new VirtualInput;
  return DI_OK;
}

__declspec(dllexport) HRESULT WINAPI
    DirectInputCreateEx(HINSTANCE instance, DWORD version, REFIID riid, LPVOID* out, LPUNKNOWN outer) {
  if (out == nullptr) return DIERR_INVALIDPARAM;
  *out = nullptr;
  if (!IsEqualGUID(riid, IID_IDirectInputA)) return DIERR_NOINTERFACE;
  return DirectInputCreateA(instance, version, reinterpret_cast<LPDIRECTINPUTA*>(out), outer);
}

__declspec(dllexport) HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD version, REFIID riid, LPVOID* out, LPUNKNOWN) {
  if (out == nullptr) return DIERR_INVALIDPARAM;
  *out = nullptr;
  if (!IsEqualGUID(riid, IID_IDirectInput8A)) return DIERR_NOINTERFACE;
  if (CreateRefused(version)) return DIERR_GENERIC;
  *out = static_cast<IDirectInput8A*>(new VirtualInput8);
  return DI_OK;
}

}  // extern "C"

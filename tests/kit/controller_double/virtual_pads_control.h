// The test's side of the DirectInput double: creates the shared block that
// the double reads, attaches virtual pads and holds their buttons.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "tests/kit/controller_double/virtual_pads.h"

namespace quillon::virtual_pads {

// The block, created on first use and kept for the test program's life;
// emptied: no pads, nothing refused, every counter zero.
SharedBlock& ResetSharedBlock();
SharedBlock& Block();

// Attaches a pad after the others, its stick and hat centred; returns its
// number in the listing. Pads with one name are identical pads.
int AddPad(const char* productName, uint32_t buttonCount);
// Exactly these buttons (1-based) are held from now on; {} releases all.
void HoldButtons(int pad, std::initializer_list<int> buttons);
void HoldButtons(int pad, const std::vector<int>& buttons);
void ReleaseEveryButton();
// The stick at (x, y), each kAxisMin to kAxisMax; the hat at a kHat* angle.
void MoveStick(int pad, int32_t x, int32_t y);
void PushHat(int pad, uint32_t hat);
// Every pad's stick and hat back to the centre, every button released.
void CentreEverything();
// The pad's cable is pulled: it leaves the listing and every device object
// opened on it fails from now on, even after PlugIn.
void Unplug(int pad);
void PlugIn(int pad);

// Copies the double's dinput.dll and dinput8.dll from this test program's
// folder into the system folder: the programs load DirectInput from there
// only, never from their own folder. A copy already in place counts as done.
bool InstallControllerDoubleInSystemFolder();

// From now on quillon.exe takes the double (installed in the system folder)
// instead of Wine's built-in DirectInput, through Wine's per-program DLL
// overrides. WINEDLLOVERRIDES would do too, but Wine reads it only from the
// environment its first program was started with, not from what a program
// hands its children.
void PreferDoubleInRuntime();
void PreferBuiltInInRuntime();

}  // namespace quillon::virtual_pads

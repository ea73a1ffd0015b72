// Dropping files on another program's window as the shell does: a
// WM_DROPFILES whose DROPFILES block, with its list of UTF-16 paths, lies in
// the receiving program's memory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quillon::test_kit {

// Posts the drop to `target`; false when the block could not be placed.
bool DropFilesOn(HWND target, const std::vector<std::string>& paths);

}  // namespace quillon::test_kit

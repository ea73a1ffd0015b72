// The help viewer seam over HTML Help (HtmlHelpA of hhctrl.ocx), loaded on
// first use so that the configurator starts without it and a system without
// HTML Help only loses its help.
#include <windows.h>

#include "configurator/seams/help_viewer.h"
#include "shared/win32/system_libraries.h"

namespace quillon {

namespace {

constexpr UINT kHelpContextCommand = 0x000F;  // HH_HELP_CONTEXT: data is a context number of the [MAP]
using HtmlHelpFunction = HWND(WINAPI*)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);

// The library stays loaded for the rest of the run: the viewer's window lives
// in it and outlasts the call.
HtmlHelpFunction LoadedHtmlHelp() {
  static HtmlHelpFunction function = LibraryFunction<HtmlHelpFunction>(LoadSystemLibrary(L"hhctrl.ocx"), "HtmlHelpA");
  return function;
}

}  // namespace

void OpenHelpAtContext(const std::string& helpFilePath, int context) {
  HtmlHelpFunction htmlHelp = LoadedHtmlHelp();
  if (htmlHelp == nullptr) return;
  // F1 and the Help menu reach us on the main window's thread while that
  // window is active, so the active window is the main window. The viewer
  // stays in front of its owner and closes with it. A missing file or an
  // unknown context makes the call return null, and the user sees nothing.
  htmlHelp(GetActiveWindow(), helpFilePath.c_str(), kHelpContextCommand, DWORD_PTR(context));
}

}  // namespace quillon

#include <windows.h>

#include "configurator/configurator_main.h"
#include "configurator/main_window.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/process_control.h"
#include "shared/win32/system_libraries.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int) {
  // Before anything can load a library (DirectInput, the help viewer ...).
  quillon::LoadLibrariesFromSystemFolderOnly();
  // A second start hands the foreground on to the open window it finds:
  // Windows lets a background program take it only when the foreground one
  // allows that.
  AllowSetForegroundWindow(ASFW_ANY);
  std::string name = quillon::FileNameOf(quillon::OwnExecutablePath());
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  quillon::ConfiguratorStart start = quillon::StartConfigurator(name, commandTail != nullptr ? commandTail : "");
  return start.window ? quillon::OpenMainWindow(std::move(*start.window)) : start.exitStatus;
}

#include <windows.h>

#include "configurator/configurator_main.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/process_control.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int) {
  std::string name = quillon::FileNameOf(quillon::OwnExecutablePath());
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return quillon::ConfiguratorMain(name, commandTail != nullptr ? commandTail : "");
}

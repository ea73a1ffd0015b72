#include "runtime/app_launch.h"

#include "runtime/runtime_ending.h"
#include "runtime/seams/process_services.h"

namespace quillon {

void LaunchProgram(const std::string& program, const std::string& parameters) {
  if (RuntimeEnding()) return;
  std::string commandLine = (!parameters.empty() && parameters[0] == ' ') ? parameters : " " + parameters;
  (void)StartProgram(program, commandLine);
}

}  // namespace quillon

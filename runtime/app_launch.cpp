#include "runtime/app_launch.h"

#include "runtime/seams/process_services.h"

namespace quillon {

void LaunchProgram(const std::string& program, const std::string& parameters) {
  std::string commandLine = (!parameters.empty() && parameters[0] == ' ') ? parameters : " " + parameters;
  (void)StartProgram(program, commandLine);
}

}  // namespace quillon

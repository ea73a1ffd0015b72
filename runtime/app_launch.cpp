#include "runtime/app_launch.h"

#include "runtime/modal_boxes.h"
#include "runtime/runtime_ending.h"
#include "runtime/runtime_state.h"
#include "runtime/seams/program_trust.h"
#include "runtime/seams/sound_player.h"
#include "runtime/seams/process_services.h"
#include "shared/program_folders.h"

namespace quillon {

bool LaunchProgram(const std::string& program, const std::string& parameters) {
  if (RuntimeEnding()) return false;
  std::string commandLine = (!parameters.empty() && parameters[0] == ' ') ? parameters : " " + parameters;
  return StartProgram(program, commandLine);
}

namespace {

// Each file is refused with a box once per run: a cabinet that hands a map
// over on every step must not pile up boxes for the same file.
bool MayStart(Runtime& runtime, const std::string& program) {
  // A missing file starts nothing anyway; the start fails silently as any other.
  if (!FileAttributesReadable(program)) return true;
  if (TrustedToStart(program)) return true;
  if (runtime.launch.refusedPrograms.insert(program).second) {
    std::string text = "Quillon did not start " + program +
                       ": it lies in a folder where every user may create files, and neither you nor an "
                       "administrator put it there.";
    WithBoxOpen(runtime.boxes, [&text] { ShowRefusedProgramBox(text); });
  }
  return false;
}

}  // namespace

bool LaunchMappingProgram(Runtime& runtime, const std::string& program, const std::string& parameters) {
  if (RuntimeEnding() || !MayStart(runtime, program)) return false;
  return LaunchProgram(program, parameters);
}

}  // namespace quillon

// The configurator's own version, as its version resource states it.
#pragma once

namespace quillon {

struct ProgramVersion {
  int major = 0;
  int minor = 0;
};
ProgramVersion OwnProgramVersion();

}  // namespace quillon

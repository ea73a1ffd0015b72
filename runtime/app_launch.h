// Starting programs: the user's own, the configurator and the mapping
// program.
#pragma once

#include <string>

namespace quillon {

// Texts built for a launch must fit the system's 1024-byte buffers.
inline constexpr size_t kMaxBuiltTextLength = 1023;

// Starts `program` with `parameters`, always with a leading space in the
// command line (" " for none). Failures are silent.
void LaunchProgram(const std::string& program, const std::string& parameters);

}  // namespace quillon

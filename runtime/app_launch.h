// Starting programs: the user's own, the configurator and the mapping
// program.
#pragma once

#include <string>

namespace quillon {

struct Runtime;

// Texts built for a launch must fit the system's 1024-byte buffers.
inline constexpr size_t kMaxBuiltTextLength = 1023;

// Starts `program` with `parameters`, always with a leading space in the
// command line (" " for none). Failures are silent; the result says whether
// the program was started.
bool LaunchProgram(const std::string& program, const std::string& parameters);

// LaunchProgram for the mapping program, unless it lies in a folder that
// other users may write to and was not put there by the user or an
// administrator: then it is not started, and a box naming the file says so
// once per run. True only when the mapping program was started.
bool LaunchMappingProgram(Runtime& runtime, const std::string& program, const std::string& parameters);

}  // namespace quillon

// What the runtime asks of its own process and of the system's process list.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// Full path of the running executable; "" when it cannot be determined.
std::string ExecutablePath();
// The common application data folder of Windows (no separator at its end);
// "" when it cannot be had.
std::string CommonAppDataFolder();

// Milliseconds since the process started; wraps like the system tick count.
uint32_t ProcessClockMs();

// Starts `program` with `commandLine` (no handle inheritance, default error
// mode, the runtime's environment and directory) and closes the handles at
// once. Returns whether the process was created; callers ignore it.
bool StartProgram(const std::string& program, const std::string& commandLine);

}  // namespace quillon

// Top-level windows and processes: how the configurator finds and signals the
// runtime and a running copy of itself, and starts programs.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

using TopWindowHandle = void*;

TopWindowHandle FindTopWindowByClass(const std::string& className);
TopWindowHandle FindTopWindowByTitle(const std::string& title);
// Sends synchronously and waits at most kMessageAnswerTimeoutMs for the
// window to handle it; false when it did not in time (a hung program) or is
// gone. The answer itself is not used.
inline constexpr unsigned kMessageAnswerTimeoutMs = 5000;
bool SendWindowMessage(TopWindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam);

// CreateProcessA from the command line alone, handles inherited, normal
// priority, the configurator's environment and folder; the start-up
// information carries `windowTitle` and `showState`. The process is not
// waited for. False when it could not be created.
bool StartProcess(const std::string& commandLine, const std::string& windowTitle, int showState);

// Full path of the configurator's own executable; "" when unknown.
std::string OwnExecutablePath();

}  // namespace quillon

// Starting programs, handing the current map to the mapping program, and
// announcing the current map with its sound.
#pragma once

#include <optional>
#include <string>

namespace quillon {

// Texts built for a launch must fit the system's 1024-byte buffers.
inline constexpr size_t kMaxBuiltTextLength = 1023;

// Starts `program` with `parameters`, always with a leading space in the
// command line (" " for none). Failures are silent.
void LaunchProgram(const std::string& program, const std::string& parameters);

// Expands the user's command-line template: the first "%s" becomes
// `quotedPath`, "%%" becomes "%", every other "%" sequence stays as written.
// The template is never used as a printf format.
std::string ExpandUltraMapOptions(const std::string& options, const std::string& quotedPath);

// The parameter line for handing the current map over, or nothing when there
// is no current map or a built text would exceed kMaxBuiltTextLength.
std::optional<std::string> HandOffParameters();

// Starts the mapping program with the current map's ".ugc" file.
void HandOffMap();

// Announces the current map: "<dir><name>.wav", else "<dir><position>.wav".
// Sets lastAnnounce even when there is no map to announce.
void PlayMapSound();

}  // namespace quillon

// Announcement sounds and the file check that picks which one to play.
#pragma once

#include <string>

namespace quillon {

// Stops whatever sound the runtime is playing.
void StopSound();
// Plays a sound file asynchronously; no default sound when it cannot be played.
void PlaySoundFileAsync(const std::string& path);
// True when the file's attributes can be read.
bool FileAttributesReadable(const std::string& path);

}  // namespace quillon

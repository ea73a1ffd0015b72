#include <windows.h>
#include <mmsystem.h>

#include "runtime/seams/sound_player.h"

namespace quillon {

void StopSound() { PlaySoundA(nullptr, nullptr, SND_PURGE); }

void PlaySoundFileAsync(const std::string& path) {
  PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_NODEFAULT | SND_ASYNC);
}

bool FileAttributesReadable(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace quillon

#include <windows.h>
#include <mmsystem.h>

#include "runtime/seams/sound_player.h"
#include "shared/win32/system_libraries.h"

namespace quillon {

namespace {

// winmm.dll is not protected by Windows either: loaded from the system folder
// when the first sound plays, never imported.
using PlaySoundFunction = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);

bool PlaySoundFromSystem(const char* sound, DWORD flags) {
  static const auto play = LibraryFunction<PlaySoundFunction>(LoadSystemLibrary(L"winmm.dll"), "PlaySoundA");
  return play != nullptr && play(sound, nullptr, flags);
}

}  // namespace

void StopSound() { PlaySoundFromSystem(nullptr, SND_PURGE); }

void PlaySoundFileAsync(const std::string& path) {
  PlaySoundFromSystem(path.c_str(), SND_FILENAME | SND_NODEFAULT | SND_ASYNC);
}

bool FileAttributesReadable(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace quillon

#include <windows.h>
#include <shlobj.h>

#include "configurator/seams/shell_folders.h"

namespace quillon {

long FolderPath(int folderId, uint32_t flags, std::string* path) {
  char buffer[MAX_PATH + 1] = {};
  HRESULT result = SHGetFolderPathA(nullptr, folderId, nullptr, flags, buffer);
  if (result == S_OK) *path = buffer;
  return long(result);
}

bool SpecialFolderLocation(void* owner, int folderId, std::string* path) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(static_cast<HWND>(owner), folderId, &items)) || items == nullptr) return false;
  // SHGetPathFromIDListA writes up to MAX_PATH characters with no size
  // given: a smaller buffer overflows on a long folder path.
  char buffer[MAX_PATH] = {};
  BOOL converted = SHGetPathFromIDListA(items, buffer);
  CoTaskMemFree(items);
  if (!converted) return false;
  *path = buffer;
  return true;
}

bool SystemFolder(std::string* path) {
  char buffer[MAX_PATH] = {};
  UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return false;
  *path = std::string(buffer, length);
  return true;
}

}  // namespace quillon

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "configurator/seams/shell_services.h"

namespace quillon {

long FolderPath(int folderId, uint32_t flags, std::string* path) {
  char buffer[MAX_PATH + 1] = {};
  HRESULT result = SHGetFolderPathA(nullptr, folderId, nullptr, flags, buffer);
  if (result == S_OK) *path = buffer;
  return long(result);
}

long FolderPathAndSubDir(int folderId, uint32_t flags, const std::string& subFolder, std::string* path) {
  char buffer[MAX_PATH + 1] = {};
  HRESULT result = SHGetFolderPathAndSubDirA(nullptr, folderId, nullptr, flags, subFolder.c_str(), buffer);
  if (result == S_OK) *path = buffer;
  return long(result);
}

bool SpecialFolderLocation(void* owner, int folderId, std::string* path) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(static_cast<HWND>(owner), folderId, &items)) || items == nullptr) return false;
  char buffer[256] = {};
  BOOL converted = SHGetPathFromIDListA(items, buffer);
  CoTaskMemFree(items);
  if (!converted) return false;
  *path = buffer;
  return true;
}

bool ReadOsVersion(OsVersionInfo* version, uint32_t* errorCode) {
  OSVERSIONINFOEXA info;
  ZeroMemory(&info, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
    *errorCode = GetLastError();
    return false;
  }
  version->major = info.dwMajorVersion;
  version->minor = info.dwMinorVersion;
  version->build = info.dwBuildNumber;
  version->platform = info.dwPlatformId;
  version->servicePack = info.szCSDVersion;
  *errorCode = 0;
  return true;
}

bool SystemFolder(std::string* path) {
  char buffer[256] = {};
  UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return false;
  *path = std::string(buffer, length);
  return true;
}

bool SaveShellLink(const ShellLinkSpec& link) {
  HRESULT initialised = CoInitialize(nullptr);
  bool saved = false;
  IShellLinkA* shellLink = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shellLink)))) {
    bool ok = SUCCEEDED(shellLink->SetPath(link.target.c_str()));
    if (ok && !link.workingFolder.empty()) ok = SUCCEEDED(shellLink->SetWorkingDirectory(link.workingFolder.c_str()));
    if (ok && !link.arguments.empty()) ok = SUCCEEDED(shellLink->SetArguments(link.arguments.c_str()));
    if (ok) ok = SUCCEEDED(shellLink->SetDescription(""));
    if (ok && !link.iconFile.empty()) ok = SUCCEEDED(shellLink->SetIconLocation(link.iconFile.c_str(), link.iconIndex));
    if (ok) ok = SUCCEEDED(shellLink->SetShowCmd(link.showCommand));
    if (ok) ok = SUCCEEDED(shellLink->Resolve(nullptr, SLR_NO_UI | SLR_UPDATE));
    IPersistFile* file = nullptr;
    if (ok && SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      int length = MultiByteToWideChar(CP_ACP, 0, link.linkPath.c_str(), -1, nullptr, 0);
      std::vector<wchar_t> widePath(size_t(length > 0 ? length : 1), L'\0');
      if (length > 0) MultiByteToWideChar(CP_ACP, 0, link.linkPath.c_str(), -1, widePath.data(), length);
      saved = length > 0 && SUCCEEDED(file->Save(widePath.data(), FALSE));
      file->Release();
    }
    shellLink->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return saved;
}

bool RunOpenFileDialog(OpenFileDialogBlock* block) {
  std::vector<char> file(block->fileBuffer.begin(), block->fileBuffer.end());
  std::vector<char> title(block->fileTitleBuffer.begin(), block->fileTitleBuffer.end());
  file.push_back('\0');
  title.push_back('\0');
  OPENFILENAMEA dialog;
  ZeroMemory(&dialog, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(block->owner);
  dialog.lpstrFilter = block->filter.c_str();
  dialog.nFilterIndex = DWORD(block->filterIndex);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = DWORD(file.size() - 1);
  dialog.lpstrFileTitle = title.data();
  dialog.nMaxFileTitle = DWORD(title.size() - 1);
  dialog.lpstrDefExt = block->defaultExtension.c_str();
  dialog.lpstrTitle = block->title.c_str();
  dialog.lpstrInitialDir = block->initialFolder.c_str();
  dialog.Flags = block->flags;
  if (!GetOpenFileNameA(&dialog)) return false;
  block->fileBuffer.assign(file.data(), file.size() - 1);
  return true;
}

}  // namespace quillon

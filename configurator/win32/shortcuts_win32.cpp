#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "configurator/seams/shortcuts.h"

namespace quillon {

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

}  // namespace quillon

#include "tests/kit/shell_drop.h"

#include <shlobj.h>

namespace quillon::test_kit {

bool DropFilesOn(HWND target, const std::vector<std::string>& paths) {
  // The header, then each path with its NUL, then one more NUL.
  std::wstring list;
  for (const std::string& path : paths) {
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(size_t(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), int(wide.size()))));
    list += wide;
  }
  list += L'\0';
  DROPFILES header = {};
  header.pFiles = sizeof header;
  header.fWide = TRUE;
  std::string block(reinterpret_cast<const char*>(&header), sizeof header);
  block.append(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(wchar_t));

  // An HDROP is a global memory handle of the receiving process. A fixed
  // block's handle is its address, which GlobalLock gives back as it is, so
  // memory committed in that process serves as one; DragFinish's attempt to
  // free it there fails quietly.
  DWORD processId = 0;
  GetWindowThreadProcessId(target, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return false;
  void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool placed = remote != nullptr && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
  CloseHandle(process);
  return placed && PostMessageA(target, WM_DROPFILES, WPARAM(remote), 0);
}

}  // namespace quillon::test_kit

#include "tests/kit/dialog_probe.h"

#include <commctrl.h>

namespace quillon::test_kit {

namespace {
BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

bool IsClass(HWND window, const char* className) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, className) == 0;
}

// Shown as far as `root`: a control on a hidden page is not, while one in a
// window that is only about to appear is.
bool ShownIn(HWND root, HWND window) {
  for (; window != nullptr && window != root; window = GetParent(window))
    if ((GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) == 0) return false;
  return true;
}

std::string WithoutMarks(const std::string& text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain;
}

std::string MenuText(HMENU menu, UINT position) {
  char text[256] = "";
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}
}  // namespace

std::string VisibleText(HWND window) {
  // WM_GETTEXT is copied across processes, so the text of a control in
  // another program reads like one's own.
  char text[1024] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return WithoutMarks(text);
}

std::vector<HWND> Descendants(HWND root) {
  std::vector<HWND> windows;
  EnumChildWindows(root, Collect, LPARAM(&windows));
  return windows;
}

HWND ControlLabelled(HWND root, const std::string& label) {
  for (HWND window : Descendants(root))
    if (ShownIn(root, window) && IsClass(window, "Static") && VisibleText(window) == label)
      return GetWindow(window, GW_HWNDNEXT);
  return nullptr;
}

HWND ControlCaptioned(HWND root, const std::string& caption) {
  for (HWND window : Descendants(root))
    if (ShownIn(root, window) && VisibleText(window) == caption) return window;
  return nullptr;
}

std::vector<HWND> ControlsOfClass(HWND root, const char* className) {
  std::vector<HWND> found;
  for (HWND window : Descendants(root))
    if (IsClass(window, className)) found.push_back(window);
  return found;
}

// TCM_GETITEM carries a pointer that Windows does not copy between
// processes: the item and its text buffer are placed in the tab's process.
std::vector<std::string> TabCaptions(HWND tab) {
  std::vector<std::string> captions;
  DWORD processId = 0;
  GetWindowThreadProcessId(tab, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return captions;
  constexpr size_t kTextSize = 128;
  auto* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, sizeof(TCITEMA) + kTextSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  const int count = int(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; remote != nullptr && i < count; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = remote + sizeof(TCITEMA);
    item.cchTextMax = int(kTextSize);
    char text[kTextSize] = "";
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    SendMessageA(tab, TCM_GETITEMA, WPARAM(i), LPARAM(remote));
    ReadProcessMemory(process, remote + sizeof(TCITEMA), text, sizeof text - 1, nullptr);
    captions.push_back(text);
  }
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return captions;
}

bool SelectTab(HWND tab, const std::string& caption) {
  std::vector<std::string> captions = TabCaptions(tab);
  for (size_t i = 0; i < captions.size(); ++i) {
    if (WithoutMarks(captions[i]) != caption) continue;
    // As a click: the tab control tells its parent of the change.
    SendMessageA(tab, TCM_SETCURFOCUS, WPARAM(i), 0);
    return SendMessageA(tab, TCM_GETCURSEL, 0, 0) == LRESULT(i);
  }
  return false;
}

namespace {
BOOL CALLBACK FirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
  *reinterpret_cast<LPSTR*>(found) = IS_INTRESOURCE(name) ? name : nullptr;
  return FALSE;
}
}  // namespace

// Wine keeps a menu inside its own process, where another program cannot
// read it; the program's menu resource holds the same entries.
std::vector<Menu> MenuBarOf(const std::string& programPath) {
  std::vector<Menu> bar;
  HMODULE module = LoadLibraryExA(programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return bar;
  LPSTR name = nullptr;
  EnumResourceNamesA(module, MAKEINTRESOURCEA(4) /* RT_MENU */, FirstName, LONG_PTR(&name));
  HMENU menu = name != nullptr ? LoadMenuA(module, name) : nullptr;
  for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
    Menu popup{MenuText(menu, UINT(i)), {}};
    HMENU sub = GetSubMenu(menu, i);
    for (int j = 0; sub != nullptr && j < GetMenuItemCount(sub); ++j) {
      const bool separator = (GetMenuState(sub, UINT(j), MF_BYPOSITION) & MF_SEPARATOR) != 0;
      popup.entries.push_back({separator ? "-" : MenuText(sub, UINT(j)), GetMenuItemID(sub, j)});
    }
    bar.push_back(popup);
  }
  if (menu != nullptr) DestroyMenu(menu);
  FreeLibrary(module);
  return bar;
}

UINT MenuCommand(const std::string& programPath, const std::string& caption) {
  for (const Menu& menu : MenuBarOf(programPath))
    for (const MenuEntry& entry : menu.entries)
      if (WithoutMarks(entry.caption) == caption) return entry.id;
  return 0;
}

}  // namespace quillon::test_kit

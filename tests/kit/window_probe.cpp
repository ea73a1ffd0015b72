// Tells a shell script whether a program of the prefix has its window: the
// runtime's window is hidden, so no X tool can see it, and a second copy of
// the runtime would act on it instead of only looking.
//
//   window_probe.exe MILLISECONDS CLASS TITLE [ITEM...]
//
// Waits up to MILLISECONDS for a top-level window of CLASS whose title is
// TITLE (an empty CLASS or TITLE matches any) and, when ITEMs are given,
// one of whose list boxes holds just these ITEMs, in this order. Exits 0
// when it was found, 1 when not, 2 on a wrong command line.
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Search {
  std::wstring windowClass;
  std::wstring title;
  std::vector<std::wstring> items;
  bool found = false;
};

std::wstring Wide(const char* text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

// Another process's list box answers in UTF-16 under Wine whichever call
// asks, so the wide calls are used throughout.
bool ListHoldsExactly(HWND list, const std::vector<std::wstring>& items) {
  if (SendMessageW(list, LB_GETCOUNT, 0, 0) != LRESULT(items.size())) return false;
  for (size_t i = 0; i < items.size(); ++i) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0);
    if (length < 0) return false;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, WPARAM(i), LPARAM(text.data()));
    text.resize(static_cast<size_t>(length));
    if (text != items[i]) return false;
  }
  return true;
}

BOOL CALLBACK ConsiderChild(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  wchar_t name[64] = {};
  GetClassNameW(child, name, 64);
  if (lstrcmpiW(name, L"ListBox") == 0 && ListHoldsExactly(child, search->items)) search->found = true;
  return search->found ? FALSE : TRUE;
}

BOOL CALLBACK ConsiderWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  wchar_t text[256] = {};
  if (!search->windowClass.empty()) {
    GetClassNameW(window, text, 256);
    if (search->windowClass != text) return TRUE;
  }
  if (!search->title.empty()) {
    text[0] = L'\0';
    GetWindowTextW(window, text, 256);
    if (search->title != text) return TRUE;
  }
  if (search->items.empty()) search->found = true;
  else EnumChildWindows(window, ConsiderChild, context);
  return search->found ? FALSE : TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  DWORD waitMs = strtoul(argv[1], nullptr, 10);
  Search search;
  search.windowClass = Wide(argv[2]);
  search.title = Wide(argv[3]);
  for (int i = 4; i < argc; ++i) search.items.push_back(Wide(argv[i]));
  DWORD start = GetTickCount();
  for (;;) {
    search.found = false;
    EnumWindows(ConsiderWindow, LPARAM(&search));
    if (search.found) return 0;
    if (GetTickCount() - start >= waitMs) return 1;
    Sleep(50);
  }
}

// A library that an attacker would drop beside quillon.exe under the name of
// one the programs use (dinput.dll, winmm.dll ...). Whenever a program loads
// it, it adds that program's path to "planted-loads.txt" beside itself; the
// installer's system test asserts that the file never appears.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  while (length > 0 && path[length - 1] != '\\') --length;
  lstrcpynA(path + length, "planted-loads.txt", MAX_PATH - int(length));
  HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return TRUE;
  char program[MAX_PATH + 2];
  DWORD programLength = GetModuleFileNameA(nullptr, program, MAX_PATH);
  program[programLength++] = '\r';
  program[programLength++] = '\n';
  DWORD written = 0;
  WriteFile(log, program, programLength, &written, nullptr);
  CloseHandle(log);
  return TRUE;
}

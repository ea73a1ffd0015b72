// The installer end to end, in a Wine prefix made new for this run: a silent
// install puts every file where the configurator and the runtime look for
// it; the installed configurator's command-line import starts the installed
// runtime, which loads none of the libraries planted beside it; an upgrade
// stops that runtime and replaces the files; the uninstaller removes what it
// installed and nothing of the user's.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "quillon_version.h"
#include "tests/kit/runtime_control.h"

namespace kit = quillon::test_kit;

namespace {

constexpr DWORD kInstallTimeoutMs = 60000;
const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillon";
const char* const kSettingsKey = "Software\\KWP\\Quillon";
// Libraries that the programs use and Windows does not protect. Not planted:
// those that Wine's own user32 or comdlg32 import (version.dll, comctl32.dll
// ...), which Wine resolves before the program runs, where Windows takes the
// dependencies of its protected libraries from the system folder.
const char* const kPlantedNames[] = {"dinput.dll", "dinput8.dll", "winmm.dll", "uxtheme.dll", "hhctrl.ocx"};

std::string SpecialFolder(int id) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, id | CSIDL_FLAG_CREATE, nullptr, 0, path);
  return path;
}

std::string ProgramFolder() { return SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Quillon\\"; }
std::string DataFolder() { return SpecialFolder(CSIDL_COMMON_APPDATA) + "\\KWP\\QuillonConfig\\"; }
std::string StartupLink() { return SpecialFolder(CSIDL_STARTUP) + "\\Quillon.lnk"; }
std::string StartMenuLink() { return SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Quillon Configurator.lnk"; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SameContents(const std::string& installed, const std::string& built) {
  std::string bytes = kit::FileContents(installed);
  return !bytes.empty() && bytes == kit::FileContents(built);
}

void Write(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(file);
}

// Runs a program with its own folder as the current one and waits for it.
DWORD RunAndWait(const std::string& program, const std::string& tail, const std::string& folder) {
  std::string commandLine = "\"" + program + "\" " + tail;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &info))
    return ~DWORD(0);
  CloseHandle(info.hThread);
  // The configurator's own window, once it has one, is closed again.
  DWORD code = ~DWORD(0);
  for (DWORD waited = 0; waited < kInstallTimeoutMs; waited += 100) {
    if (WaitForSingleObject(info.hProcess, 100) == WAIT_OBJECT_0) break;
    if (HWND window = FindWindowA(nullptr, " Quillon Configurator")) PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 99);
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  return code;
}

std::string Installer() { return kit::ProgramFolder() + "..\\package\\" QUILLON_INSTALLER_NAME; }

std::string LinkTarget(const std::string& link, std::string* folder) {
  char target[MAX_PATH] = "", work[MAX_PATH] = "";
  IShellLinkA* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shellLink))))
    return "";
  IPersistFile* file = nullptr;
  std::wstring wide(link.begin(), link.end());
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
      shellLink->GetPath(target, MAX_PATH, nullptr, 0);
      shellLink->GetWorkingDirectory(work, MAX_PATH);
    }
    file->Release();
  }
  shellLink->Release();
  if (folder != nullptr) *folder = work;
  return target;
}

std::string UninstallValue(const char* name) {
  char value[MAX_PATH] = "";
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return "";
  return value;
}

DWORD UninstallNumber(const char* name) {
  DWORD value = 0, size = sizeof value;
  RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

bool KeyExists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Wine prefers the libraries beside a program (native) over its own, as
// Windows would for any library it does not protect.
void PreferNativeLibraries(bool prefer) {
  for (const char* program : {"quillon.exe", "QuillonConfig.exe"}) {
    std::string path = std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides";
    if (!prefer) {
      RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
      continue;
    }
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    for (std::string name : kPlantedNames) {
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) name.resize(name.size() - 4);
      RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    }
    RegCloseKey(key);
  }
}

// The running runtime's process, with the path of its program file.
HANDLE RuntimeProcess(std::string* image) {
  HWND window = kit::WaitForRuntimeWindow();
  if (window == nullptr) return nullptr;
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  char path[MAX_PATH] = "";
  DWORD size = MAX_PATH;
  if (process != nullptr) QueryFullProcessImageNameA(process, 0, path, &size);
  *image = path;
  return process;
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

bool WaitUntil(bool (*condition)(), DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
    if (condition()) return true;
    Sleep(100);
  }
  return condition();
}

void SetOldTime(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME old{0xD53E8000, 0x01BF53EB};  // 2000-01-01
  SetFileTime(file, nullptr, nullptr, &old);
  CloseHandle(file);
}

bool HasOldTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime.dwHighDateTime == 0x01BF53EB;
}

class InstallerSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override {
    kit::StopAnyRuntime();
    PreferNativeLibraries(false);
    CoUninitialize();
  }
};

TEST_F(InstallerSystemTest, InstallsRunsUpgradesAndUninstallsWithoutLoadingPlantedLibraries) {
  const std::string built = kit::ProgramFolder();
  ASSERT_TRUE(Exists(Installer())) << Installer();
  ASSERT_EQ(RunAndWait(Installer(), "/S", built), 0u);

  // Files where the configurator and the runtime look for them, as built.
  const std::string program = ProgramFolder(), data = DataFolder();
  EXPECT_TRUE(SameContents(program + "QuillonConfig.exe", built + "QuillonConfig.exe"));
  EXPECT_TRUE(SameContents(data + "quillon.exe", built + "quillon.exe"));
  EXPECT_TRUE(Exists(program + "Uninstall.exe"));
  EXPECT_EQ(Exists(program + "quillon.chm"), QUILLON_PACKS_HELP != 0);
  EXPECT_FALSE(Exists(data + "QuillonConfig.exe"));
  EXPECT_TRUE(SamePath(LinkTarget(StartMenuLink(), nullptr), program + "QuillonConfig.exe"));
  EXPECT_FALSE(Exists(StartupLink())) << "the start-up link is off unless asked for";
  EXPECT_EQ(UninstallValue("DisplayName"), "Quillon");
  EXPECT_EQ(UninstallValue("DisplayVersion"), QUILLON_VERSION_TEXT);
  EXPECT_EQ(UninstallValue("Publisher"), "KWP");
  EXPECT_NE(UninstallValue("UninstallString").find("Uninstall.exe"), std::string::npos);
  EXPECT_GT(UninstallNumber("EstimatedSize"), 100u) << "kilobytes of the installed files";

  // Libraries planted beside the runtime, which is also the configurator's
  // current folder when the runtime starts it.
  for (const char* name : kPlantedNames)
    ASSERT_TRUE(CopyFileA((built + "planted_library.dll").c_str(), (data + name).c_str(), FALSE)) << name;
  PreferNativeLibraries(true);
  Write(data + "Analog.ugc", "map\r\n");
  Write(data + "cabinet.qlf", "[Quillon]\r\nConfig0=Analog\r\nUseJoystick=1\r\nSwitchDevice=Pad\r\nApplyOnStart=0\r\n");

  // The whole chain from the installed layout: import, then the runtime
  // started from the data folder.
  RunAndWait(program + "QuillonConfig.exe", "\"" + data + "cabinet.qlf\"", data);
  std::string image;
  HANDLE runtime = RuntimeProcess(&image);
  ASSERT_NE(runtime, nullptr) << "the import started no runtime";
  EXPECT_TRUE(SamePath(image, data + "quillon.exe")) << image;
  RunAndWait(program + "QuillonConfig.exe", "", data);  // opens its window, where it has one, and closes it
  EXPECT_FALSE(Exists(data + "planted-loads.txt")) << kit::FileContents(data + "planted-loads.txt");
  for (const char* name : kPlantedNames) DeleteFileA((data + name).c_str());

  // An upgrade over the running runtime stops it and replaces the files;
  // asked for, it adds the start-up link that "Add to Startup" writes.
  SetOldTime(data + "quillon.exe");
  SetOldTime(program + "QuillonConfig.exe");
  ASSERT_EQ(RunAndWait(Installer(), "/S /STARTUP", built), 0u);
  EXPECT_EQ(WaitForSingleObject(runtime, 10000), WAIT_OBJECT_0) << "the upgrade left the runtime running";
  CloseHandle(runtime);
  EXPECT_FALSE(HasOldTime(data + "quillon.exe"));
  EXPECT_FALSE(HasOldTime(program + "QuillonConfig.exe"));
  std::string linkFolder;
  EXPECT_TRUE(SamePath(LinkTarget(StartupLink(), &linkFolder), data + "Quillon.exe"));
  EXPECT_TRUE(SamePath(linkFolder + "\\", data));
  // The show command as stored (offset 0x3C of the link's header): Wine's
  // shell link object was seen to read this one back as SW_SHOWNORMAL.
  std::string link = kit::FileContents(StartupLink());
  ASSERT_GT(link.size(), 0x40u);
  EXPECT_EQ(link[0x3C], SW_SHOWMINNOACTIVE);

  // The uninstaller stops a running runtime and works from a copy of itself:
  // done when its entry is gone.
  RunAndWait(program + "QuillonConfig.exe", "\"" + data + "cabinet.qlf\"", data);
  runtime = RuntimeProcess(&image);
  ASSERT_NE(runtime, nullptr);
  ASSERT_EQ(RunAndWait(program + "Uninstall.exe", "/S", built), 0u);
  EXPECT_TRUE(WaitUntil([] { return !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey) && !Exists(ProgramFolder()); },
                        kInstallTimeoutMs));
  EXPECT_EQ(WaitForSingleObject(runtime, 10000), WAIT_OBJECT_0) << "the uninstaller left the runtime running";
  CloseHandle(runtime);
  EXPECT_FALSE(Exists(data + "quillon.exe"));
  EXPECT_FALSE(Exists(StartMenuLink()));
  EXPECT_FALSE(Exists(StartupLink()));
  // The user's files and settings stay.
  EXPECT_TRUE(Exists(data + "Analog.ugc"));
  EXPECT_TRUE(Exists(data + "cabinet.qlf"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
}

}  // namespace

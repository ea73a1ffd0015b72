// The installer end to end, in a Wine prefix made new for this run: an
// install whose folder permissions cannot be set installs nothing; over the
// layout of older versions (the runtime in the data folder, running, and a
// start-up link to it) a silent install stops that runtime, takes it out of
// the data folder and points the link at the program folder; the installed
// configurator's command-line import starts the runtime from the program
// folder, which loads none of the libraries planted in the data folder; an
// upgrade stops that runtime and replaces the files; the uninstaller removes
// what it installed and nothing of the user's. Wine keeps no file
// permissions: a stand-in for icacls records what the installer asks for.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

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

// A link as the configurator of an older version wrote it.
bool SaveLink(const std::string& link, const std::string& target, const std::string& folder) {
  IShellLinkA* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shellLink))))
    return false;
  shellLink->SetPath(target.c_str());
  shellLink->SetWorkingDirectory(folder.c_str());
  IPersistFile* file = nullptr;
  bool saved = false;
  std::wstring wide(link.begin(), link.end());
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    saved = SUCCEEDED(file->Save(wide.c_str(), TRUE));
    file->Release();
  }
  shellLink->Release();
  return saved;
}

// The stand-in's log, one command line a line.
std::vector<std::string> IcaclsCalls(const std::string& log) {
  std::vector<std::string> lines;
  std::string text = kit::FileContents(log);
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    size_t tab = line.find('\t');
    if (tab != std::string::npos) lines.push_back(line.substr(tab + 1));
  }
  return lines;
}

// The manifest resource of a program file, "" when it has none.
std::string ManifestOf(const std::string& program) {
  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return "";
  std::string text;
  if (HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    HGLOBAL data = LoadResource(module, resource);
    text.assign(static_cast<const char*>(LockResource(data)), SizeofResource(module, resource));
  }
  FreeLibrary(module);
  return text;
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

// icacls as the installer finds it: a stand-in that logs its command line
// and ends with the status in QUILLON_STANDIN_STATUS. Returns its log.
std::string StandInIcacls(const std::string& built) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string icaclsLog = std::string(temp) + "icacls-calls.txt";
  DeleteFileA(icaclsLog.c_str());
  EXPECT_TRUE(CopyFileA((built + "stand_in_mapper.exe").c_str(), (SpecialFolder(CSIDL_SYSTEM) + "\\icacls.exe").c_str(),
                        FALSE));
  SetEnvironmentVariableA("QUILLON_STANDIN_LOG", icaclsLog.c_str());
  // Wine runs its own icacls (which sets nothing and says it did) instead of
  // the file in the system folder unless told otherwise.
  HKEY overrides = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &overrides,
                  nullptr);
  RegSetValueExA(overrides, "icacls.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
  RegCloseKey(overrides);
  return icaclsLog;
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

// Permissions that cannot be set: nothing is installed, and the exit status
// says so. (Runs first: the prefix is new for this program, not each test.)
TEST_F(InstallerSystemTest, AnInstallWhoseFolderPermissionsCannotBeSetInstallsNothing) {
  const std::string built = kit::ProgramFolder();
  ASSERT_TRUE(Exists(Installer())) << Installer();
  const std::string icaclsLog = StandInIcacls(built);
  SetEnvironmentVariableA("QUILLON_STANDIN_STATUS", "5");
  EXPECT_EQ(RunAndWait(Installer(), "/S", built), 2u);
  SetEnvironmentVariableA("QUILLON_STANDIN_STATUS", nullptr);
  EXPECT_FALSE(Exists(ProgramFolder() + "QuillonConfig.exe"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(IcaclsCalls(icaclsLog).size(), 1u) << "it stops at the first refusal";
}

TEST_F(InstallerSystemTest, InstallsOverTheOldLayoutRunsUpgradesAndUninstallsWithoutLoadingPlantedLibraries) {
  const std::string built = kit::ProgramFolder();
  ASSERT_TRUE(Exists(Installer())) << Installer();
  const std::string program = ProgramFolder(), data = DataFolder();
  const std::string publisher = SpecialFolder(CSIDL_COMMON_APPDATA) + "\\KWP";

  const std::string icaclsLog = StandInIcacls(built);

  // The layout of older versions: the runtime in the data folder, running
  // from there, and a start-up link to it.
  CreateDirectoryA(publisher.c_str(), nullptr);
  CreateDirectoryA(data.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((built + "quillon.exe").c_str(), (data + "quillon.exe").c_str(), FALSE));
  ASSERT_TRUE(SaveLink(StartupLink(), data + "Quillon.exe", data));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION old{};
  std::string oldLine = "\"" + data + "quillon.exe\"";
  ASSERT_TRUE(
      CreateProcessA(nullptr, oldLine.data(), nullptr, nullptr, FALSE, 0, nullptr, data.c_str(), &startup, &old));
  CloseHandle(old.hThread);
  ASSERT_NE(kit::WaitForRuntimeWindow(), nullptr);

  ASSERT_EQ(RunAndWait(Installer(), "/S", built), 0u);
  EXPECT_EQ(WaitForSingleObject(old.hProcess, 10000), WAIT_OBJECT_0) << "the install left the old runtime running";
  CloseHandle(old.hProcess);

  // Both programs in the program folder, as built; nothing to run in the
  // data folder; the old link now starts the program folder's runtime there.
  EXPECT_TRUE(SameContents(program + "QuillonConfig.exe", built + "QuillonConfig.exe"));
  EXPECT_TRUE(SameContents(program + "quillon.exe", built + "quillon.exe"));
  EXPECT_FALSE(Exists(data + "quillon.exe"));
  EXPECT_FALSE(Exists(data + "QuillonConfig.exe"));
  std::string linkFolder;
  EXPECT_TRUE(SamePath(LinkTarget(StartupLink(), &linkFolder), program + "Quillon.exe"));
  EXPECT_TRUE(SamePath(linkFolder + "\\", program)) << linkFolder;
  EXPECT_TRUE(Exists(program + "Uninstall.exe"));
  EXPECT_EQ(Exists(program + "quillon.chm"), QUILLON_PACKS_HELP != 0);
  EXPECT_TRUE(SamePath(LinkTarget(StartMenuLink(), nullptr), program + "QuillonConfig.exe"));
  EXPECT_EQ(UninstallValue("DisplayName"), "Quillon");
  EXPECT_EQ(UninstallValue("DisplayVersion"), QUILLON_VERSION_TEXT);
  EXPECT_EQ(UninstallValue("Publisher"), "KWP");
  EXPECT_NE(UninstallValue("UninstallString").find("Uninstall.exe"), std::string::npos);
  EXPECT_GT(UninstallNumber("EstimatedSize"), 100u) << "kilobytes of the installed files";
  // The runtime has a manifest, so a "quillon.exe.local" folder beside it
  // redirects none of its libraries.
  EXPECT_NE(ManifestOf(program + "quillon.exe").find("requestedExecutionLevel level=\"asInvoker\""), std::string::npos);

  // Both levels of the data folder get the same permissions of their own,
  // in this order: the owner first, then nothing that was there, then the
  // entries (SIDs, not the names that other languages translate).
  std::vector<std::string> expected;
  for (const std::string& folder : {publisher, data.substr(0, data.size() - 1)}) {
    const std::string head = "\"" + folder + "\" ";
    for (const char* arguments :
         {"/setowner *S-1-5-32-544", "/reset",
          "/inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX "
          "*S-1-3-0:(OI)(CI)(IO)M *S-1-3-4:(RD,REA,X,RA,RC,S,WD,AD)",
          "/grant *S-1-5-32-545:(CI)(WD,AD)"})
      expected.push_back(head + arguments);
  }
  std::vector<std::string> calls = IcaclsCalls(icaclsLog);
  for (std::string& call : calls) call = call.substr(call.find("icacls.exe\" ") + 12);
  EXPECT_EQ(calls, expected);

  // Libraries planted in the data folder, which is also the configurator's
  // current folder when it starts the runtime.
  for (const char* name : kPlantedNames)
    ASSERT_TRUE(CopyFileA((built + "planted_library.dll").c_str(), (data + name).c_str(), FALSE)) << name;
  PreferNativeLibraries(true);
  Write(data + "Analog.ugc", "map\r\n");
  Write(data + "cabinet.qlf", "[Quillon]\r\nConfig0=Analog\r\nUseJoystick=1\r\nSwitchDevice=Pad\r\nApplyOnStart=0\r\n");

  // The whole chain from the installed layout: import, then the runtime
  // started from the program folder.
  RunAndWait(program + "QuillonConfig.exe", "\"" + data + "cabinet.qlf\"", data);
  std::string image;
  HANDLE runtime = RuntimeProcess(&image);
  ASSERT_NE(runtime, nullptr) << "the import started no runtime";
  EXPECT_TRUE(SamePath(image, program + "quillon.exe")) << image;
  RunAndWait(program + "QuillonConfig.exe", "", data);  // opens its window, where it has one, and closes it
  EXPECT_FALSE(Exists(data + "planted-loads.txt")) << kit::FileContents(data + "planted-loads.txt");
  for (const char* name : kPlantedNames) DeleteFileA((data + name).c_str());

  // An upgrade over the running runtime stops it and replaces the files;
  // asked for, it adds the start-up link that "Add to Startup" writes.
  SetOldTime(program + "quillon.exe");
  SetOldTime(program + "QuillonConfig.exe");
  ASSERT_EQ(RunAndWait(Installer(), "/S /STARTUP", built), 0u);
  EXPECT_EQ(WaitForSingleObject(runtime, 10000), WAIT_OBJECT_0) << "the upgrade left the runtime running";
  CloseHandle(runtime);
  EXPECT_FALSE(HasOldTime(program + "quillon.exe"));
  EXPECT_FALSE(HasOldTime(program + "QuillonConfig.exe"));
  EXPECT_TRUE(SamePath(LinkTarget(StartupLink(), &linkFolder), program + "Quillon.exe"));
  EXPECT_TRUE(SamePath(linkFolder + "\\", program));
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
  EXPECT_FALSE(Exists(StartMenuLink()));
  EXPECT_FALSE(Exists(StartupLink()));
  // The user's files and settings stay.
  EXPECT_TRUE(Exists(data + "Analog.ugc"));
  EXPECT_TRUE(Exists(data + "cabinet.qlf"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
}

}  // namespace

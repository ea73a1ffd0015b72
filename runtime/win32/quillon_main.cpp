// quillon.exe: the resident runtime. A second copy remote-controls the first.
#include <windows.h>

#include <new>
#include <string>

#include "runtime/command_tail.h"
#include "runtime/key_injection.h"
#include "runtime/runtime_ending.h"
#include "runtime/runtime_state.h"
#include "runtime/settings_lifecycle.h"
#include "runtime/win32/main_window.h"
#include "runtime/win32/resource_ids.h"
#include "shared/runtime_messages.h"
#include "shared/settings_tree.h"
#include "shared/win32/system_libraries.h"

namespace {

// A running copy that does not answer (hung, or stopped in a debugger) must
// not keep this one, and the configurator or script that started it,
// waiting for ever. A reload with a slow controller scan can take seconds.
constexpr UINT kRemoteRequestTimeoutMs = 10000;

// Held by the copy that is the runtime, for as long as it runs. Two copies
// started at the same moment (the start-up folder's and the configurator's)
// would both find no window and both become the runtime; the mutex lets
// only one through. Per session: each user's desktop has its own runtime.
constexpr const char* kRuntimeMutexName = "Local\\Quillon.Runtime";
// How long a copy that lost the race waits for the winner's window (or for
// the winner to end, which hands the mutex on).
constexpr DWORD kRuntimeStartWaitMs = 10000;

void SendToRunning(HWND running, UINT message) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(running, message, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kRemoteRequestTimeoutMs, &ignored);
}

// Hands a front end's command to the running copy: its answer is this
// copy's exit status.
int SendFrontEndCommand(HWND running, const quillon::RemoteCommand& command, char letter) {
  std::string argument = command.argument;
  if (argument.size() > quillon::kLongestFrontEndArgument) {
    // Longer than any map's name, and no games list holds such a name.
    if (command.request == quillon::RemoteRequest::ChooseMap) return quillon::kNoSuchMapStatus;
    argument.clear();
  }
  COPYDATASTRUCT data = {};
  data.dwData = quillon::kFrontEndCommandData | static_cast<unsigned char>(letter);
  data.cbData = DWORD(argument.size());
  data.lpData = argument.data();
  DWORD_PTR reply = 0;
  if (SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kRemoteRequestTimeoutMs, &reply) != 0 &&
      reply == quillon::kNoSuchMapStatus)
    return quillon::kNoSuchMapStatus;
  return quillon::kRequestHandedOnStatus;
}

// Acts on the running copy as the command tail asks; returns this copy's
// exit status.
int RemoteControl(HWND running, const char* tail) {
  switch (quillon::RemoteRequestFor(tail)) {
    case quillon::RemoteRequest::Close: SendToRunning(running, WM_CLOSE); return 1;
    case quillon::RemoteRequest::Reload: SendToRunning(running, quillon::WM_RELOAD_SETTINGS); return 1;
    case quillon::RemoteRequest::GameStarted:
    case quillon::RemoteRequest::GameEnded:
    case quillon::RemoteRequest::ChooseMap:
      return SendFrontEndCommand(running, quillon::RemoteCommandFor(tail), tail[0]);
    case quillon::RemoteRequest::AskToClose: break;
  }
  if (MessageBoxA(nullptr, "Exit Quillon?", "Quillon", MB_OKCANCEL) != IDOK) return 0;
  SendToRunning(running, WM_CLOSE);
  return 1;
}

enum class Role { Runtime, RemoteControl, GaveUp };

// Whether this copy becomes the runtime or remote-controls the one in
// `*running`. The mutex handle is left open on purpose: the process holds it
// until it ends.
Role ClaimRuntimeRole(HWND* running) {
  *running = FindWindowA(quillon::kRuntimeWindowClass, nullptr);
  if (*running != nullptr) return Role::RemoteControl;
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kRuntimeMutexName);
  if (mutex == nullptr) return Role::Runtime;  // no mutex: as before, the window search alone
  if (GetLastError() != ERROR_ALREADY_EXISTS) return Role::Runtime;
  for (DWORD start = GetTickCount(); GetTickCount() - start < kRuntimeStartWaitMs;) {
    DWORD waited = WaitForSingleObject(mutex, 50);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return Role::Runtime;
    *running = FindWindowA(quillon::kRuntimeWindowClass, nullptr);
    if (*running != nullptr) return Role::RemoteControl;
  }
  return Role::GaveUp;
}

// The runtime's state, made once the copy knows it is the runtime and kept
// for the life of the process. Held here as well as by the window because
// the fault filter and the out-of-memory handler below reach it without one.
quillon::Runtime* g_runtime = nullptr;

// Lets go of whatever keys the runtime still holds, if it got that far.
void ReleaseKeysOfRuntime() {
  if (g_runtime != nullptr) quillon::ReleaseHeldKeys(g_runtime->held);
}

// The exit status of a process that a fault ended.
constexpr UINT kFaultExitStatus = 3;

// A fault inside the runtime ends the process without WM_DESTROY; keys that
// an action put down would stay down system-wide. Best effort: the state may
// be damaged, so this lets go of the keys and nothing more, then ends the
// process at once. Handing the fault on instead would leave the half-torn
// runtime alive behind the system's fault dialog, its hook thread still
// swallowing keys and its window still taking messages, for as long as the
// dialog waits for the user.
LONG WINAPI ReleaseKeysOnFault(EXCEPTION_POINTERS*) {
  quillon::BeginRuntimeEnd();
  ReleaseKeysOfRuntime();
  BlockInput(FALSE);
  // Not ExitProcess: that runs the libraries' detach code and the static
  // destructors over state that may be damaged, on a thread that faulted.
  TerminateProcess(GetCurrentProcess(), kFaultExitStatus);
  return EXCEPTION_EXECUTE_HANDLER;  // not reached
}

int RunMessageLoop(HINSTANCE instance) {
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  MSG message = {};
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    if (message.hwnd != nullptr && TranslateAcceleratorA(message.hwnd, accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;  // -1: the loop itself failed
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything can load a library: this program's folder is one that
  // every user may add files to.
  quillon::LoadLibrariesFromSystemFolderOnly();
  // Working memory that cannot be had ends the runtime at once.
  std::set_new_handler([] {
    quillon::BeginRuntimeEnd();
    ReleaseKeysOfRuntime();
    ExitProcess(1);
  });
  SetUnhandledExceptionFilter(ReleaseKeysOnFault);

  const char* tail = quillon::CommandTail(GetCommandLineA());
  HWND running = nullptr;
  switch (ClaimRuntimeRole(&running)) {
    case Role::RemoteControl: return RemoteControl(running, tail);
    case Role::GaveUp: return 0;
    case Role::Runtime: break;
  }

  // Made at run time rather than laid out in the program file: the empty
  // strings' inner buffers would have the compiler store a whole image of
  // the record (some 30 KB of the runtime's file) otherwise.
  g_runtime = new quillon::Runtime;
  // A front end that starts a game before the runtime runs: its first
  // hand-over is the game's map, not the default.
  quillon::RemoteCommand command = quillon::RemoteCommandFor(tail);
  if (command.request == quillon::RemoteRequest::GameStarted || command.request == quillon::RemoteRequest::ChooseMap)
    g_runtime->map.waitingCommand = std::move(command);
  HWND window = quillon::CreateMainWindow(instance, *g_runtime);
  if (window == nullptr) return 0;
  ShowWindow(window, SW_HIDE);
  if (!quillon::StartRuntime(*g_runtime)) {
    DestroyWindow(window);
    return quillon::kOwnPathUnreadableStatus;
  }
  UpdateWindow(window);
  return RunMessageLoop(instance);
}

// The keyboard hook's threads, and whose hook is whose. Each install starts a
// thread that installs the hook and waits; each removal asks that thread to
// end and waits for it only so long (a thread stuck in the system must not
// hold up a reload). A thread that misses the wait lives on beside the next
// one until it ends by itself, so:
// - its hook passes every key on from the moment it was stopped: two hooks
//   that both act would run an action twice;
// - when it ends it removes its own hook, never the one installed after it
//   (which would end key capture without a word until the next reload).
// Wine never drops a slow hook before its 2 s time-out, and no test can make
// a thread miss the wait on purpose: the rules are here, away from Win32.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>

namespace quillon {

// Shared by the main thread and every hook thread; the functions lock it.
struct HookThreads {
  std::mutex lock;
  uint32_t lastGeneration = 0;
  uint32_t capturing = 0;               // the generation whose hook acts; 0 for none
  std::map<uint32_t, uintptr_t> hooks;  // generation -> the hook its thread installed
};

// An install starts a thread: its generation, whose hook acts from now on.
uint32_t BeginHookThread(HookThreads& threads);
// The thread of `generation` installed `hook` (0 when the system refused).
void RecordThreadHook(HookThreads& threads, uint32_t generation, uintptr_t hook);
// Whether the hook of `generation` acts on a key or passes it on.
bool HookCaptures(HookThreads& threads, uint32_t generation);
// A removal: no hook acts until the next install, whether or not the
// thread ends within the wait.
void StopCapturingHook(HookThreads& threads);
// The thread of `generation` ends: the hook it removes (its own; 0 for
// none), which is forgotten.
uintptr_t EndHookThread(HookThreads& threads, uint32_t generation);

}  // namespace quillon

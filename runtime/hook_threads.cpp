#include "runtime/hook_threads.h"

namespace quillon {

uint32_t BeginHookThread(HookThreads& threads) {
  std::lock_guard<std::mutex> held(threads.lock);
  threads.capturing = ++threads.lastGeneration;
  return threads.capturing;
}

void RecordThreadHook(HookThreads& threads, uint32_t generation, uintptr_t hook) {
  std::lock_guard<std::mutex> held(threads.lock);
  if (hook != 0) threads.hooks[generation] = hook;
}

bool HookCaptures(HookThreads& threads, uint32_t generation) {
  std::lock_guard<std::mutex> held(threads.lock);
  return generation != 0 && generation == threads.capturing;
}

void StopCapturingHook(HookThreads& threads) {
  std::lock_guard<std::mutex> held(threads.lock);
  threads.capturing = 0;
}

uintptr_t EndHookThread(HookThreads& threads, uint32_t generation) {
  std::lock_guard<std::mutex> held(threads.lock);
  auto own = threads.hooks.find(generation);
  if (own == threads.hooks.end()) return 0;
  const uintptr_t hook = own->second;
  threads.hooks.erase(own);
  return hook;
}

}  // namespace quillon

// Whose keyboard hook is whose when an old hook thread outlives its stop.
#include <gtest/gtest.h>

#include "runtime/hook_threads.h"

namespace quillon {
namespace {

// A reload stops the hook of generation 1, whose thread misses the wait (it
// is stuck in the system), and installs generation 2. The old thread ends
// late: it removes hook A, its own, and hook B goes on capturing.
TEST(HookThreadsTest, AnOldThreadThatMissedItsStopNeverRemovesOrDoublesTheNewHook) {
  constexpr uintptr_t kHookA = 0xA0, kHookB = 0xB0;
  HookThreads threads;
  const uint32_t old = BeginHookThread(threads);
  RecordThreadHook(threads, old, kHookA);
  EXPECT_TRUE(HookCaptures(threads, old));
  StopCapturingHook(threads);
  EXPECT_FALSE(HookCaptures(threads, old)) << "a stopped hook passes keys on while its thread lives";

  const uint32_t fresh = BeginHookThread(threads);
  RecordThreadHook(threads, fresh, kHookB);
  EXPECT_FALSE(HookCaptures(threads, old)) << "two acting hooks would run each action twice";
  EXPECT_TRUE(HookCaptures(threads, fresh));

  EXPECT_EQ(EndHookThread(threads, old), kHookA);
  EXPECT_TRUE(HookCaptures(threads, fresh));
  EXPECT_EQ(EndHookThread(threads, old), 0u) << "removed once";
  EXPECT_EQ(EndHookThread(threads, fresh), kHookB);

  // A thread whose install the system refused has no hook to remove, and
  // code on a thread that is no hook thread (generation 0) never captures.
  const uint32_t refused = BeginHookThread(threads);
  RecordThreadHook(threads, refused, 0);
  EXPECT_EQ(EndHookThread(threads, refused), 0u);
  StopCapturingHook(threads);
  EXPECT_FALSE(HookCaptures(threads, 0));
}

}  // namespace
}  // namespace quillon

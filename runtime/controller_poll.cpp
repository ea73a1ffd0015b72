#include "runtime/controller_poll.h"

#include "runtime/seams/window_timers.h"
#include "runtime/settings_store.h"

namespace quillon {

namespace {
uintptr_t g_pollTimer = 0;
}  // namespace

uint32_t PollIntervalMs(uint32_t pollPerSecond) {
  if (pollPerSecond == 0) pollPerSecond = kFactoryPollPerSecond;
  return 1000 / pollPerSecond;
}

void InitController() {
  g_pollTimer = StartWindowTimer(PollTimerId, PollIntervalMs(g_settings.pollPerSecond));
}

void PollController() {}

void StopPollTimer() {
  if (g_pollTimer != 0) {
    StopWindowTimer(PollTimerId);
    g_pollTimer = 0;
  }
}

void ReleaseController() {}

}  // namespace quillon

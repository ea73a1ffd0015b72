#include "runtime/runtime_ending.h"

#include <atomic>

namespace quillon {

namespace {
// Also set by the unhandled-exception filter, which runs on whichever thread
// faulted.
std::atomic<bool> g_ending{false};
}  // namespace

void BeginRuntimeEnd() { g_ending = true; }
bool RuntimeEnding() { return g_ending; }
void ForgetRuntimeEnd() { g_ending = false; }

}  // namespace quillon

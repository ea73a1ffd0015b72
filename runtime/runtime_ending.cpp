#include "runtime/runtime_ending.h"

namespace quillon {

namespace {
// Also read from the unhandled-exception filter, which may run on any thread.
volatile bool g_ending = false;
}  // namespace

void BeginRuntimeEnd() { g_ending = true; }
bool RuntimeEnding() { return g_ending; }

}  // namespace quillon

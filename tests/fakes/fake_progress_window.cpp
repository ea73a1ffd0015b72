#include "tests/fakes/fake_progress_window.h"

#include "configurator/seams/progress_window.h"

namespace quillon {

namespace {
struct FakeProgress {
  bool open = false;
  std::string text;
  int steps = 0, cancelAt = 0, opened = 0, closed = 0;
};
FakeProgress g_progress;
}  // namespace

namespace fake_progress_window {
void Reset() { g_progress = {}; }
void CancelAtStep(int step) { g_progress.cancelAt = step; }
bool IsOpen() { return g_progress.open; }
std::string Text() { return g_progress.text; }
int Steps() { return g_progress.steps; }
int Opened() { return g_progress.opened; }
int Closed() { return g_progress.closed; }
}  // namespace fake_progress_window

void OpenProgressWindow(const std::string& text) {
  g_progress.open = true;
  g_progress.text = text;
  ++g_progress.opened;
}
// A step with the window closed is a reading that forgot to open it: it
// cancels, so that a test sees nothing filled.
bool StepProgress(uint64_t, uint64_t) {
  ++g_progress.steps;
  if (!g_progress.open) return false;
  return g_progress.cancelAt == 0 || g_progress.steps < g_progress.cancelAt;
}
void CloseProgressWindow() {
  g_progress.open = false;
  ++g_progress.closed;
}

}  // namespace quillon

#include "runtime/modal_boxes.h"

namespace quillon {

namespace {
int g_boxesOpen = 0;
}  // namespace

void WithBoxOpen(const std::function<void()>& show) {
  ++g_boxesOpen;
  try {
    show();
  } catch (...) {
    --g_boxesOpen;
    throw;
  }
  --g_boxesOpen;
}

bool BoxOpen() { return g_boxesOpen > 0; }

}  // namespace quillon

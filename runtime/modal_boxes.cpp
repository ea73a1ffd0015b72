#include "runtime/modal_boxes.h"

#include "runtime/runtime_state.h"

namespace quillon {

void WithBoxOpen(OpenBoxes& boxes, const std::function<void()>& show) {
  ++boxes.count;
  try {
    show();
  } catch (...) {
    --boxes.count;
    throw;
  }
  --boxes.count;
}

bool BoxOpen(const OpenBoxes& boxes) { return boxes.count > 0; }

}  // namespace quillon

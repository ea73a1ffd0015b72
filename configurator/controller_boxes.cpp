#include "configurator/controller_boxes.h"

#include "configurator/resource_ids.h"
#include "configurator/seams/window_controls.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {
// The ids are consecutive, button boxes first (resource_ids.h).
static_assert(IDC_chkButton31 - IDC_chkButton0 + 1 == kMaxControllerButtons);
static_assert(IDC_chkDirection7 - IDC_chkDirection0 + 1 == kDirectionCount);

template <typename Each>
void ForEachBox(Each&& each) {
  for (int k = 0; k < kMaxControllerButtons; ++k) each(IDC_chkButton0 + k, &ControllerInput::buttons, 1u << k);
  for (int d = 0; d < kDirectionCount; ++d) each(IDC_chkDirection0 + d, &ControllerInput::directions, 1u << d);
}
}  // namespace

bool IsControllerBox(int id) {
  return (id >= IDC_chkButton0 && id <= IDC_chkButton31) || (id >= IDC_chkDirection0 && id <= IDC_chkDirection7);
}

ControllerInput TickedControllerInput() {
  ControllerInput input;
  ForEachBox([&](int id, uint32_t ControllerInput::*bits, uint32_t bit) {
    if (IsChecked(id)) input.*bits |= bit;
  });
  return input;
}

void TickControllerInput(ControllerInput input) {
  ForEachBox([&](int id, uint32_t ControllerInput::*bits, uint32_t bit) { SetChecked(id, (input.*bits & bit) != 0); });
}

void LightControllerInput(std::optional<ControllerInput> held) {
  ForEachBox([&](int id, uint32_t ControllerInput::*bits, uint32_t bit) {
    SetLit(id, held.has_value() && ((*held).*bits & bit) != 0);
  });
}

void ShowControllerBoxes(bool visible) {
  ForEachBox([&](int id, auto, auto) { SetVisible(id, visible); });
}

}  // namespace quillon

// Global fields that a page's controls show one to one: a check box shows a
// switch as ticked or not, an edit field a number in decimal or a text as it
// is. Each page lists its own in one table; a field shown otherwise (the
// capture mode's option pair, the controller list) is shown and read by its
// page itself.
#pragma once

#include <cstdint>
#include <span>

#include "configurator/settings_model.h"

namespace quillon {

enum class ShownBy : uint8_t { CheckBox, EditField };
struct FieldControl {
  Field field;
  int id;
  ShownBy by;
};

void ShowFieldControls(std::span<const FieldControl> controls, const ConfiguratorSettings& model);
// The controls' fields as WindowFields holds them: a check box "1" or "0".
void ReadFieldControls(std::span<const FieldControl> controls, WindowFields& fields);
// The edit fields show the texts that the settings took: a number mended to
// its fallback, a trimmed path.
void ShowTakenTexts(std::span<const FieldControl> controls, const WindowFields& fields);

}  // namespace quillon

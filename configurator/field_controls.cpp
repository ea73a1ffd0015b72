#include "configurator/field_controls.h"

#include "configurator/seams/window_controls.h"

namespace quillon {

void ShowFieldControls(std::span<const FieldControl> controls, const ConfiguratorSettings& model) {
  const FieldValues values = MainFieldValues(model);
  for (const FieldControl& control : controls) {
    const FieldValue& value = values[control.field];
    if (control.by == ShownBy::CheckBox) SetChecked(control.id, value.number != 0);
    else if (RowOf(control.field).type == FieldType::Text) SetControlText(control.id, value.text);
    else SetControlText(control.id, std::to_string(value.number));
  }
}

void ReadFieldControls(std::span<const FieldControl> controls, WindowFields& fields) {
  for (const FieldControl& control : controls)
    fields[control.field] =
        control.by == ShownBy::CheckBox ? (IsChecked(control.id) ? "1" : "0") : ControlText(control.id);
}

void ShowTakenTexts(std::span<const FieldControl> controls, const WindowFields& fields) {
  for (const FieldControl& control : controls)
    if (control.by == ShownBy::EditField && fields[control.field]) SetControlText(control.id, *fields[control.field]);
}

}  // namespace quillon

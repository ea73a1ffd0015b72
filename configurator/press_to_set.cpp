#include "configurator/press_to_set.h"

#include <string>
#include <utility>

#include "configurator/controller_boxes.h"
#include "configurator/key_catalogue.h"
#include "configurator/key_sequence_hint.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/window_controls.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {
using Waiting = PressToSet::Waiting;

constexpr int kEscape = 0x1B;
constexpr int kModifierBoxes[][2] = {{IDC_chkAlt, ModifierAlt},
                                     {IDC_chkCtrl, ModifierCtrl},
                                     {IDC_chkShift, ModifierShift},
                                     {IDC_chkWindows, ModifierWin}};

void Hint(const std::string& text) { SetControlText(IDC_labKeySeqHint, text); }

}  // namespace

std::string EditorHint() {
  return EntryHint(ControlText(IDC_txtKeySequence), SelectedRow(IDC_cmbAction), ControlText(IDC_txtRepeat));
}

namespace {

// The line goes back to the sequence's own hint unless there is news.
void Finish(PressToSet& press, const std::string& news) {
  press.waiting = Waiting::Nothing;
  Hint(news.empty() ? EditorHint() : news);
}

// A modifier alone is not the key: the wait goes on for the key it modifies.
bool IsModifierKey(int virtualKey) {
  switch (virtualKey) {
    case 0x10:
    case 0x11:
    case 0x12:
    case 0x5B:
    case 0x5C:
    case 0xA0:
    case 0xA1:
    case 0xA2:
    case 0xA3:
    case 0xA4:
    case 0xA5: return true;
    default: return false;
  }
}

void SetKey(PressToSet& press, int virtualKey, int modifiers) {
  const int row = FindCatalogueRow(virtualKey);
  if (row < 0) {
    Finish(press,
           "That key (code " + std::to_string(virtualKey) + ") is not in the \"Virtual Key\" list: nothing was set.");
    return;
  }
  for (const auto& box : kModifierBoxes) SetChecked(box[0], (modifiers & box[1]) != 0);
  SelectRow(IDC_cmbVirtualKey, row);
  Finish(press, "");
  if (press.onSet) press.onSet();
}

void SetButtons(PressToSet& press, ControllerInput pressed) {
  TickControllerInput(pressed);
  Finish(press, "");
  if (press.onSet) press.onSet();
}
}  // namespace

void StartPressButtons(PressToSet& press, bool controllerReadable, std::function<void()> onSet) {
  if (!controllerReadable) {
    Finish(press, "No controller to read: choose one in \"Other settings\" and plug it in.");
    return;
  }
  press.waiting = Waiting::Buttons;
  press.msLeft = kPressWaitMs;
  press.pressed = {};
  press.onSet = std::move(onSet);
  Hint("Hold the buttons on the controller, then let go (5 seconds; Esc cancels).");
}

void StartPressKey(PressToSet& press, std::function<void()> onSet) {
  press.waiting = Waiting::Key;
  press.msLeft = kPressWaitMs;
  press.onSet = std::move(onSet);
  Hint("Press the key with its modifiers (Esc cancels). Keys bound in a running Quillon never reach this window.");
}

bool PressToSetWaiting(const PressToSet& press) { return press.waiting != Waiting::Nothing; }

void CancelPressToSet(PressToSet& press) {
  if (press.waiting != Waiting::Nothing) Finish(press, "");
}

bool OnKeyWhileWaiting(PressToSet& press, int virtualKey, int modifiers) {
  if (press.waiting == Waiting::Nothing) return false;
  if (virtualKey == kEscape) {
    CancelPressToSet(press);
  } else if (press.waiting == Waiting::Key && !IsModifierKey(virtualKey)) {
    SetKey(press, virtualKey, modifiers);
  }
  return true;
}

void OnPressToSetTick(PressToSet& press, std::optional<ControllerInput> held, int elapsedMs) {
  if (press.waiting == Waiting::Nothing) return;
  if (press.waiting == Waiting::Buttons) {
    if (!held) return Finish(press, "The controller can no longer be read: nothing was set.");
    // Directions count as buttons do: all that was held since the first.
    if (held->buttons != 0 || held->directions != 0) {
      press.pressed.buttons |= held->buttons;
      press.pressed.directions |= held->directions;
      return;
    }
    if (press.pressed != ControllerInput{}) return SetButtons(press, press.pressed);
  }
  press.msLeft -= elapsedMs;
  if (press.msLeft > 0) return;
  Finish(press, press.waiting == Waiting::Buttons ? "No buttons were pressed within 5 seconds."
                                                  : "No key was pressed within 5 seconds.");
}

}  // namespace quillon

#include "configurator/press_to_set.h"

#include <string>
#include <utility>

#include "configurator/key_catalogue.h"
#include "configurator/key_sequence_hint.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/window_controls.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {
enum class Waiting { Nothing, Buttons, Key };

constexpr int kEscape = 0x1B;
constexpr int kModifierBoxes[][2] = {{IDC_chkAlt, ModifierAlt},
                                     {IDC_chkCtrl, ModifierCtrl},
                                     {IDC_chkShift, ModifierShift},
                                     {IDC_chkWindows, ModifierWin}};

Waiting g_waiting = Waiting::Nothing;
int g_msLeft = 0;
std::function<void()> g_onSet;
uint32_t g_pressed = 0;  // every button held since the first one went down

void Hint(const std::string& text) { SetControlText(IDC_labKeySeqHint, text); }

// The line goes back to the sequence's own hint unless there is news.
void Finish(const std::string& news) {
  g_waiting = Waiting::Nothing;
  Hint(news.empty() ? KeySequenceHint(ControlText(IDC_txtKeySequence)) : news);
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

void SetKey(int virtualKey, int modifiers) {
  const int row = FindCatalogueRow(virtualKey);
  if (row < 0) {
    Finish("That key (code " + std::to_string(virtualKey) + ") is not in the \"Virtual Key\" list: nothing was set.");
    return;
  }
  for (const auto& box : kModifierBoxes) SetChecked(box[0], (modifiers & box[1]) != 0);
  SelectRow(IDC_cmbVirtualKey, row);
  Finish("");
  if (g_onSet) g_onSet();
}

void SetButtons(uint32_t buttons) {
  for (int k = 0; k < kMaxControllerButtons; ++k) SetChecked(IDC_chkButton0 + k, (buttons & (1u << k)) != 0);
  Finish("");
  if (g_onSet) g_onSet();
}
}  // namespace

void StartPressButtons(bool controllerReadable, std::function<void()> onSet) {
  if (!controllerReadable) {
    Finish("No controller to read: choose one in \"Other settings\" and plug it in.");
    return;
  }
  g_waiting = Waiting::Buttons;
  g_msLeft = kPressWaitMs;
  g_pressed = 0;
  g_onSet = std::move(onSet);
  Hint("Hold the buttons on the controller, then let go (5 seconds; Esc cancels).");
}

void StartPressKey(std::function<void()> onSet) {
  g_waiting = Waiting::Key;
  g_msLeft = kPressWaitMs;
  g_onSet = std::move(onSet);
  Hint("Press the key with its modifiers (Esc cancels). Keys bound in a running Quillon never reach this window.");
}

bool PressToSetWaiting() { return g_waiting != Waiting::Nothing; }

void CancelPressToSet() {
  if (g_waiting != Waiting::Nothing) Finish("");
}

bool OnKeyWhileWaiting(int virtualKey, int modifiers) {
  if (g_waiting == Waiting::Nothing) return false;
  if (virtualKey == kEscape) {
    CancelPressToSet();
  } else if (g_waiting == Waiting::Key && !IsModifierKey(virtualKey)) {
    SetKey(virtualKey, modifiers);
  }
  return true;
}

void OnPressToSetTick(std::optional<uint32_t> held, int elapsedMs) {
  if (g_waiting == Waiting::Nothing) return;
  if (g_waiting == Waiting::Buttons) {
    if (!held) return Finish("The controller can no longer be read: nothing was set.");
    const uint32_t buttons = *held & kButtonsMask;
    if (buttons != 0) {
      g_pressed |= buttons;
      return;
    }
    if (g_pressed != 0) return SetButtons(g_pressed);
  }
  g_msLeft -= elapsedMs;
  if (g_msLeft > 0) return;
  Finish(g_waiting == Waiting::Buttons ? "No buttons were pressed within 5 seconds."
                                       : "No key was pressed within 5 seconds.");
}

}  // namespace quillon

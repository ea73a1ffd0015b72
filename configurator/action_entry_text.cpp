#include "configurator/action_entry_text.h"

#include "shared/entry_rules.h"
#include "configurator/key_catalogue.h"
#include "shared/settings_tree.h"

namespace quillon {

std::string KeyEntryText(int modifier, int virtualKey) {
  const int row = FindCatalogueRow(virtualKey);
  std::string text = row == kNoCatalogueRow ? "" : KeyCatalogue[row].description;
  // Each prefix goes in front of what is built so far, so the last one added
  // (the Windows key) ends up leftmost.
  const struct {
    uint32_t bit;
    const char* prefix;
  } prefixes[] = {
      {ModifierAlt, "Alt + "},
      {ModifierCtrl, "Control + "},
      {ModifierShift, "Shift + "},
      {ModifierWin, "Windows + "},
  };
  for (const auto& p : prefixes) {
    if (static_cast<uint32_t>(modifier) & p.bit) text.insert(0, p.prefix);
  }
  return text;
}

std::string ButtonEntryText(ControllerInput input) {
  std::string text;
  for (int button = 1; button <= int(kBindableButtons); ++button) {
    if ((input.buttons & ButtonBit(button)) == 0) continue;
    text += text.empty() ? "Button " : " + ";
    text += std::to_string(button);
  }
  for (int d = 0; d < kDirectionCount; ++d) {
    if ((input.directions & (1u << d)) == 0) continue;
    if (!text.empty()) text += " + ";
    text += kDirectionLabels[d];
  }
  return text.empty() ? "(No buttons)" : text;
}

}  // namespace quillon

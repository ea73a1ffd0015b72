#include "configurator/entries_never_fire.h"

#include "configurator/action_entry_text.h"
#include "configurator/env_helpers.h"
#include "configurator/seams/message_boxes.h"

namespace quillon {

namespace {

std::string RowName(int index) { return "row " + std::to_string(index + 1); }

bool HasKey(const KeyActionEntry& entry) { return entry.virtualKey >= 1 && entry.virtualKey <= 255; }

bool SwitchesMaps(int action) { return action == NextMap || action == PreviousMap || action == DefaultMap; }

bool AnyActiveConfig(const ConfiguratorSettings& s) {
  for (int slot = 0; slot < kMaxConfigs; ++slot)
    if (!s.configNames[size_t(slot)].empty()) return true;
  return false;
}

// Reasons shared by both lists: the action itself cannot do anything.
std::string ActionReason(const ConfiguratorSettings& s, int action, const std::string& appName,
                         const std::function<bool(const std::string&)>& programExists) {
  if (action == RunApplication) {
    if (appName.empty()) return "\"Run application\" with no executable";
    if (!programExists(appName)) return "the executable \"" + appName + "\" does not exist";
  }
  if (SwitchesMaps(action) && !AnyActiveConfig(s)) return "a joystick map switch with no active configurations";
  return "";
}

// Hot keys: the system refuses a second registration of a key with the same
// modifiers, so the first entry keeps it. Hook: the runtime's key index holds
// one entry per key and a later entry replaces an earlier one, whatever the
// modifiers, so only the last entry of a key is ever looked at.
std::string KeyReason(const ConfiguratorSettings& s, int n) {
  const KeyActionEntry& entry = s.keyActions[size_t(n)];
  if (!HasKey(entry)) return "no key is chosen";
  if (s.useHook) {
    for (int later = s.keyCount - 1; later > n; --later)
      if (s.keyActions[size_t(later)].virtualKey == entry.virtualKey)
        return "in hook mode the last entry on a key takes it, and " + RowName(later) + " is on the same key";
    return "";
  }
  for (int earlier = 0; earlier < n; ++earlier) {
    const KeyActionEntry& other = s.keyActions[size_t(earlier)];
    if (other.virtualKey == entry.virtualKey && other.modifier == entry.modifier)
      return "the same key and modifiers as " + RowName(earlier) + ", which holds the hot key";
  }
  return "";
}

// The runtime runs the first entry, in list order, whose buttons are all
// held, further held buttons not mattering: an earlier entry whose buttons
// are a part of this one's is held whenever this one is, and wins.
std::string ButtonReason(const ConfiguratorSettings& s, int n) {
  const uint32_t buttons = uint32_t(s.buttonActions[size_t(n)].buttons);
  if ((buttons & kButtonsMask) == 0) return "no button is chosen";
  if ((buttons & ~kButtonsMask) != 0) return "it needs a button above 10, which is never read";
  for (int earlier = 0; earlier < n; ++earlier) {
    const uint32_t other = uint32_t(s.buttonActions[size_t(earlier)].buttons);
    if (other != 0 && (other & buttons) == other)
      return RowName(earlier) + " (" + ButtonEntryText(int32_t(other)) +
             ") comes first and the runtime runs the first entry whose buttons are all held";
  }
  return "";
}

}  // namespace

std::vector<NeverFiringEntry> FindEntriesThatNeverFire(const ConfiguratorSettings& s,
                                                       const std::function<bool(const std::string&)>& programExists) {
  std::vector<NeverFiringEntry> found;
  for (int n = 0; n < s.keyCount && n < kActionSlots; ++n) {
    const KeyActionEntry& entry = s.keyActions[size_t(n)];
    std::string reason = KeyReason(s, n);
    if (reason.empty()) reason = ActionReason(s, entry.action, entry.appName, programExists);
    if (!reason.empty()) found.push_back({ActionList::Keyboard, n, reason});
  }
  for (int n = 0; n < s.buttonCount && n < kActionSlots; ++n) {
    const ButtonActionEntry& entry = s.buttonActions[size_t(n)];
    std::string reason = ButtonReason(s, n);
    if (reason.empty()) reason = ActionReason(s, entry.action, entry.appName, programExists);
    if (!reason.empty()) found.push_back({ActionList::Controller, n, reason});
  }
  return found;
}

std::string NeverFiringReport(const ConfiguratorSettings& s, const std::vector<NeverFiringEntry>& entries) {
  // A message box taller than the screen hides its buttons.
  constexpr size_t kMaxLines = 20;
  std::string report;
  for (size_t i = 0; i < entries.size() && i < kMaxLines; ++i) {
    const NeverFiringEntry& e = entries[i];
    const bool keyboard = e.list == ActionList::Keyboard;
    const std::string text =
        keyboard ? KeyEntryText(s.keyActions[size_t(e.index)]) : ButtonEntryText(s.buttonActions[size_t(e.index)]);
    report +=
        std::string(keyboard ? "Keyboard " : "Joystick ") + RowName(e.index) + " \"" + text + "\": " + e.reason + "\n";
  }
  if (entries.size() > kMaxLines) report += "... and " + std::to_string(entries.size() - kMaxLines) + " more\n";
  return report;
}

bool GoOnDespiteEntriesThatNeverFire(const ConfiguratorSettings& s) {
  const std::vector<NeverFiringEntry> entries = FindEntriesThatNeverFire(s, FileExists);
  if (entries.empty()) return true;
  return ShowMessageBox("These entries will never run:\n\n" + NeverFiringReport(s, entries) +
                            "\nGo on anyway? Choose No to go back and change them.",
                        "Warning", MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace quillon

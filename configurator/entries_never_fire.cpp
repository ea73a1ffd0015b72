#include "configurator/entries_never_fire.h"

#include "configurator/action_entry_text.h"
#include "configurator/seams/message_boxes.h"
#include "configurator/system_services.h"
#include "shared/entry_rules.h"

namespace quillon {

namespace {

std::string RowName(int index) { return "row " + std::to_string(index + 1); }

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

// Which entry takes a key is the runtime's rule (shared/entry_rules.h): the
// first on a key and its modifiers in hot-key mode, the last on a key in
// hook mode.
std::string KeyReason(const ConfiguratorSettings& s, const std::vector<KeyBinding>& bindings, int n) {
  if (!CapturableKey(bindings[size_t(n)].virtualKey)) return "no key is chosen";
  const KeyCapture capture = s.useHook ? KeyCapture::Hook : KeyCapture::HotKeys;
  const size_t taker = EntryTakingKey(capture, bindings, size_t(n));
  if (taker == size_t(n)) return "";
  if (capture == KeyCapture::Hook)
    return "in hook mode the last entry on a key takes it, and " + RowName(int(taker)) + " is on the same key";
  return "the same key and modifiers as " + RowName(int(taker)) + ", which holds the hot key";
}

// An earlier entry whose buttons and directions are a part of this one's is
// held whenever this one is, and the runtime runs the first held entry in
// list order.
std::string ButtonReason(const ConfiguratorSettings& s, int n) {
  auto inputOf = [&](int e) {
    const ButtonActionEntry& entry = s.buttonActions[size_t(e)];
    return ControllerInput{uint32_t(entry.buttons), uint32_t(entry.directions)};
  };
  const ControllerInput input = inputOf(n);
  if (input.buttons == 0 && input.directions == 0) return "no button or direction is chosen";
  std::vector<ControllerInput> earlier;
  for (int e = 0; e < n; ++e) earlier.push_back(inputOf(e));
  const size_t first = FirstHeldEntry(earlier, input);
  if (first == earlier.size()) return "";
  return RowName(int(first)) + " (" + ButtonEntryText(earlier[first]) +
         ") comes first and the runtime runs the first entry whose buttons and directions are all held";
}

// Hot keys tell of the key going down only, so an entry that acts until the
// key is let go cannot know when that is: the runtime types it once.
std::string HeldKeyReason(const ConfiguratorSettings& s, int action) {
  if (s.useHook || !ActsWhileHeld(uint32_t(action))) return "";
  return std::string("in hot-key mode, which sees no release, \"") + kActionKindLabels[action] +
         "\" is typed once (down and up); the keyboard hook holds it";
}

}  // namespace

std::vector<NeverFiringEntry> FindEntriesThatNeverFire(const ConfiguratorSettings& s,
                                                       const std::function<bool(const std::string&)>& programExists) {
  std::vector<NeverFiringEntry> found;
  std::vector<KeyBinding> bindings;
  for (int n = 0; n < s.keyCount && n < kActionSlots; ++n)
    bindings.push_back({uint32_t(s.keyActions[size_t(n)].modifier), uint32_t(s.keyActions[size_t(n)].virtualKey)});
  for (int n = 0; n < s.keyCount && n < kActionSlots; ++n) {
    const KeyActionEntry& entry = s.keyActions[size_t(n)];
    std::string reason = KeyReason(s, bindings, n);
    if (reason.empty()) reason = ActionReason(s, entry.action, entry.appName, programExists);
    if (reason.empty()) reason = HeldKeyReason(s, entry.action);
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
  return ShowMessageBox("These entries will never run, or not as set:\n\n" + NeverFiringReport(s, entries) +
                            "\nGo on anyway? Choose No to go back and change them.",
                        "Warning", MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace quillon

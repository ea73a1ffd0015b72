// Entries of the settings that the runtime will never run, found before the
// settings are written so that the user hears of them while the cause is
// still on the screen. Each reason follows what the runtime's capture and
// polling code does with the tree, not what the user may have meant. A
// keyboard hold or repeat entry in hot-key mode is listed too: it runs, but
// only once, as a plain press.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "configurator/settings_model.h"

namespace quillon {

struct NeverFiringEntry {
  ActionList list = ActionList::Keyboard;
  int index = 0;  // into keyActions or buttonActions
  std::string reason;
};

// In list order, keyboard entries first. `programExists` answers for a
// "Run application" path as the runtime would start it (no search path: the
// runtime hands the name to CreateProcess as the application name).
std::vector<NeverFiringEntry> FindEntriesThatNeverFire(const ConfiguratorSettings& settings,
                                                       const std::function<bool(const std::string&)>& programExists);

// One line per entry: its list text (as the action list shows it) and why.
std::string NeverFiringReport(const ConfiguratorSettings& settings, const std::vector<NeverFiringEntry>& entries);

// Apply and Save ask this first: with no such entry it is true at once;
// otherwise one box lists them and the answer is whether to go on. The
// settings looked at are those about to be written (CandidateSettings).
bool GoOnDespiteEntriesThatNeverFire(const ConfiguratorSettings& candidate);

}  // namespace quillon

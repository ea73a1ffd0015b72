#include "runtime/action_dispatch.h"

#include "runtime/app_launch.h"
#include "runtime/held_actions.h"
#include "runtime/map_switching.h"
#include "runtime/own_keys.h"
#include "runtime/seams/app_switcher.h"
#include "runtime/target_window.h"

namespace quillon {

namespace {

// The fields that keyboard and controller entries have in common.
struct ActionFields {
  uint32_t sendType;
  uint32_t action;
  const std::string& select;
  const std::string& keySeq;  // empty: nothing to type
  const std::string& appName;
  const std::string& appParms;
  uint32_t repeat;
};

bool TargetReady(const ActionFields& entry) {
  switch (entry.sendType) {
    case CurrentWindow: return true;
    case SelectWindow: return SelectTargetWindow(entry.select) != 0;
    default: return false;
  }
}

void Run(Runtime& runtime, const ActionFields& entry, PressSource source) {
  if (entry.action > kLastActionKind) return;
  if (entry.action != ShowSwitcher && !TargetReady(entry)) return;
  if ((entry.action == StuffKeys || entry.action == IgnoreKey || entry.action == ShowSwitcher) && !entry.keySeq.empty())
    TypeOwnKeys(runtime, entry.keySeq.c_str());
  switch (entry.action) {
    case NextMap: RequestMapChange(runtime, MapRequest::Next, entry.keySeq); break;
    case PreviousMap: RequestMapChange(runtime, MapRequest::Previous, entry.keySeq); break;
    case DefaultMap: RequestMapChange(runtime, MapRequest::Default, entry.keySeq); break;
    case ShowSwitcher: ShowAppSwitcher(); break;
    case RunApplication:
    case ChangeConfiguration: LaunchProgram(entry.appName, entry.appParms); break;
    case HoldKeys:
    case RepeatKeys:
      StartHeldAction(runtime, source, entry.action, entry.keySeq, RepeatIntervalMs(entry.repeat));
      break;
    default: break;
  }
}

}  // namespace

void RunAction(Runtime& runtime, const KeyAction& entry, PressSource source) {
  Run(runtime, {entry.sendType, entry.action, entry.select, entry.keySeq, entry.appName, entry.appParms, entry.repeat},
      source);
}

void RunAction(Runtime& runtime, const ButtonAction& entry, PressSource source) {
  Run(runtime, {entry.sendType, entry.action, entry.select, entry.keySeq, entry.appName, entry.appParms, entry.repeat},
      source);
}

bool RepeatsWhileHeld(uint32_t action) { return action == StuffKeys || action == IgnoreKey; }

}  // namespace quillon

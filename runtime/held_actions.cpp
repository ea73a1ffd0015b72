#include "runtime/held_actions.h"

namespace quillon {

void StartHeldAction(Runtime&, PressSource, uint32_t, const std::string&, uint32_t) {}
void EndPress(Runtime&, PressSource) {}
void EndEveryPress(Runtime&) {}
bool AnyPressUnderWay(const Runtime&) { return false; }
bool RepeatPressTimer(Runtime&, unsigned) { return false; }

}  // namespace quillon

// The runtime's icon in the notification area.
#pragma once

#include <string>

namespace quillon {

// Adds the icon with `tip`, or changes the tip of the icon already there.
// False when the shell took no icon (no task bar yet); the icon is added
// when the task bar comes.
bool ShowNotificationIcon(const std::string& tip);
// Takes the icon away; nothing when there is none.
void RemoveNotificationIcon();

}  // namespace quillon

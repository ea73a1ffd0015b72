// The map's name on screen, over whatever the user is looking at.
#pragma once

#include <string>

namespace quillon {

// Shows `name` at once, replacing a name still showing, and lets it fade on
// its own; never takes the focus.
void ShowMapNameOnScreen(const std::string& name);
// Takes the name away now.
void HideMapNameOnScreen();

}  // namespace quillon

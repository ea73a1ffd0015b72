// Stands in for the pop-up switcher (see fake_app_switcher.cpp): while the
// stand-in's menu is "open" it can run what the real menu loop would
// dispatch meanwhile.
#pragma once

#include <functional>

namespace quillon::fake_app_switcher {

// Runs `whileOpen` inside each showing (nullptr: nothing).
void WhileOpen(std::function<void()> whileOpen);

}  // namespace quillon::fake_app_switcher

// Modal message boxes with fixed texts, owned by the main window when there
// is one.
#pragma once

#include <string>

namespace quillon {

enum class MessageIcon { Critical, Question, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

MessageAnswer ShowMessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons);

}  // namespace quillon

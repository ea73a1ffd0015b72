// A scriptable stand-in for the configurator's message boxes and main
// window: boxes are recorded and answered from a script.
#pragma once

#include <string>
#include <vector>

#include "configurator/seams/message_boxes.h"

namespace quillon::fake_configurator_messages {

struct ShownMessage {
  std::string text;
  std::string title;
  MessageIcon icon;
  MessageButtons buttons;
};

// No boxes shown, every Yes/No answered Yes.
void Reset();
void SetYesNoAnswer(MessageAnswer answer);
const std::vector<ShownMessage>& Messages();

}  // namespace quillon::fake_configurator_messages

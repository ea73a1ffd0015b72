// Commands of the configurator run through here, so that an AppError stops
// the command and shows its text instead of ending the program.
#pragma once

#include "configurator/app_error.h"
#include "configurator/seams/message_boxes.h"

namespace quillon {

template <typename Command>
bool RunShowingErrors(Command&& command) {
  try {
    command();
    return true;
  } catch (const AppError& error) {
    ShowMessageBox(error.what(), "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
}

}  // namespace quillon

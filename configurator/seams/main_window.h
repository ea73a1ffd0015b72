// What the data layer needs of the main window: a handle to own dialogs,
// and running the window until it is closed.
#pragma once

namespace quillon {

// The main window's handle; null while there is none.
void* MainWindowHandle();
// Shows the main window until it is closed; the program's exit status.
int RunMainWindow();

}  // namespace quillon

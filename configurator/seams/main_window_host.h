// What the data layer needs of the main window: a handle to own dialogs,
// and running the window until it is closed.
#pragma once

namespace quillon {

// The main window's handle; null while there is none.
void* MainWindowHandle();
// Shows the main window until it is closed; the program's exit status.
int RunMainWindow();
// Whether the page with this index has been made yet: a page is made when it
// is first shown, or when a command needs every page.
bool PageExists(int page);

}  // namespace quillon

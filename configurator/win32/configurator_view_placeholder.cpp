// Stands in for the main window until it exists: no window is shown.
#include "configurator/seams/main_window.h"

namespace quillon {

void* MainWindowHandle() { return nullptr; }
int RunMainWindow() { return 0; }

}  // namespace quillon

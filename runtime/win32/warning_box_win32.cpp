#include <windows.h>

#include "runtime/seams/warning_box.h"

namespace quillon {

void ShowWarningBox(const std::string& text) { MessageBoxA(nullptr, text.c_str(), "Quillon", MB_OK | MB_ICONWARNING); }

}  // namespace quillon

#include <windows.h>

#include "runtime/seams/program_trust.h"

namespace quillon {

void ShowRefusedProgramBox(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), "Quillon", MB_OK | MB_ICONWARNING);
}

}  // namespace quillon

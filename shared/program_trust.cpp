// Apart from the folder rules, so that a program which never starts one
// need not bring the checks of shared/seams/file_trust.h.
#include "shared/program_folders.h"
#include "shared/seams/file_trust.h"
#include "shared/text_helpers.h"

namespace quillon {

bool TrustedToStart(const std::string& program) {
  return !OthersMayWriteIn(FolderOf(program, "\\/")) || OwnedByUserOrAdministrators(program);
}

}  // namespace quillon

#include <windows.h>
#include <sddl.h>

#include "configurator/seams/shared_folder.h"

namespace quillon {

namespace {

// "P": the list is protected, nothing is inherited from the common data
// folder. There the first user to create a folder becomes its creator-owner
// with full control, so may delete any other user's files in it, planted
// programs' targets included.
//   SYSTEM and Administrators: full control, handed down.
//   Users: read and run, handed down; add files and folders (0x6), here and
//     in the folders below.
//   CREATOR OWNER: modify (0x1301bf) on what each user adds, handed down
//     only: a user changes and deletes their own files, not others'.
//   OWNER RIGHTS: on the folder itself the owner (the user who ran the
//     configurator first, where no installer made the folder) gets only what
//     every user has. Without this entry an owner always keeps the right to
//     rewrite the list (WRITE_DAC), and could then grant themselves delete.
constexpr const char* kSharedFolderSddl =
    "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;CI;0x6;;;BU)(A;OICIIO;0x1301bf;;;CO)"
    "(A;;0x1200af;;;OW)";

}  // namespace

bool CreateSharedDataFolder(const std::string& folder) {
  SECURITY_ATTRIBUTES attributes{};
  attributes.nLength = sizeof attributes;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kSharedFolderSddl, SDDL_REVISION_1,
                                                            &attributes.lpSecurityDescriptor, nullptr))
    return false;
  const bool created = CreateDirectoryA(folder.c_str(), &attributes) != 0;
  LocalFree(attributes.lpSecurityDescriptor);
  return created;
}

}  // namespace quillon

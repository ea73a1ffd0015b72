#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "shared/seams/file_trust.h"

namespace quillon {

namespace {

// The Windows Modules Installer service's account, which owns the system's
// own files; a service SID, so there is no well-known constant for it.
constexpr const char* kTrustedInstallerSid = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

class LocalMemory {
 public:
  ~LocalMemory() {
    if (memory_ != nullptr) LocalFree(memory_);
  }
  PSECURITY_DESCRIPTOR* Out() { return &memory_; }
  PSID* OutSid() { return reinterpret_cast<PSID*>(&memory_); }
  void* Get() const { return memory_; }

 private:
  void* memory_ = nullptr;
};

std::vector<BYTE> CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  bool read = size != 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
  CloseHandle(token);
  if (!read) return {};
  PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  std::vector<BYTE> copy(GetLengthSid(sid));
  CopySid(static_cast<DWORD>(copy.size()), copy.data(), sid);
  return copy;
}

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) {
  BYTE buffer[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof buffer;
  return CreateWellKnownSid(type, nullptr, buffer, &size) && EqualSid(sid, buffer);
}

// The current user, the administrators, the system, TrustedInstaller, and
// CREATOR OWNER (which stands for whoever created a file: the file's owner
// check covers that one).
bool IsTrustedAccount(PSID sid) {
  static const std::vector<BYTE> user = CurrentUserSid();
  if (!user.empty() && EqualSid(sid, const_cast<BYTE*>(user.data()))) return true;
  if (IsWellKnown(sid, WinBuiltinAdministratorsSid) || IsWellKnown(sid, WinLocalSystemSid) ||
      IsWellKnown(sid, WinCreatorOwnerSid))
    return true;
  LocalMemory installer;
  return ConvertStringSidToSidA(kTrustedInstallerSid, installer.OutSid()) && EqualSid(sid, installer.Get());
}

}  // namespace

// Rights that let an account put a file into the folder or change it there.
bool OthersMayWriteIn(const std::string& folder) {
  constexpr ACCESS_MASK kWriting =
      FILE_ADD_FILE | FILE_WRITE_DATA | FILE_APPEND_DATA | GENERIC_WRITE | GENERIC_ALL | WRITE_DAC | WRITE_OWNER;
  PACL dacl = nullptr;
  LocalMemory descriptor;
  if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                            descriptor.Out()) != ERROR_SUCCESS)
    return true;
  if (dacl == nullptr) return true;  // no list at all: everyone may do everything
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(dacl, i, &entry)) return true;
    auto* header = static_cast<ACE_HEADER*>(entry);
    // Entries only for what is created inside do not apply to the folder.
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) continue;
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    if ((allowed->Mask & kWriting) != 0 && !IsTrustedAccount(&allowed->SidStart)) return true;
  }
  return false;
}

bool OwnedByUserOrAdministrators(const std::string& path) {
  PSID owner = nullptr;
  LocalMemory descriptor;
  if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                            descriptor.Out()) != ERROR_SUCCESS)
    return false;
  return owner != nullptr && !IsWellKnown(owner, WinCreatorOwnerSid) && IsTrustedAccount(owner);
}

}  // namespace quillon

#include <windows.h>

#include "configurator/seams/profile_file.h"

namespace quillon {

uint32_t ReadProfileSection(const std::string& file, const std::string& section, char* buffer, uint32_t size) {
  return GetPrivateProfileSectionA(section.c_str(), buffer, size, file.c_str());
}

uint32_t ReadProfileSectionNames(const std::string& file, char* buffer, uint32_t size) {
  return GetPrivateProfileSectionNamesA(buffer, size, file.c_str());
}

long WriteProfileKey(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  if (WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str())) return 0;
  DWORD error = GetLastError();
  return error != 0 ? long(error) : long(ERROR_WRITE_FAULT);
}

long FlushProfileFile(const std::string& file) {
  // All-null arguments make the system write its cached copy of the file.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
  return 0;
}

}  // namespace quillon

// An in-memory registry of the current user, scriptable from tests. It
// answers the runtime's registry reader natively, with the real registry's
// rules: key paths and value names compare without case, a value needs its
// key, and every opened key must be closed again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::fake_registry {

struct Value {
  uint32_t type = 0;  // REG_SZ 1, REG_BINARY 3, REG_DWORD 4 ...
  std::vector<uint8_t> bytes;
};

// Empties the registry and forgets every handle.
void Reset();
// Creates a key and its parents.
void CreateKey(const std::string& path);
// Sets a value, creating its key and parents.
void SetValue(const std::string& path, const std::string& name, uint32_t type, std::vector<uint8_t> bytes);
// Deletes a key with everything below it.
void DeleteTree(const std::string& path);
bool KeyExists(const std::string& path);
const Value* FindValue(const std::string& path, const std::string& name);
// Keys opened and not yet closed.
int OpenHandleCount();
// Makes every open fail with "access denied", as for a locked key.
void SetOpenFails(bool fails);

// Further scripting for the configurator's read-write registry seam.
bool OpenFails();
// The names of the direct subkeys and of the values of a key, spelled as
// they were first created, in name order.
std::vector<std::string> SubkeyNames(const std::string& path);
std::vector<std::string> ValueNames(const std::string& path);
// False when the key or value does not exist.
bool DeleteValueAt(const std::string& path, const std::string& name);
// A handle on an existing key, counted by OpenHandleCount until it is closed
// with CloseHandle; nullptr when the key does not exist.
void* OpenHandleOn(const std::string& path);
void CloseHandle(void* handle);
// Setting values in that key fails with "access denied", as for a key whose
// permissions let the user read it only.
void RefuseWritesTo(const std::string& path);
bool WritesRefused(const std::string& path);
// The key path of an open handle; false for a handle that is not open.
bool HandlePath(void* handle, std::string* path);

}  // namespace quillon::fake_registry

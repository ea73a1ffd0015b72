// The configurator's read-write registry seam over the in-memory registry,
// the current user's. Every handle counts in OpenHandleCount until it
// is closed.
#include <cstring>

#include "configurator/seams/registry_access.h"
#include "tests/fakes/fake_registry.h"

namespace quillon {

namespace {

bool PathOf(StoreKeyHandle key, std::string* path) { return fake_registry::HandlePath(key, path); }

std::string ChildPath(const std::string& parent, const std::string& name) {
  return parent.empty() ? name : parent + "\\" + name;
}

}  // namespace

long OpenStoreKey(const std::string& path, KeyAccess, StoreKeyHandle* key) {
  *key = nullptr;
  if (fake_registry::OpenFails()) return kErrorAccessDenied;
  *key = fake_registry::OpenHandleOn(path);
  return *key != nullptr ? 0 : kErrorFileNotFound;
}

long CreateStoreKey(const std::string& path, StoreKeyHandle* key) {
  *key = nullptr;
  if (fake_registry::OpenFails()) return kErrorAccessDenied;
  fake_registry::CreateKey(path);
  *key = fake_registry::OpenHandleOn(path);
  return 0;
}

void CloseStoreKey(StoreKeyHandle key) { fake_registry::CloseHandle(key); }

long SetStoreValue(StoreKeyHandle key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) {
  std::string path;
  if (!PathOf(key, &path)) return 6;
  if (fake_registry::WritesRefused(path)) return kErrorAccessDenied;
  fake_registry::SetValue(path, name, type, data);
  return 0;
}

long DeleteStoreValue(StoreKeyHandle key, const std::string& name) {
  std::string path;
  if (!PathOf(key, &path)) return 6;
  return fake_registry::DeleteValueAt(path, name) ? 0 : kErrorFileNotFound;
}

long DeleteStoreSubkey(StoreKeyHandle key, const std::string& name) {
  std::string path;
  if (!PathOf(key, &path)) return 6;
  std::string child = ChildPath(path, name);
  if (!fake_registry::KeyExists(child)) return kErrorFileNotFound;
  if (!fake_registry::SubkeyNames(child).empty()) return kErrorAccessDenied;
  fake_registry::DeleteTree(child);
  return 0;
}

long EnumStoreSubkey(StoreKeyHandle key, uint32_t index, std::string* name) {
  std::string path;
  if (!PathOf(key, &path)) return 6;
  std::vector<std::string> names = fake_registry::SubkeyNames(path);
  if (index >= names.size()) return kErrorNoMoreItems;
  *name = names[index];
  return 0;
}

long EnumStoreValue(StoreKeyHandle key, uint32_t index, std::string* name, uint32_t* type, std::vector<uint8_t>* data) {
  std::string path;
  if (!PathOf(key, &path)) return 6;
  std::vector<std::string> names = fake_registry::ValueNames(path);
  if (index >= names.size()) return kErrorNoMoreItems;
  const fake_registry::Value* value = fake_registry::FindValue(path, names[index]);
  *name = names[index];
  *type = value->type;
  *data = value->bytes;
  return 0;
}

}  // namespace quillon

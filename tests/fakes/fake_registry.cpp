#include "tests/fakes/fake_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "runtime/seams/registry_reader.h"

namespace quillon::fake_registry {

namespace {

struct Key {
  std::map<std::string, Value> values;  // by lower-case name
};

std::map<std::string, Key> g_keys;  // by lower-case path, without leading or trailing "\"
std::set<const std::string*> g_openHandles;
bool g_openFails = false;

std::string Normalised(const std::string& path) {
  std::string lower;
  for (char c : path) lower += char(std::tolower(static_cast<unsigned char>(c)));
  while (!lower.empty() && lower.back() == '\\') lower.pop_back();
  size_t start = lower.find_first_not_of('\\');
  return start == std::string::npos ? std::string() : lower.substr(start);
}

Key& CreateNormalisedKey(const std::string& path) {
  for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) g_keys[path.substr(0, at)];
  return g_keys[path];
}

}  // namespace

void Reset() {
  g_keys.clear();
  for (const std::string* handle : g_openHandles) delete handle;
  g_openHandles.clear();
  g_openFails = false;
}

void CreateKey(const std::string& path) { CreateNormalisedKey(Normalised(path)); }

void SetValue(const std::string& path, const std::string& name, uint32_t type, std::vector<uint8_t> bytes) {
  CreateNormalisedKey(Normalised(path)).values[Normalised(name)] = Value{type, std::move(bytes)};
}

void DeleteTree(const std::string& path) {
  std::string key = Normalised(path);
  for (auto it = g_keys.begin(); it != g_keys.end();) {
    bool below = it->first == key || (it->first.size() > key.size() && it->first.compare(0, key.size(), key) == 0 &&
                                      it->first[key.size()] == '\\');
    it = below ? g_keys.erase(it) : std::next(it);
  }
}

bool KeyExists(const std::string& path) { return g_keys.count(Normalised(path)) != 0; }

const Value* FindValue(const std::string& path, const std::string& name) {
  auto key = g_keys.find(Normalised(path));
  if (key == g_keys.end()) return nullptr;
  auto value = key->second.values.find(Normalised(name));
  return value == key->second.values.end() ? nullptr : &value->second;
}

int OpenHandleCount() { return int(g_openHandles.size()); }

void SetOpenFails(bool fails) { g_openFails = fails; }

}  // namespace quillon::fake_registry

namespace quillon {

using namespace fake_registry;

RegistryKeyHandle OpenUserKeyForReading(const char* path) {
  std::string key = Normalised(path);
  if (g_openFails || g_keys.count(key) == 0) return nullptr;
  auto* handle = new std::string(key);
  g_openHandles.insert(handle);
  return handle;
}

bool QueryRegistryValue(RegistryKeyHandle key, const char* name, void* buffer, uint32_t* size) {
  auto* handle = static_cast<const std::string*>(key);
  if (g_openHandles.count(handle) == 0) return false;
  const Value* value = FindValue(*handle, name);
  if (value == nullptr) return false;
  if (value->bytes.size() > *size) return false;  // the system answers "more data"
  if (!value->bytes.empty()) std::memcpy(buffer, value->bytes.data(), value->bytes.size());
  *size = uint32_t(value->bytes.size());
  return true;
}

void CloseRegistryKey(RegistryKeyHandle key) {
  auto* handle = static_cast<const std::string*>(key);
  if (g_openHandles.erase(handle) != 0) delete handle;
}

}  // namespace quillon

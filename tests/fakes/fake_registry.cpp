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
  std::map<std::string, Value> values;            // by lower-case name
  std::map<std::string, std::string> valueNames;  // lower-case name -> name as first written
};

std::map<std::string, Key> g_keys;              // by lower-case path, without leading or trailing "\"
std::map<std::string, std::string> g_keyNames;  // lower-case path -> last part as first written
std::set<const std::string*> g_openHandles;
bool g_openFails = false;
std::set<std::string> g_refusedWrites;

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

// Remembers how each part of a path was spelled when it first appeared.
void RememberSpelling(const std::string& path) {
  std::string trimmed = path;
  while (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
  size_t start = trimmed.find_first_not_of('\\');
  if (start == std::string::npos) return;
  trimmed = trimmed.substr(start);
  for (size_t end = 0; end != std::string::npos;) {
    end = trimmed.find('\\', end + 1);
    std::string prefix = trimmed.substr(0, end);
    size_t last = prefix.rfind('\\');
    g_keyNames.emplace(Normalised(prefix), last == std::string::npos ? prefix : prefix.substr(last + 1));
  }
}

}  // namespace

void Reset() {
  g_keys.clear();
  g_keyNames.clear();
  for (const std::string* handle : g_openHandles) delete handle;
  g_openHandles.clear();
  g_openFails = false;
  g_refusedWrites.clear();
}

void CreateKey(const std::string& path) {
  RememberSpelling(path);
  CreateNormalisedKey(Normalised(path));
}

void SetValue(const std::string& path, const std::string& name, uint32_t type, std::vector<uint8_t> bytes) {
  RememberSpelling(path);
  Key& key = CreateNormalisedKey(Normalised(path));
  key.values[Normalised(name)] = Value{type, std::move(bytes)};
  key.valueNames.emplace(Normalised(name), name);
}

void DeleteTree(const std::string& path) {
  std::string key = Normalised(path);
  for (auto it = g_keys.begin(); it != g_keys.end();) {
    bool below = it->first == key || (it->first.size() > key.size() && it->first.compare(0, key.size(), key) == 0 &&
                                      it->first[key.size()] == '\\');
    if (below) g_keyNames.erase(it->first);
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

bool OpenFails() { return g_openFails; }

std::vector<std::string> SubkeyNames(const std::string& path) {
  std::string parent = Normalised(path);
  std::vector<std::string> names;
  for (const auto& entry : g_keys) {
    const std::string& key = entry.first;
    if (parent.empty() ? key.empty()
                       : (key.size() <= parent.size() + 1 || key.compare(0, parent.size(), parent) != 0 ||
                          key[parent.size()] != '\\'))
      continue;
    std::string rest = key.substr(parent.empty() ? 0 : parent.size() + 1);
    if (rest.find('\\') != std::string::npos) continue;
    auto spelled = g_keyNames.find(key);
    names.push_back(spelled != g_keyNames.end() ? spelled->second : rest);
  }
  return names;
}

std::vector<std::string> ValueNames(const std::string& path) {
  std::vector<std::string> names;
  auto key = g_keys.find(Normalised(path));
  if (key == g_keys.end()) return names;
  for (const auto& entry : key->second.values) {
    auto spelled = key->second.valueNames.find(entry.first);
    names.push_back(spelled != key->second.valueNames.end() ? spelled->second : entry.first);
  }
  return names;
}

bool DeleteValueAt(const std::string& path, const std::string& name) {
  auto key = g_keys.find(Normalised(path));
  if (key == g_keys.end()) return false;
  key->second.valueNames.erase(Normalised(name));
  return key->second.values.erase(Normalised(name)) != 0;
}

void* OpenHandleOn(const std::string& path) {
  std::string key = Normalised(path);
  if (g_keys.count(key) == 0) return nullptr;
  auto* handle = new std::string(key);
  g_openHandles.insert(handle);
  return handle;
}

void CloseHandle(void* handle) {
  auto* key = static_cast<const std::string*>(handle);
  if (g_openHandles.erase(key) != 0) delete key;
}

void RefuseWritesTo(const std::string& path) { g_refusedWrites.insert(Normalised(path)); }
bool WritesRefused(const std::string& path) { return g_refusedWrites.count(Normalised(path)) != 0; }

bool HandlePath(void* handle, std::string* path) {
  auto* key = static_cast<const std::string*>(handle);
  if (g_openHandles.count(key) == 0) return false;
  *path = *key;
  return true;
}

}  // namespace quillon::fake_registry

namespace quillon {

using namespace fake_registry;

bool ReadUserKey(const std::string& path, const std::vector<std::string>& names, StoredGroup* values) {
  if (g_openFails || g_keys.count(Normalised(path)) == 0) return false;
  for (const std::string& name : names) {
    const Value* value = FindValue(path, name);
    if (value == nullptr || value->bytes.size() > kRegistryValueBuffer) continue;  // the system answers "more data"
    values->push_back(
        {name, StoredTypeOfRegistryType(value->type), std::string(value->bytes.begin(), value->bytes.end())});
  }
  return true;
}

}  // namespace quillon

#include "tests/fakes/fake_registry.h"
#include "tests/kit/test_registry.h"

namespace quillon::test_registry {

void DeleteSettingsTree() { fake_registry::DeleteTree(SettingsPath()); }
void CreateKey(const std::string& path) { fake_registry::CreateKey(path); }

void WriteBytes(const std::string& path, const std::string& name, uint32_t type, const std::vector<uint8_t>& bytes) {
  fake_registry::SetValue(path, name, type, bytes);
}

bool ReadBytes(const std::string& path, const std::string& name, uint32_t* type, std::vector<uint8_t>* bytes) {
  const fake_registry::Value* value = fake_registry::FindValue(path, name);
  if (value == nullptr) return false;
  *type = value->type;
  *bytes = value->bytes;
  return true;
}

bool KeyExists(const std::string& path) { return fake_registry::KeyExists(path); }

}  // namespace quillon::test_registry

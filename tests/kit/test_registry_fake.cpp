#include "tests/fakes/fake_registry.h"
#include "tests/kit/test_registry.h"

namespace quillon::test_registry {

void DeleteSettingsTree() { fake_registry::DeleteTree(SettingsPath()); }
void CreateKey(const std::string& path) { fake_registry::CreateKey(path); }

void WriteBytes(const std::string& path, const std::string& name, uint32_t type, const std::vector<uint8_t>& bytes) {
  fake_registry::SetValue(path, name, type, bytes);
}

}  // namespace quillon::test_registry

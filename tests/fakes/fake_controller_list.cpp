#include "tests/fakes/fake_controller_list.h"

#include <utility>

namespace quillon {

namespace {
std::vector<std::string>& AttachedControllers() {
  static std::vector<std::string> names;
  return names;
}
}  // namespace

void SetAttachedControllers(std::vector<std::string> names) { AttachedControllers() = std::move(names); }

std::vector<std::string> EnumerateAttachedControllers() { return AttachedControllers(); }

}  // namespace quillon

// Export files of any content: the profile-file reader and writer, and a
// whole import through the store layer into the model, with the file held in
// memory. Nothing may crash, a key that was just set must read back, and the
// loaded lists stay within their bounds.
#include <cctype>
#include <cstdint>
#include <string>

#include "configurator/export_file.h"
#include "configurator/portable/profile_text.h"
#include "configurator/settings_model.h"
#include "configurator/tree_stores.h"
#include "tests/fakes/fake_configurator_files.h"

namespace {

// A key replaced in place keeps the spelling of its name, so names compare
// without case.
void CheckSetKeyReadsBack(const std::string& content) {
  using namespace quillon::profile_text;
  const std::string updated = WithKeySet(content, "Key 01", "AppParms", "--config=x.ini");
  std::string lines = std::string(1, '\0') + SectionLines(updated, "Key 01");
  for (char& c : lines) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (lines.find(std::string(1, '\0') + "appparms=--config=x.ini" + '\0') == std::string::npos) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillon;
  const std::string content(reinterpret_cast<const char*>(data), size);

  CheckSetKeyReadsBack(content);
  std::string name, value;
  treeStores::SplitIniLine(content, &name, &value);

  const std::string file = "C:\\fuzz\\arcade.qlf";
  fake_configurator_files::Reset();
  fake_configurator_files::SetFile(file, content);
  ConfiguratorSettings model;
  ConfiguratorSession session;
  FillDefaultConfigNames(session);
  if (!ImportFromFile(file, model, session)) __builtin_trap();
  if (model.keyCount < 0 || model.keyCount > kMaxActions) __builtin_trap();
  if (model.buttonCount < 0 || model.buttonCount > kMaxActions) __builtin_trap();
  return 0;
}

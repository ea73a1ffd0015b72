#include "configurator/field_insertion.h"

#include "configurator/seams/window_controls.h"

namespace quillon {

// EM_REPLACESEL keeps as much of the text as the limit leaves room for and
// drops the rest without a word: "{ENT" for "{ENTER}", half a path. Either
// makes a sequence or a command line that the runtime refuses later.
bool InsertWhole(int fieldId, const std::string& text) {
  if (text.size() > size_t(RoomForReplacement(fieldId))) {
    BeepRefusal();
    return false;
  }
  ReplaceSelection(fieldId, text);
  return true;
}

std::string AsOneArgument(const std::string& path) {
  return path.find(' ') != std::string::npos ? '"' + path + '"' : path;
}

}  // namespace quillon

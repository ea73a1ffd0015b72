// Text put into a field at its caret, as the Add and Browse buttons do.
#pragma once

#include <string>

namespace quillon {

// `text` replaces the field's selection (at the caret when nothing is
// selected) only when the field's text limit takes all of it; otherwise the
// field stays as it was and the user hears the refusal. False then.
bool InsertWhole(int fieldId, const std::string& text);

// A path as one argument of a command line: in double quotes when it holds a
// blank, since the program started with it (this configurator with a ".qlf"
// file, most others too) splits its command line at blanks.
std::string AsOneArgument(const std::string& path);

}  // namespace quillon

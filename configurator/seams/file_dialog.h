// The system's file dialog, asked for one file.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quillon {

// Open asks to create a missing file and does not follow shortcuts; Save
// asks before a file is overwritten.
enum class FileDialogKind { Open, Save };

struct FileDialogOptions {
  FileDialogKind kind = FileDialogKind::Open;
  std::vector<std::pair<std::string, std::string>> filters;  // description, pattern; the first is selected
  std::string initialFileName;
  std::string defaultExtension;  // without its period; "" for none
  std::string title;
  std::string initialFolder;
  void* owner = nullptr;
};

// True with the chosen file's full path; false when the user cancels.
bool AskForFile(const FileDialogOptions& options, std::string* path);

}  // namespace quillon

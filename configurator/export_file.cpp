#include "configurator/export_file.h"

#include "configurator/path_helpers.h"
#include "configurator/seams/file_system.h"
#include "configurator/seams/main_window_host.h"
#include "configurator/seams/message_boxes.h"
#include "configurator/seams/profile_file.h"
#include "configurator/system_services.h"

namespace quillon {

namespace {

void ReportNotWritten(const std::string& path) {
  ShowMessageBox("File \"" + path + "\" could not be written.", "Error", MessageIcon::Critical, MessageButtons::Ok);
}

// Asks for one export file; false when the user cancels.
bool ChooseExportFile(const char* title, FileDialogKind kind, const std::string& folder, std::string* path) {
  FileDialogOptions options;
  options.kind = kind;
  options.filters = {{kExportFilterText, kExportFilterPattern}};
  options.defaultExtension = kExportExtension;
  options.title = title;
  options.initialFolder = folder;
  options.owner = MainWindowHandle();
  return ShowFileDialog(options, path);
}

}  // namespace

std::string ExportWorkFile(const std::string& path) { return path + ".saving"; }

bool ExportToFile(const std::string& path, ConfiguratorSettings& model, WindowFields& fields,
                  const EditorEntry& editor) {
  if (FileExists(path) && ShowMessageBox("Overwrite existing configuration?", "Request", MessageIcon::Question,
                                         MessageButtons::YesNo) != MessageAnswer::Yes)
    return false;
  ConfiguratorSettings candidate = CandidateSettings(model, fields, editor);

  // The new content is built in a file of its own beside the target, which
  // it replaces only once complete: a failed write keeps the old file whole.
  const std::string work = ExportWorkFile(path);
  RemoveFile(work);
  bool written = CreateEmptyFile(work) && WriteToFile(work, candidate).what.empty() && FlushProfileFile(work) == 0 &&
                 ReplaceFileWith(work, path);
  if (!written) {
    RemoveFile(work);
    ReportNotWritten(path);
    return false;
  }
  model = std::move(candidate);
  return true;
}

void SaveCommand(ConfiguratorSettings& model, const ConfiguratorSession& session, WindowFields& fields,
                 const EditorEntry& editor) {
  std::string path;
  if (ChooseExportFile("Save configuration", FileDialogKind::Save, session.dataFolder, &path))
    ExportToFile(path, model, fields, editor);
}

bool LoadCommand(ConfiguratorSettings& model, const ConfiguratorSession& session) {
  std::string path;
  return ChooseExportFile("Load configuration", FileDialogKind::Open, session.dataFolder, &path) &&
         ImportFromFile(path, model, session);
}

bool ImportFromFile(const std::string& path, ConfiguratorSettings& model, const ConfiguratorSession& session) {
  // The existence test matches wildcards, which the profile functions then
  // take literally: such a path names no file that could be read.
  if (HasWildcards(path) || !FileExists(path)) {
    ShowMessageBox("File \"" + path + "\" does not exist.", "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  ReadFromFile(path, model, session);
  return true;
}

}  // namespace quillon

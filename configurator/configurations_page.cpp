#include "configurator/configurations_page.h"

#include <algorithm>

#include "configurator/field_controls.h"
#include "configurator/path_helpers.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/file_system.h"
#include "configurator/seams/message_boxes.h"
#include "configurator/system_services.h"
#include "shared/settings_tree.h"

namespace quillon {

namespace {
constexpr int kAvailable = IDC_lstAvailableConfigs;
constexpr int kActive = IDC_lstActiveConfigs;
constexpr const char* kMapExtension = ".ugc";
constexpr const char* kSoundExtension = ".wav";
// What the page shows one control to one field, beside the two lists.
constexpr FieldControl kFieldControls[] = {
    {Field::ChangeTimeout, IDC_txtSwitchTimeout, ShownBy::EditField},
    {Field::ApplyOnStart, IDC_chkLoadConfigOnApply, ShownBy::CheckBox},
};

void ShowError(const std::string& text) { ShowMessageBox(text, "Error", MessageIcon::Critical, MessageButtons::Ok); }
bool AnsweredYes(const std::string& text, const std::string& title) {
  return ShowMessageBox(text, title, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

// A configuration's name and the map file it is listed from.
struct MapFile {
  std::string name;
  std::string file;
};

// The map files of the data folder, in the order the system returns them,
// each name once. The system's "*.ugc" also finds longer extensions such as
// "x.ugcx" (its short name X~1.UGC matches), and the runtime, which asks for
// name + ".ugc", could never find those: only an extension of exactly
// ".ugc", in any case, counts. A file called ".ugc" alone has no name.
std::vector<MapFile> MapFilesOfDataFolder(const std::string& folder) {
  std::vector<MapFile> maps;
  for (const std::string& file : ListFiles(JoinPath(folder, std::string("*") + kMapExtension))) {
    if (!HasExtension(file, kMapExtension)) continue;
    std::string name = ReplaceAll(file, kMapExtension, "");
    bool listed = std::any_of(maps.begin(), maps.end(), [&](const MapFile& map) { return map.name == name; });
    if (!name.empty() && !listed) maps.push_back({name, file});
  }
  return maps;
}

int RowReading(int list, const std::string& text) {
  for (int row = 0; row < RowCount(list); ++row)
    if (RowText(list, row) == text) return row;
  return -1;
}

// The available list from the folder; the list box sorts the names itself.
void ListDataFolder(const std::string& folder) {
  ClearRows(kAvailable);
  for (const MapFile& map : MapFilesOfDataFolder(folder)) InsertRow(kAvailable, -1, map.name);
}

void MoveToActiveList(int availableRow) {
  InsertRow(kActive, -1, RowText(kAvailable, availableRow));
  RemoveRow(kAvailable, availableRow);
}

void InsertConfiguration() {
  const int row = SelectedRow(kAvailable);
  if (row < 0) return;
  if (RowCount(kActive) >= kMaxConfigs) {
    ShowError("There is a limit of 10 active configurations.");
    return;
  }
  MoveToActiveList(row);
}

void UnselectConfiguration() {
  const int row = SelectedRow(kActive);
  if (row < 0) return;
  InsertRow(kAvailable, -1, RowText(kActive, row));
  RemoveRow(kActive, row);
}

// Rows `upper` and `upper` + 1 of the active list change places.
void ExchangeActiveRows(int upper) {
  const std::string lower = RowText(kActive, upper + 1);
  RemoveRow(kActive, upper + 1);
  InsertRow(kActive, upper, lower);
}

void MoveUp() {
  const int row = SelectedRow(kActive);
  if (row <= 0) return;
  ExchangeActiveRows(row - 1);
  SelectRow(kActive, row - 1);
}

void MoveDown() {
  const int row = SelectedRow(kActive);
  if (row < 0 || row >= RowCount(kActive) - 1) return;
  ExchangeActiveRows(row);
  SelectRow(kActive, row + 1);
}

// A file that is not there is no error (a map without a sound is usual); a
// file that stays after its deletion (read-only, in use, another user's)
// is named, so no one believes it gone.
void RemoveDataFile(const std::string& folder, const std::string& file) {
  const std::string path = JoinPath(folder, file);
  if (!DeleteFileAt(path) && PathAttributesReadable(path)) ShowError(file + ": error deleting file.");
}

void ImportDroppedFile(const std::string& folder, const std::string& path) {
  const std::string name = FileNameOf(path);
  if (!HasExtension(name, kMapExtension) && !HasExtension(name, kSoundExtension)) return;
  const std::string target = JoinPath(folder, name);
  // A file dragged out of the data folder onto its own list is already in
  // place: copying it onto itself would ask to overwrite it, then fail.
  if (IsSameFile(path, target)) return;
  if (FileExists(target) && !AnsweredYes(name + ": file exists, overwrite?", "Warning")) return;
  if (!CopyFileReplacing(path, target)) ShowError(name + ": error copying file.");
}
}  // namespace

void FillConfigLists(const std::string& folder, const ConfiguratorSettings& model) {
  ListDataFolder(folder);
  ClearRows(kActive);
  // Empty slots, names whose file has gone and names stored twice find no
  // available row and drop out: the next Apply stores the cleaned list.
  for (int i = 0; i < kMaxConfigs; ++i) {
    const int row = RowReading(kAvailable, model.configNames[size_t(i)]);
    if (row >= 0) MoveToActiveList(row);
  }
}

void RefreshConfigLists(const std::string& folder) {
  ListDataFolder(folder);
  for (int row = 0; row < RowCount(kActive);) {
    const int available = RowReading(kAvailable, RowText(kActive, row));
    if (available >= 0) {
      RemoveRow(kAvailable, available);
      ++row;
    } else {
      RemoveRow(kActive, row);
    }
  }
}

void DeleteConfiguration(const std::string& folder) {
  const int row = SelectedRow(kAvailable);
  if (row < 0) return;
  if (!AnsweredYes("Permanently delete selected configuration?", "Request")) return;
  // The files go by the name as listed: its map file as found in the folder
  // (an upper-cased name would miss it on a folder that tells case apart),
  // and the sound of the same name.
  const std::string name = RowText(kAvailable, row);
  std::string mapFile = name + kMapExtension;
  for (const MapFile& map : MapFilesOfDataFolder(folder))
    if (map.name == name) mapFile = map.file;
  RemoveDataFile(folder, mapFile);
  RemoveDataFile(folder, name + kSoundExtension);
  RefreshConfigLists(folder);
}

void ImportDroppedFiles(const std::string& folder, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) ImportDroppedFile(folder, path);
  RefreshConfigLists(folder);
}

void OnConfigurationsEvent(const std::string& folder, int id, ControlEvent event) {
  const bool click = event == ControlEvent::Click;
  const bool doubleClick = event == ControlEvent::DoubleClick;
  if ((id == IDC_cmdInsert && click) || (id == kAvailable && doubleClick)) InsertConfiguration();
  else if ((id == IDC_cmdRemove && click) || (id == kActive && doubleClick)) UnselectConfiguration();
  else if (id == IDC_cmdUp && click) MoveUp();
  else if (id == IDC_cmdDown && click) MoveDown();
  else if (id == IDC_cmdRefresh && click) RefreshConfigLists(folder);
  else if (id == IDC_cmdDelete && click) DeleteConfiguration(folder);
}

void ShowConfigurationsPage(const std::string& folder, const ConfiguratorSettings& model) {
  FillConfigLists(folder, model);
  ShowFieldControls(kFieldControls, model);
}

void ReadConfigurationsFields(WindowFields& fields) {
  fields.activeConfigs.clear();
  for (int row = 0; row < RowCount(kActive); ++row) fields.activeConfigs.push_back(RowText(kActive, row));
  ReadFieldControls(kFieldControls, fields);
}

void ShowConfigurationsFields(const WindowFields& fields) { ShowTakenTexts(kFieldControls, fields); }

}  // namespace quillon

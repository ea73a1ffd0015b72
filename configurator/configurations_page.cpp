#include "configurator/configurations_page.h"

#include <algorithm>
#include <map>
#include <set>

#include "configurator/field_controls.h"
#include "configurator/mame_list.h"
#include "configurator/path_helpers.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/file_dialog.h"
#include "configurator/seams/file_system.h"
#include "configurator/seams/main_window_host.h"
#include "configurator/seams/message_boxes.h"
#include "configurator/seams/progress_window.h"
#include "configurator/system_services.h"
#include "shared/games_list.h"
#include "shared/settings_tree.h"
#include "shared/text_helpers.h"

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
    {Field::FollowGame, IDC_chkFollowGame, ShownBy::CheckBox},
};
constexpr const char* kGamesExtension = ".games";

// What the fields below the lists show of the selected active configuration,
// and what they held for the others: each map's window pattern and games
// list by its name, so that both stay with their map when the list is
// reordered, and edits survive selecting another map until Apply.
struct MapDetails {
  std::string shown;                           // the map the fields show; "" when none is selected
  std::map<std::string, std::string> windows;  // the window patterns
  std::map<std::string, std::string> games;    // the games lists' texts, as edited or filled
  std::map<std::string, std::string> filed;    // ... and as their files held them when read
  // Maps whose games file is longer than the runtime reads: the field shows
  // its start and takes no edits, so that an Apply never cuts the file.
  std::set<std::string> tooLong;
};
MapDetails g_details;

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

// A multi-line edit field breaks lines at "\r\n" only: a file written with
// bare "\n" (by another editor or a script) would show on one line.
std::string WithFieldLineEnds(const std::string& text) {
  std::string shown;
  shown.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) shown += '\r';
    shown += text[i];
  }
  return shown;
}

// The games list's text as its file holds it; a missing or unreadable file
// is an empty list, as the runtime counts it. The runtime reads no more than
// kGamesListMaxBytes of a file, and neither does the field.
std::string GamesFileText(const std::string& folder, const std::string& map) {
  std::string text = ReadFileStart(JoinPath(folder, map + kGamesExtension), kGamesListMaxBytes + 1).value_or("");
  if (text.size() > kGamesListMaxBytes) {
    g_details.tooLong.insert(map);
    text.resize(kGamesListMaxBytes);
  }
  return WithFieldLineEnds(text);
}

void KeepShownDetails() {
  if (g_details.shown.empty()) return;
  g_details.windows[g_details.shown] = ControlText(IDC_txtConfigWindow);
  g_details.games[g_details.shown] = ControlText(IDC_txtConfigGames);
}

// The fields show the selected active configuration; with none selected
// they are empty and take no input.
void ShowSelectedDetails(const std::string& folder) {
  KeepShownDetails();
  const int row = SelectedRow(kActive);
  g_details.shown = row < 0 ? std::string() : RowText(kActive, row);
  const std::string& map = g_details.shown;
  if (!map.empty() && g_details.games.count(map) == 0)
    g_details.games[map] = g_details.filed[map] = GamesFileText(folder, map);
  for (int id : {IDC_labConfigGames, IDC_labConfigWindow, IDC_txtConfigWindow}) SetEnabled(id, !map.empty());
  SetEnabled(IDC_txtConfigGames, !map.empty() && g_details.tooLong.count(map) == 0);
  SetControlText(IDC_txtConfigGames, map.empty() ? std::string() : g_details.games[map]);
  SetControlText(IDC_txtConfigWindow, map.empty() ? std::string() : g_details.windows[map]);
}

std::string FileErrorText(const std::string& file, const char* what) { return "\"" + file + "\" " + what; }

// One line of the import's summary: "8-Way: 1,234 games".
std::string Counted(size_t count, const char* what) {
  std::string digits = std::to_string(count);
  for (int at = int(digits.size()) - 3; at > 0; at -= 3) digits.insert(size_t(at), ",");
  return digits + " " + what + (count == 1 ? "" : "s");
}

// Fills the games lists of the active stock maps from the list at `path`,
// and says what each got. Only a list read whole changes anything.
void FillFromMameList(const std::string& folder, const std::string& path) {
  OpenProgressWindow("Reading \"" + FileNameOf(path) + "\"...");
  const MameListResult list = ReadMameList(path, StepProgress);
  CloseProgressWindow();
  switch (list.outcome) {
    case MameListOutcome::Cancelled: return;
    case MameListOutcome::Unreadable: ShowError(FileErrorText(path, "could not be read. Nothing was changed.")); return;
    case MameListOutcome::NotAList:
    case MameListOutcome::Broken:
      ShowError(FileErrorText(path, list.outcome == MameListOutcome::Broken
                                        ? "is a MAME list that is cut short or broken. Nothing was changed."
                                        : "is not a machine list written by \"mame -listxml\". Nothing was changed."));
      return;
    case MameListOutcome::Read: break;
  }
  KeepShownDetails();
  std::string summary = "Games found for each stick mode:\n";
  size_t leftOut = list.leftOut;
  for (size_t mode = 0; mode < kStickModeCount; ++mode) {
    // The stock name as the user may have spelt it ("4-way"): the map is
    // found by the runtime without case too.
    std::string map = StockMapName(StickMode(mode));
    for (int row = 0; row < RowCount(kActive); ++row)
      if (SameTextIgnoringCase(RowText(kActive, row), map)) map = RowText(kActive, row);
    const std::vector<std::string>& games = list.games[mode];
    if (RowReading(kActive, map) < 0) {
      leftOut += games.size();
      summary += map + ": not an active configuration, " + Counted(games.size(), "game") + " left out\n";
      continue;
    }
    if (g_details.filed.count(map) == 0) g_details.filed[map] = GamesFileText(folder, map);
    g_details.games[map] = GamesListText(games);
    g_details.tooLong.erase(map);  // replaced whole
    summary += map + ": " + Counted(games.size(), "game") + "\n";
  }
  summary += "Left out: " + Counted(leftOut, "game") +
             " (controls that no stick mode fits, or their map is not active).\n\nApply writes the lists.";
  g_details.shown.clear();  // shown again from what was filled
  ShowSelectedDetails(folder);
  ShowMessageBox(summary, "Import MAME list", MessageIcon::Information, MessageButtons::Ok);
}

void ImportMameList(const std::string& folder) {
  FileDialogOptions options;
  options.kind = FileDialogKind::Open;
  options.filters = {{"MAME machine lists (*.xml)", "*.xml"}, {"All files (*.*)", "*.*"}};
  options.title = "Import MAME list";
  options.owner = MainWindowHandle();
  std::string path;
  if (ShowFileDialog(options, &path)) FillFromMameList(folder, path);
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
  else if (id == IDC_cmdImportMameList && click) ImportMameList(folder);
  // Every change of the active list's rows or selection can change the map
  // that the fields show.
  if (id == kActive || id == IDC_cmdInsert || id == IDC_cmdRemove || id == IDC_cmdUp || id == IDC_cmdDown ||
      id == IDC_cmdRefresh || id == IDC_cmdDelete)
    ShowSelectedDetails(folder);
}

void ShowConfigurationsPage(const std::string& folder, const ConfiguratorSettings& model) {
  FillConfigLists(folder, model);
  ShowFieldControls(kFieldControls, model);
  g_details = {};
  for (int i = 0; i < kMaxConfigs; ++i)
    if (!model.configNames[size_t(i)].empty())
      g_details.windows[model.configNames[size_t(i)]] = model.configWindows[size_t(i)];
  ShowSelectedDetails(folder);
}

void ReadConfigurationsFields(WindowFields& fields) {
  fields.activeConfigs.clear();
  for (int row = 0; row < RowCount(kActive); ++row) fields.activeConfigs.push_back(RowText(kActive, row));
  ReadFieldControls(kFieldControls, fields);
  KeepShownDetails();
  fields.windowPatterns = g_details.windows;
  fields.gamesLists.clear();
  for (const auto& [map, text] : g_details.games)
    if (auto filed = g_details.filed.find(map); filed == g_details.filed.end() || filed->second != text)
      fields.gamesLists[map] = text;
}

void GamesListsWritten(const WindowFields& fields) {
  for (const auto& [map, text] : fields.gamesLists) g_details.filed[map] = text;
}

void ShowConfigurationsFields(const WindowFields& fields) { ShowTakenTexts(kFieldControls, fields); }

}  // namespace quillon

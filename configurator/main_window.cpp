#include "configurator/main_window.h"

#include "configurator/about_page.h"
#include "configurator/apply_command.h"
#include "configurator/actions_page.h"
#include "configurator/configurations_page.h"
#include "configurator/entries_never_fire.h"
#include "configurator/export_file.h"
#include "configurator/other_settings_page.h"
#include "configurator/resource_ids.h"
#include "configurator/runtime_control.h"
#include "configurator/seams/help_viewer.h"
#include "configurator/seams/main_window_host.h"
#include "configurator/seams/shell_folders.h"
#include "configurator/settings_model.h"

namespace quillon {

namespace {

// The configurator's run: its one model, and the facts settled at start that
// the start hands over. Every other file is handed what it needs of them.
struct WindowRun {
  ConfiguratorSettings model;
  ConfiguratorSession session;
};
WindowRun g_run;

// The global settings as the controls of both pages hold them.
WindowFields ReadWindowFields() {
  WindowFields fields;
  ReadConfigurationsFields(fields);
  ReadOtherSettingsFields(fields);
  return fields;
}

// Collecting mends a numeric field that is not a number, and Apply trims the
// mapping program's path: the window shows what was taken.
void ShowTakenFields(const WindowFields& fields) {
  ShowConfigurationsFields(fields);
  ShowOtherSettingsFields(fields);
}

// The never-fire check looks at what the write would take, without the
// mends that only a write shows.
bool GoOnDespiteEntriesThatNeverFire(WindowFields fields, const EditorEntry& editor) {
  return GoOnDespiteEntriesThatNeverFire(CandidateSettings(g_run.model, fields, editor));
}

void Apply() {
  WindowFields fields = ReadWindowFields();
  const EditorEntry editor = ReadEditorEntry();
  if (!GoOnDespiteEntriesThatNeverFire(fields, editor)) return;
  if (ApplySettings(g_run.model, g_run.session, fields, editor)) GamesListsWritten(fields);
  ShowTakenFields(fields);
}

void Save() {
  WindowFields fields = ReadWindowFields();
  const EditorEntry editor = ReadEditorEntry();
  if (!GoOnDespiteEntriesThatNeverFire(fields, editor)) return;
  SaveCommand(g_run.model, g_run.session, fields, editor);
  ShowTakenFields(fields);
}

}  // namespace

void LoadMainWindow() {
  if (PageExists(kAboutPage)) ShowAboutPage();
  if (PageExists(kActionsPage) || PageExists(kOtherSettingsPage)) {
    ReloadWindow();
    return;
  }
  // The first page shows no entry: they are read once the window shows.
  LoadFromRegistry(g_run.model, g_run.session, EntriesRead::Later);
  RefreshWindow();
}

void OnMainWindowShown() { ReadEntriesLeftUnread(g_run.model); }

// Under Wine every control made or looked up is a round trip to the server,
// and DirectInput takes long to start: what a page not made yet would show is
// built when it is made.
void ReloadWindow() {
  if (PageExists(kActionsPage)) FillActionLists();
  if (PageExists(kOtherSettingsPage)) EnumerateControllers();
  LoadFromRegistry(g_run.model, g_run.session);
  RefreshWindow();
}

// The pages touch disjoint controls, so the order between them matters only
// for the action page, whose first entry is opened last.
void RefreshWindow() {
  ShowConfigurationsPage(g_run.session.dataFolder, g_run.model);
  if (PageExists(kOtherSettingsPage)) ShowOtherSettingsPage(g_run.model);
  if (PageExists(kActionsPage)) ShowActionsPage(g_run.model);
}

void FillMadePage(int page) {
  ReadEntriesLeftUnread(g_run.model);
  switch (page) {
    case kActionsPage:
      FillActionLists();
      ShowActionsPage(g_run.model);
      break;
    case kOtherSettingsPage:
      EnumerateControllers();
      ShowOtherSettingsPage(g_run.model);
      break;
    case kAboutPage: ShowAboutPage(); break;
    default: break;
  }
}

bool OnMainWindowCommand(int id) {
  switch (id) {
    case IDC_cmdApply: Apply(); break;
    case IDM_mnuReload: ReloadWindow(); break;
    case IDM_mnuLoad:
      if (LoadCommand(g_run.model, g_run.session)) RefreshWindow();
      break;
    case IDM_mnuSave: Save(); break;
    case IDM_mnuUnloadQuillon: UnloadRuntime(g_run.session.programFolder); break;
    case IDM_Exit: return true;
    case IDM_mnuAddDesktop: AddShortcut(g_run.session.programFolder, kFolderDesktopDirectory); break;
    case IDM_mnuAddPrograms: AddShortcut(g_run.session.programFolder, kFolderPrograms); break;
    case IDM_mnuAddStartup: AddShortcut(g_run.session.programFolder, kFolderStartup); break;
    case IDM_mnuHelp: ShowHelp(kHelpContextOverview); break;
    default: break;
  }
  return false;
}

void OnHelpKey(int shownPage) {
  if (shownPage >= 0 && shownPage < kPageCount) ShowHelp(kHelpContextFirstPage + shownPage);
}

void ShowHelp(int context) { OpenHelpAtContext(g_run.session.helpFilePath, context); }

void OnConfigurationsPageEvent(int id, ControlEvent event) {
  OnConfigurationsEvent(g_run.session.dataFolder, id, event);
}
void OnFilesDropped(const std::vector<std::string>& paths) { ImportDroppedFiles(g_run.session.dataFolder, paths); }

int OpenMainWindow(ConfiguratorSession session) {
  g_run.session = std::move(session);
  return RunMainWindow();
}

ConfiguratorSettings& WindowModel() { return g_run.model; }
ConfiguratorSession& WindowSession() { return g_run.session; }

}  // namespace quillon

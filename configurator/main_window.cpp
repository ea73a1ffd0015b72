#include "configurator/main_window.h"

#include "configurator/about_page.h"
#include "configurator/configurations_page.h"
#include "configurator/configurator_main.h"
#include "configurator/export_file.h"
#include "configurator/other_settings_page.h"
#include "configurator/resource_ids.h"
#include "configurator/runtime_control.h"
#include "configurator/seams/help_viewer.h"
#include "configurator/seams/shell_services.h"
#include "configurator/settings_model.h"

namespace quillon {

void LoadMainWindow() {
  ShowAboutPage();
  ReloadSettings();
}

// The pages touch disjoint controls, so the order between them matters only
// for the action page, whose first entry is opened last.
void RefreshWindow() {
  ShowConfigurationsPage(g_model);
  ShowOtherSettingsPage(g_model);
}

bool OnMainWindowCommand(int id) {
  switch (id) {
    case IDC_cmdApply: ApplySettings(); break;
    case IDM_mnuReload: ReloadSettings(); break;
    case IDM_mnuLoad: LoadCommand(); break;
    case IDM_mnuSave: SaveCommand(); break;
    case IDM_mnuUnloadQuillon: UnloadRuntime(); break;
    case IDM_Exit: return true;
    case IDM_mnuAddDesktop: AddShortcut(kFolderDesktopDirectory); break;
    case IDM_mnuAddPrograms: AddShortcut(kFolderPrograms); break;
    case IDM_mnuAddStartup: AddShortcut(kFolderStartup); break;
    case IDM_mnuHelp: ShowHelp(kHelpContextOverview); break;
    default: break;
  }
  return false;
}

void OnHelpKey(int shownPage) {
  if (shownPage >= 0 && shownPage < kPageCount) ShowHelp(kHelpContextFirstPage + shownPage);
}

void ShowHelp(int context) { OpenHelpAtContext(HelpFilePath(), context); }

}  // namespace quillon

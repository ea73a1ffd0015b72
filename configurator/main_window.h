// The main window's own logic: its four pages, loading, refreshing every
// control from the model, the Apply button, the menus, the help key and
// leaving. The pages' controls are reached through the control primitives.
#pragma once

#include <string>
#include <vector>

#include "configurator/seams/window_controls.h"
#include "configurator/settings_model.h"

namespace quillon {

inline constexpr int kPageCount = 4;
inline constexpr int kActionsPage = 1;
inline constexpr int kOtherSettingsPage = 2;
inline constexpr int kAboutPage = 3;
// The tab captions, by page index (the order of the dialog templates).
inline constexpr const char* kPageCaptions[kPageCount] = {"Configurations", "Actions", "Other settings", "About"};

inline constexpr int kHelpContextOverview = 1;
inline constexpr int kHelpContextFirstPage = 3;  // pages 0..3 have contexts 3..6

// The window's load: the version label, then the settings as Reload reads
// them, except that with only the first page made the entries are left for
// OnMainWindowShown (or whatever needs them first).
void LoadMainWindow();
void OnMainWindowShown();
// The Reload command: the lists are built again, the settings read from the
// registry and shown; edits that were not applied are lost.
void ReloadWindow();
// Sets every control of the pages made so far from the model.
void RefreshWindow();
// A page made late (pages are made when first shown): its lists are built
// and it shows the model. "Actions" needs "Other settings" made first: its
// live view follows the controller chosen there.
void FillMadePage(int page);
// The Apply button and the menu entries; true when the window is to close.
bool OnMainWindowCommand(int id);
// F1 with page `shownPage` showing opens its help. The key is consumed
// whatever happens.
void OnHelpKey(int shownPage);
// The help file at a context number; a missing file shows nothing here.
void ShowHelp(int context);

// The Configurations page's events and files dropped on it, in the window's
// data folder.
void OnConfigurationsPageEvent(int id, ControlEvent event);
void OnFilesDropped(const std::vector<std::string>& paths);

// Shows the window on the session that the start settled, until it is
// closed; the program's exit status. The window's logic holds the run's one
// model and session from then on.
int OpenMainWindow(ConfiguratorSession session);
// The window's model and session, for tests that drive the window.
ConfiguratorSettings& WindowModel();
ConfiguratorSession& WindowSession();

}  // namespace quillon

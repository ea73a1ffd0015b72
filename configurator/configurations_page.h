// The "Configurations" page: the available configurations (the map files of
// the data folder that are not active) and the ordered active ones, which
// Apply and Save store topmost first; files dropped on the available list;
// the change-timeout field and the start/apply box. Below the lists, the
// selected active configuration's games list (its "<map name>.games" file,
// written on Apply) and window pattern, the MAME list import that fills the
// stock maps' games lists, and the switch that lets the game in front choose
// the map. Drops and deletions act on the data folder at once.
#pragma once

#include <string>
#include <vector>

#include "configurator/seams/window_controls.h"
#include "configurator/settings_model.h"

namespace quillon {

// Both lists from the folder and the model's names, then the change timeout
// in decimal and the start/apply box.
void ShowConfigurationsPage(const std::string& folder, const ConfiguratorSettings& model);
// The page's part of the window's global settings, as its controls hold it.
void ReadConfigurationsFields(WindowFields& fields);
// After an Apply that wrote `fields`' games lists: they are what the files
// hold now.
void GamesListsWritten(const WindowFields& fields);
// The change timeout as the settings took it.
void ShowConfigurationsFields(const WindowFields& fields);

// `folder` is the data folder throughout.
//
// Builds both lists from the data folder and the model's names: a name
// shows once, at its first place, and only while its map file exists.
void FillConfigLists(const std::string& folder, const ConfiguratorSettings& model);
// The available list from the folder again; active names whose file has
// gone leave the active list.
void RefreshConfigLists(const std::string& folder);
// Asks, then deletes the selected available configuration's map and sound.
void DeleteConfiguration(const std::string& folder);
// Copies the dropped ".ugc" and ".wav" files into the data folder, asking
// before it replaces one; every failed copy is reported, the rest go on.
void ImportDroppedFiles(const std::string& folder, const std::vector<std::string>& paths);
// A click or double-click on one of the page's lists and buttons.
void OnConfigurationsEvent(const std::string& folder, int id, ControlEvent event);

}  // namespace quillon

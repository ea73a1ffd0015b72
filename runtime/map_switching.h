// Which joystick map is current: stepping through the maps with an
// announcement per step, and the delayed hand-over to the mapping program
// with the map's file.
#pragma once

#include <optional>
#include <string>

namespace quillon {

struct MapState;
struct Runtime;
struct RuntimeSettings;

enum class MapRequest { Next = 1, Previous = 2, Default = 3 };

// The name of the current map, or nullptr when the current position names
// none (an empty list, or a DefaultConfig beyond the list).
const char* CurrentMapName(const RuntimeSettings& settings, const MapState& map);

// A map-switching action fired. After a pause longer than ChangeTimeout it
// only announces the current map; within the time-out it steps and
// announces, and the hand-over (after typing `keySeq`) follows ChangeTimeout
// milliseconds after the last step.
void RequestMapChange(Runtime& runtime, MapRequest kind, const std::string& keySeq);

// ChangeTimer fired: types the pending key sequence, then hands the current
// map over.
void CompleteMapChange(Runtime& runtime);

// The last step of every load: the default map becomes current, and with
// ApplyOnStart on it is handed over at once, or `windowChoice` (the map the
// window already in front chose) instead. A front end's command waiting
// (the one that started the runtime) chooses the map before either.
void ResetToDefaultMap(Runtime& runtime, std::optional<uint32_t> windowChoice = std::nullopt);

// Carries out the front end's command that waits in the map state, once no
// load is under way; nothing once the runtime is ending.
void RunWaitingFrontEndCommand(Runtime& runtime);

// A front end asked for map `config` (its position in the list): the whole
// step at once, announcement, hand-over and notices, with no time-out to
// wait for. It ends a step by hand still waiting for its time-out. The map
// handed over last is not handed over again: the mapping program would
// start twice for the same map.
void HandOverChosenMap(Runtime& runtime, uint32_t config);

// Kills ChangeTimer if it runs and drops the pending change with its key
// sequence and the window's choice waiting after it (a reload or shutdown
// between a step and its hand-over, or a map handed over whole meanwhile).
void StopChangeTimer(MapState& map);

// Whether a change is waiting for ChangeTimer.
bool MapChangePending(const MapState& map);

// --- The hand-over to the mapping program and the announcement ---------

// Expands the user's command-line template: the first "%s" becomes
// `quotedPath`, "%%" becomes "%", every other "%" sequence stays as written.
// The template is never used as a printf format.
std::string ExpandUltraMapOptions(const std::string& options, const std::string& quotedPath);

// The parameter line for handing the current map over, or nothing when there
// is no current map or a built text would exceed kMaxBuiltTextLength.
std::optional<std::string> HandOffParameters(const RuntimeSettings& settings, const MapState& map);

// Starts the mapping program with the current map's ".ugc" file; the
// notices name the map only when the program was started.
void HandOffMap(Runtime& runtime);

// Announces the current map: "<dir><name>.wav", else "<dir><position>.wav".
// Sets lastAnnounce even when there is no map to announce.
void PlayMapSound(const RuntimeSettings& settings, MapState& map);

}  // namespace quillon

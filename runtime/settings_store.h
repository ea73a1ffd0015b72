// The runtime's model of the settings tree and how it is read from the
// registry: only what was read. What the running program learns (the current
// map, the pad, the capture table) is kept by the files that learn it
// (runtime_state.h). Loading and unloading (arming capture and polling from
// what was read) live in settings_lifecycle.h.
#pragma once

#include <array>
#include <vector>
#include <cstdint>
#include <string>
#include <type_traits>

#include "shared/games_list.h"
#include "shared/settings_tree.h"

namespace quillon {

// The runtime keeps every number as the registry's 32 bits, and every field
// starts empty: all of them come from the tree at each load.
struct RuntimeStorage {
  template <FieldType type>
  using Of = std::conditional_t<type == FieldType::Text, std::string, uint32_t>;
  template <FieldType type>
  static Of<type> Initial(const char*) {
    return {};
  }
};

// One keyboard action (subkey "01".."99"). An empty keySeq types nothing.
struct KeyAction {
  using Storage = RuntimeStorage;
  static constexpr FieldHome kHome = InKeyboard;
  QUILLON_KEYBOARD_FIELDS(QUILLON_DECLARE_MEMBER)
  QUILLON_ENTRY_FIELDS(QUILLON_DECLARE_MEMBER)
};

// One controller action (subkey "J01".."J99").
struct ButtonAction {
  using Storage = RuntimeStorage;
  static constexpr FieldHome kHome = InController;
  QUILLON_CONTROLLER_FIELDS(QUILLON_DECLARE_MEMBER)
  QUILLON_ENTRY_FIELDS(QUILLON_DECLARE_MEMBER)
};

struct RuntimeSettings {
  using Storage = RuntimeStorage;
  static constexpr FieldHome kHome = InMain;
  std::string programDirectory;  // ends with its separator, or ""
  std::array<std::string, kMaxConfigs> configNames;
  // configWindows[k]: the target-window pattern of configNames[k], or "".
  std::array<std::string, kMaxConfigs> configWindows;
  uint32_t configCount = 0;
  // gamesLists[k]: the games of configNames[k], from "<name>.games" beside
  // its ".ugc"; empty for a map without one.
  std::vector<GamesList> gamesLists;
  QUILLON_MAIN_FIELDS(QUILLON_DECLARE_MEMBER)
  // keyActions[n] is entry number n (1..99); slot 0 is unused.
  std::array<KeyAction, kMaxActions + 1> keyActions;
  uint32_t keyCount = 0;
  // buttonActions[0..buttonCount-1], in list order.
  std::array<ButtonAction, kMaxActions> buttonActions;
  uint32_t buttonCount = 0;
};

// Reads the whole tree into `settings`, which starts afresh; arms nothing.
void ReadSettings(RuntimeSettings& settings);

// How long the runtime waits for a writer of the tree (an Apply, an import)
// to finish. A whole tree is written in well under a second; the main
// thread, which waits, serves no timer and no hot key meanwhile (the hook
// has a thread of its own and never waits for the tree).
inline constexpr uint32_t kSettingsLockWaitMs = 2000;
// ReadSettings under the settings lock, so that no write or trim of another
// program falls between its reads. False, with `settings` untouched, when a
// writer held the lock for the whole wait. A lock whose last holder died is
// taken and the tree read as it was left: that writer will never ask for a
// reload, and its next Apply writes every key again. A lock that cannot be
// had at all serialises nothing, so the tree is read without it.
bool ReadSettingsWhole(RuntimeSettings& settings);
// Frees every text read and forgets the entries.
void ClearSettings(RuntimeSettings& settings);

}  // namespace quillon

// What the runtime shows of itself when the tree asks for it: an icon in the
// notification area whose tip names the active map, and the name of a map on
// screen when it is handed over. Both are off unless switched on, so a tree
// without the switches behaves as a hidden runtime always did.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

struct NoticeState;
struct Runtime;

// The icon's menu, top to bottom.
enum class IconCommand { ReloadSettings, About, Exit };
struct IconMenuItem {
  IconCommand command;
  const char* label;
};
inline constexpr IconMenuItem kIconMenu[] = {
    {IconCommand::ReloadSettings, "Reload settings"},
    {IconCommand::About, "About"},
    {IconCommand::Exit, "Exit"},
};

// The tip the shell shows: 127 characters at most, which is what its tip
// field holds, so a long map name is cut rather than the tip refused.
inline constexpr size_t kMaxIconTipLength = 127;
// "Quillon: <map>", or "Quillon" when no map has been handed over.
std::string IconTipFor(const std::string& activeMap);

// How the map's name fades: fully shown for kMapNameHoldMs, then gone over
// kMapNameFadeMs. 0 means hidden.
inline constexpr uint32_t kMapNameHoldMs = 1500;
inline constexpr uint32_t kMapNameFadeMs = 300;
inline constexpr uint8_t kMapNameOpacity = 230;
uint8_t MapNameOpacityAfter(uint32_t elapsedMs);

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
// The height of the name's type on a monitor of `monitorHeight` pixels.
int MapNameTextHeight(int monitorHeight);
// Where the name goes: centred at the top of `monitor` (its work area), a
// margin below its edge, `textWidth` x `textHeight` plus padding, never wider
// than the monitor.
ScreenRect MapNamePlacement(const ScreenRect& monitor, int textWidth, int textHeight);

// The last step of every load: shows, updates or removes the icon as the
// tree now says.
void RefreshNotices(Runtime& runtime);
// An icon that the shell did not take is tried again every kIconRetryMs for
// kIconTries tries (a minute) on IconTimer. At logon the runtime often
// starts before Explorer answers: NIM_ADD then times out, and the
// "TaskbarCreated" broadcast that would bring the icon has already gone by.
inline constexpr uint32_t kIconRetryMs = 2000;
inline constexpr uint32_t kIconTries = 30;
// IconTimer fired.
void RetryNotificationIcon(Runtime& runtime);
// A map went to the mapping program: the tip names it, and its name is shown
// when the tree asks for that.
void MapHandedOver(Runtime& runtime, const std::string& map);
// The runtime ends, however it ends: the icon and the name go (the icon
// also when the shell never said it took it), no try is left, and the
// active map is forgotten.
void EndNotices(NoticeState& notices);

}  // namespace quillon

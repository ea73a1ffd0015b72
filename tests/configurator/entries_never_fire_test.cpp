// Which entries the runtime will never run, case by case.
#include <gtest/gtest.h>

#include "configurator/entries_never_fire.h"

namespace quillon {
namespace {

// clang-format off
struct Key { int modifier; int virtualKey; int action = StuffKeys; const char* appName = ""; };
struct Pad { int32_t buttons; int action = StuffKeys; const char* appName = ""; uint32_t directions = 0; };
// "K2" is keyboard row 2, "J1" controller row 1; the reason is matched by a
// part of its words.
struct Found { const char* row; const char* reasonPart; };
// clang-format on

struct Case {
  const char* name;
  bool hook;
  bool configs;
  std::vector<Key> keys;
  std::vector<Pad> pads;
  std::vector<Found> found;
};

ConfiguratorSettings SettingsOf(const Case& c) {
  ConfiguratorSettings s;
  s.useHook = c.hook ? 1 : 0;
  if (c.configs) s.configNames[0] = "Analog";
  for (const Key& k : c.keys) {
    KeyActionEntry& e = s.keyActions[size_t(s.keyCount++)];
    e.modifier = int16_t(k.modifier);
    e.virtualKey = int16_t(k.virtualKey);
    e.action = int16_t(k.action);
    e.appName = k.appName;
  }
  for (const Pad& p : c.pads) {
    ButtonActionEntry& e = s.buttonActions[size_t(s.buttonCount++)];
    e.buttons = p.buttons;
    e.directions = int32_t(p.directions);
    e.action = int16_t(p.action);
    e.appName = p.appName;
  }
  return s;
}

TEST(EntriesNeverFireTest, EachCaseFindsExactlyTheEntriesTheRuntimeCannotReach) {
  constexpr int F5 = 0x74, F6 = 0x75;
  // clang-format off
  const Case cases[] = {
      {"sound settings", false, true, {{0, F5}, {ModifierCtrl, F5}}, {{0b01}, {0b10}}, {}},
      {"hot keys: the later twin", false, true, {{ModifierCtrl, F5}, {0, F6}, {ModifierCtrl, F5}}, {},
       {{"K3", "same key and modifiers as row 1"}}},
      {"hook: the earlier entries on a key", true, true, {{0, F5}, {ModifierShift, F5}, {0, F6}, {0, F5}}, {},
       {{"K1", "row 4 is on the same key"}, {"K2", "row 4 is on the same key"}}},
      {"hook: a twin with other modifiers is no twin for hot keys", false, true, {{0, F5}, {ModifierShift, F5}}, {},
       {}},
      {"no key", false, true, {{0, 0}, {ModifierAlt, 300}}, {},
       {{"K1", "no key"}, {"K2", "no key"}}},
      {"no button; buttons above 10 are read too", false, true, {}, {{0}, {1 << 10}, {0b1 | 1 << 31}},
       {{"J1", "no button or direction"}}},
      {"directions alone fire; neither never", false, true, {}, {{0, StuffKeys, "", StickUp}, {0, StuffKeys, "", 0}},
       {{"J2", "no button or direction"}}},
      {"an earlier part of both takes it", false, true, {},
       {{0b1, StuffKeys, "", HatUp}, {0b11, StuffKeys, "", HatUp | HatRight}, {0b1, StuffKeys, "", StickUp},
        {0, StuffKeys, "", HatUp}, {0b1}},
       {{"J2", "row 1 (Button 1 + Hat up) comes first and the runtime runs the first entry whose buttons and directions"}}},
      {"hot keys: hold and repeat are typed once", false, true,
       {{0, F5, HoldKeys}, {0, F6, RepeatKeys}, {0, 0x70, StuffKeys}}, {{0b1, HoldKeys}, {0b10, RepeatKeys}},
       {{"K1", "hot-key mode, which sees no release, \"Hold keys while pressed\" is typed once (down and up)"},
        {"K2", "\"Repeat keys while pressed\" is typed once"}}},
      {"hook: hold and repeat see the release", true, true, {{0, F5, HoldKeys}, {0, F6, RepeatKeys}}, {}, {}},
      {"first match takes a superset and a twin", false, true, {}, {{0b011}, {0b001}, {0b111}, {0b011}, {0b100}},
       {{"J3", "row 1 (Button 1 + 2)"}, {"J4", "row 1 (Button 1 + 2)"}}},
      {"a later subset is no shadow", false, true, {}, {{0b110}, {0b010}}, {}},
      {"run application", false, true,
       {{0, F5, RunApplication, ""}, {0, F6, RunApplication, "C:\\missing.exe"}, {0, 0x70, RunApplication, "C:\\here.exe"}},
       {{0b1, RunApplication, ""}},
       {{"K1", "no executable"}, {"K2", "\"C:\\missing.exe\" does not exist"}, {"J1", "no executable"}}},
      {"map switches with no active configuration", false, false,
       {{0, F5, NextMap}, {0, F6, PreviousMap}, {0, 0x70, StuffKeys}}, {{0b1, DefaultMap}},
       {{"K1", "no active configurations"}, {"K2", "no active configurations"}, {"J1", "no active"}}},
      {"map switches with one", false, true, {{0, F5, NextMap}}, {{0b1, DefaultMap}}, {}},
  };
  // clang-format on
  const auto exists = [](const std::string& path) { return path == "C:\\here.exe"; };
  for (const Case& c : cases) {
    const std::vector<NeverFiringEntry> found = FindEntriesThatNeverFire(SettingsOf(c), exists);
    ASSERT_EQ(found.size(), c.found.size()) << c.name;
    for (size_t i = 0; i < found.size(); ++i) {
      const std::string row = (found[i].list == ActionList::Keyboard ? "K" : "J") + std::to_string(found[i].index + 1);
      EXPECT_EQ(row, c.found[i].row) << c.name;
      EXPECT_NE(found[i].reason.find(c.found[i].reasonPart), std::string::npos) << c.name << ": " << found[i].reason;
    }
  }
}

TEST(EntriesNeverFireTest, TheReportNamesEachEntryByItsListTextAndStopsAtTwentyLines) {
  Case c{"", false, true, {{ModifierCtrl, 0x70}, {ModifierCtrl, 0x70}}, {}, {}};
  for (int i = 0; i < 30; ++i) c.pads.push_back({0});
  const ConfiguratorSettings s = SettingsOf(c);
  const std::string report = NeverFiringReport(s, FindEntriesThatNeverFire(s, [](const std::string&) { return true; }));
  EXPECT_NE(report.find("Keyboard row 2 \"Control + F1 key\": the same key"), std::string::npos) << report;
  EXPECT_NE(report.find("Joystick row 1 \"(No buttons)\": no button or direction is chosen"), std::string::npos)
      << report;
  EXPECT_NE(report.find("... and 11 more"), std::string::npos) << report;
}

}  // namespace
}  // namespace quillon

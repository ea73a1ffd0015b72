// The road of a map step: announce after a pause, step within the time-out,
// hand over when ChangeTimer fires, and what a load or reload does to it.
#include <gtest/gtest.h>

#include "runtime/map_choice.h"
#include "runtime/map_switching.h"
#include "runtime/settings_store.h"
#include "runtime/runtime_state.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_platform.h"

namespace quillon {
namespace {

// The runtime under test, made afresh by every case.
Runtime rt;

using fake_platform::CallsStartingWith;

class MapSwitchingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_platform::Reset();
    fake_keyboard::Reset();
    rt = Runtime{};
    RuntimeSettings& s = rt.settings;
    s.programDirectory = "C:\\Q\\";
    s.configNames = {"A", "B", "C"};
    s.configCount = 3;
    s.changeTimeout = 1000;
    s.ultraMapPath = "C:\\UM.exe";
    s.ultraMapOptions = "%s";
    fake_platform::SetClock(100000);
    rt.map.lastAnnounce = 100000;  // as a load leaves it
  }
  void TearDown() override { StopChangeTimer(rt.map); }

  static std::vector<std::string> Sounds() { return CallsStartingWith("PlaySound"); }
  static std::vector<std::string> HandOvers() { return CallsStartingWith("StartProgram"); }
  static std::string SoundOf(int position) { return "PlaySound C:\\Q\\" + std::to_string(position) + ".wav"; }
  static std::string HandOverOf(const char* map) {
    return std::string("StartProgram C:\\UM.exe| \"C:\\Q\\") + map + ".ugc\"";
  }
};

TEST_F(MapSwitchingTest, StepsWrapAroundBothWays) {
  struct {
    uint32_t from;
    MapRequest kind;
    uint32_t to;
  } cases[] = {{2, MapRequest::Next, 0},     {0, MapRequest::Next, 1},    {0, MapRequest::Previous, 2},
               {2, MapRequest::Previous, 1}, {2, MapRequest::Default, 1}, {7, MapRequest::Next, 0},
               {7, MapRequest::Previous, 2}};
  rt.settings.defaultConfig = 1;
  for (const auto& c : cases) {
    rt.map.currentConfig = c.from;
    rt.map.lastAnnounce = 100000;
    RequestMapChange(rt, c.kind, "");
    EXPECT_EQ(rt.map.currentConfig, c.to) << "from " << c.from;
  }
}

TEST_F(MapSwitchingTest, AfterAPauseTheFirstPressOnlyNamesTheMapAndHandsNothingOver) {
  fake_platform::AdvanceClock(1001);
  RequestMapChange(rt, MapRequest::Next, std::string("x"));
  EXPECT_EQ(rt.map.currentConfig, 0u);
  EXPECT_EQ(Sounds(), std::vector<std::string>{SoundOf(1)});
  EXPECT_FALSE(MapChangePending(rt.map));
  EXPECT_EQ(rt.map.lastAnnounce, 101001u);
}

TEST_F(MapSwitchingTest, PressesWithinTheTimeoutStepAndTheLastMapIsHandedOverWithItsKeys) {
  fake_platform::AdvanceClock(5000);
  RequestMapChange(rt, MapRequest::Next, std::string("a"));  // names A
  fake_platform::AdvanceClock(300);
  RequestMapChange(rt, MapRequest::Next, std::string("b"));  // steps to B
  fake_platform::AdvanceClock(300);
  RequestMapChange(rt, MapRequest::Next, std::string("c"));  // steps to C
  EXPECT_EQ(Sounds(), (std::vector<std::string>{SoundOf(1), SoundOf(2), SoundOf(3)}));
  EXPECT_EQ(CallsStartingWith("StartTimer 1"), (std::vector<std::string>{"StartTimer 1 1000", "StartTimer 1 1000"}));
  EXPECT_TRUE(HandOvers().empty());
  EXPECT_TRUE(fake_keyboard::InsertedEvents().empty()) << "the key sequence waits for the hand-over";
  CompleteMapChange(rt);
  EXPECT_EQ(HandOvers(), std::vector<std::string>{HandOverOf("C")});
  ASSERT_EQ(fake_keyboard::InsertedEvents().size(), 2u) << "only the last request's sequence is typed";
  EXPECT_EQ(fake_keyboard::InsertedEvents()[0].virtualKey, 'C');
  EXPECT_FALSE(MapChangePending(rt.map));
  CompleteMapChange(rt);  // a stray tick types and hands over nothing more
  EXPECT_EQ(fake_keyboard::InsertedEvents().size(), 2u);
  EXPECT_EQ(HandOvers().size(), 1u);
}

TEST_F(MapSwitchingTest, TheTimeoutIsMeasuredFromTheLastAnnouncement) {
  RequestMapChange(rt, MapRequest::Next, "");  // right after a load: steps at once
  EXPECT_EQ(rt.map.currentConfig, 1u);
  fake_platform::AdvanceClock(1000);  // exactly the time-out still steps
  RequestMapChange(rt, MapRequest::Next, "");
  EXPECT_EQ(rt.map.currentConfig, 2u);
  fake_platform::AdvanceClock(1001);
  RequestMapChange(rt, MapRequest::Next, "");
  EXPECT_EQ(rt.map.currentConfig, 2u);
}

TEST_F(MapSwitchingTest, WithoutApplyOnStartTheFirstRequestKeepsTheDefaultAndHandsItOver) {
  rt.settings.applyOnStart = 0;
  rt.settings.defaultConfig = 1;
  ResetToDefaultMap(rt);
  rt.map.firstRequestPending = true;
  EXPECT_TRUE(HandOvers().empty());
  fake_platform::AdvanceClock(60000);
  RequestMapChange(rt, MapRequest::Previous, "");
  EXPECT_EQ(rt.map.currentConfig, 1u);
  EXPECT_FALSE(rt.map.firstRequestPending);
  EXPECT_EQ(Sounds(), std::vector<std::string>{SoundOf(2)});
  CompleteMapChange(rt);
  EXPECT_EQ(HandOvers(), std::vector<std::string>{HandOverOf("B")});
}

TEST_F(MapSwitchingTest, ADroppedChangeIsNeverHandedOverNorTyped) {
  RequestMapChange(rt, MapRequest::Next, std::string("z"));
  ASSERT_TRUE(MapChangePending(rt.map));
  StopChangeTimer(rt.map);  // what a reload does
  EXPECT_FALSE(MapChangePending(rt.map));
  EXPECT_EQ(CallsStartingWith("StopTimer 1").size(), 1u);
  CompleteMapChange(rt);  // a tick queued before the reload finds nothing
  EXPECT_TRUE(HandOvers().empty());
  EXPECT_TRUE(fake_keyboard::InsertedEvents().empty());
}

TEST_F(MapSwitchingTest, WithNoMapsRequestsAreSilentAndHandNothingOver) {
  rt.settings.configCount = 0;
  rt.settings.configNames = {};
  for (MapRequest kind : {MapRequest::Next, MapRequest::Previous, MapRequest::Default}) {
    RequestMapChange(rt, kind, "");
    fake_platform::AdvanceClock(10);
  }
  CompleteMapChange(rt);
  EXPECT_EQ(rt.map.currentConfig, 0u);
  EXPECT_TRUE(Sounds().empty());
  EXPECT_TRUE(HandOvers().empty());
}

TEST_F(MapSwitchingTest, ADefaultBeyondTheListIsNeitherAnnouncedNorHandedOver) {
  rt.settings.defaultConfig = 9;
  RequestMapChange(rt, MapRequest::Default, "");
  CompleteMapChange(rt);
  EXPECT_EQ(rt.map.currentConfig, 9u);
  EXPECT_TRUE(Sounds().empty());
  EXPECT_TRUE(HandOvers().empty());
}

TEST_F(MapSwitchingTest, ThePendingSequenceIsTypedBeforeTheHandOver) {
  RequestMapChange(rt, MapRequest::Next, std::string("ab"));
  size_t typedAtHandOver = 99;
  fake_platform::WhileStartingPrograms([&] { typedAtHandOver = fake_keyboard::InsertedEvents().size(); });
  CompleteMapChange(rt);
  EXPECT_EQ(typedAtHandOver, 4u) << "the mapping program may take the focus from the keys";
}

// A front end's commands, each after the hand-overs before it: which map is
// handed over at once, and when nothing is (the map the program already
// has, "M" with a name that is no map).
TEST_F(MapSwitchingTest, FrontEndCommandsHandTheirMapOverAtOnceAndNeverTheSameMapTwice) {
  rt.settings.defaultConfig = 0;
  rt.settings.gamesLists = {ParseGamesList("# none for A"), ParseGamesList("pacman, dkong"),
                            ParseGamesList("sf2*\npacman")};
  struct {
    const char* tail;
    std::optional<const char*> handedOver;  // nothing: no new start of the mapping program
    bool answered = true;                   // false: "no such map", exit status 3
  } steps[] = {
      {"G pacman", "B"},      // the first list in list order that holds it
      {"G PacMan", {}},       // the same map again: not started twice
      {"G sf2ce", "C"},       // a wildcard
      {"G galaga", "A"},      // in no list: the default map
      {"E", {}},              // the default map is already there
      {"M c", "C"},           // a name, without case
      {"M 2", "B"},           // a position
      {"M 4", {}, false},     // past the list
      {"M Race", {}, false},  // no such name
      {"M \"B\"", {}},        // quoted, and already there
      {"E", "A"},
  };
  for (const auto& step : steps) {
    fake_platform::Reset();
    RemoteCommand command = RemoteCommandFor(step.tail);
    std::optional<uint32_t> chosen = MapForCommand(rt.settings, command);
    EXPECT_EQ(chosen.has_value(), step.answered) << step.tail;
    if (chosen) HandOverChosenMap(rt, *chosen);
    std::vector<std::string> expected;
    if (step.handedOver) expected.push_back(HandOverOf(*step.handedOver));
    EXPECT_EQ(HandOvers(), expected) << step.tail;
    EXPECT_EQ(Sounds().size(), expected.size()) << step.tail;
  }
}

TEST_F(MapSwitchingTest, AFrontEndCommandEndsAStepByHandAndOneWaitingRunsAtTheEndOfTheLoad) {
  fake_platform::AdvanceClock(5000);
  RequestMapChange(rt, MapRequest::Next, "");  // names A
  RequestMapChange(rt, MapRequest::Next, "");  // steps to B, waiting for its time-out
  ASSERT_TRUE(MapChangePending(rt.map));
  HandOverChosenMap(rt, 2);
  EXPECT_FALSE(MapChangePending(rt.map));
  EXPECT_EQ(HandOvers(), std::vector<std::string>{HandOverOf("C")});

  // The command that started the runtime takes the place of the default map,
  // with ApplyOnStart off too.
  fake_platform::Reset();
  rt.notices.activeMap.clear();
  rt.settings.applyOnStart = 0;
  rt.map.waitingCommand = RemoteCommandFor("M 2");
  ResetToDefaultMap(rt);
  EXPECT_EQ(HandOvers(), std::vector<std::string>{HandOverOf("B")});
  EXPECT_FALSE(rt.map.waitingCommand);
}

}  // namespace
}  // namespace quillon

// The emulator's machine list: which stock map each game gets, read whole or
// in any pieces, and what files that are no such list give.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "configurator/mame_list.h"
#include "configurator/settings_model.h"
#include "tests/fakes/fake_file_reading.h"

namespace quillon {
namespace {

using Names = std::vector<std::string>;

// As "mame -listxml" writes it, shortened: the DOCTYPE's subset holds ">"
// and quotes of its own; a clone; a device, a BIOS and a machine without
// controls; a mechanical one; buttons only; a positional control first.
const std::string kList = R"xml(<?xml version="1.0"?>
<!DOCTYPE mame [
<!ELEMENT mame (machine+)>
	<!ATTLIST mame build CDATA #IMPLIED>
	<!ATTLIST machine isdevice (yes|no) "no">
]>

<mame build="0.261 (mame0261)" debug="no" mameconfig="10">
	<machine name="puckman" sourcefile="pacman/pacman.cpp">
		<description>PuckMan (Japan set 1)</description>
		<rom name="pm1_prg1.6e" size="2048" crc="f36e88ab"/>
		<input players="2" coins="2">
			<control type="joy" player="1" ways="4"/>
			<control type="joy" player="2" ways="4"/>
		</input>
		<dipswitch name="Lives" tag="DSW1" mask="12">
			<dipvalue name="3" value="8" default="yes"/>
		</dipswitch>
	</machine>
	<machine name="pacman" sourcefile="pacman/pacman.cpp" cloneof="puckman" romof="puckman">
		<description>Pac-Man (Midway) &amp; more &lt;&gt;</description>
		<input players="2" coins="2"><control type="joy" player="1" ways="4"/></input>
	</machine>
	<machine name="sf2" sourcefile="capcom/cps1.cpp">
		<input players="2" coins="3"><control type="joy" player="1" buttons="6" ways="8"/></input>
	</machine>
	<machine name="defender"><input players="2"><control type="joy" ways="2"/></input></machine>
	<machine name="amidar_ud"><input players="1"><control type="joy" ways="vertical2"/></input></machine>
	<machine name="robotron"><input players="2"><control type="doublejoy" ways="8" ways2="8"/></input></machine>
	<machine name="arkanoid"><input players="2"><control type="paddle" player="1" minimum="0"/></input></machine>
	<machine name="marble"><input players="2"><control type="trackball"/></input></machine>
	<machine name="ikari"><input players="2"><control type="positional"/></input></machine>
	<machine name="starwars"><input players="1"><control type="stick"/><control type="joy" ways="8"/></input></machine>
	<machine name="qbert"><input players="2"><control type="joy" ways="4"/></input></machine>
	<machine name="pinball" ismechanical="yes"><input players="1"><control type="joy" ways="8"/></input></machine>
	<machine name="quiz"><input players="2"><control type="only_buttons" buttons="4"/></input></machine>
	<machine name="noinput"><input players="0"></input></machine>
	<machine name="neogeo" isbios="yes"><input players="2"><control type="joy" ways="8"/></input></machine>
	<machine name="z80" isdevice="yes" runnable="no"/>
	<!-- a comment with <tags> and -- dashes -->
</mame>
)xml";

void ExpectTheListsGames(const MameListResult& result) {
  ASSERT_EQ(result.outcome, MameListOutcome::Read);
  EXPECT_EQ(result.games[size_t(StickMode::FourWay)], (Names{"puckman", "pacman", "qbert"}));
  EXPECT_EQ(result.games[size_t(StickMode::EightWay)], (Names{"sf2", "robotron"}));
  EXPECT_EQ(result.games[size_t(StickMode::TwoWayLeftRight)], (Names{"defender"}));
  EXPECT_EQ(result.games[size_t(StickMode::TwoWayUpDown)], (Names{"amidar_ud"}));
  EXPECT_EQ(result.games[size_t(StickMode::Analog)], (Names{"arkanoid", "marble", "starwars"}));
  EXPECT_EQ(result.classified, 10u);
  EXPECT_EQ(result.leftOut, 4u);  // ikari, pinball, quiz, noinput
}

MameListResult Scan(std::string_view text, size_t piece) {
  MameListScanner scanner;
  for (size_t at = 0; at < text.size(); at += piece)
    if (!scanner.Feed(text.substr(at, piece))) break;
  return scanner.Finish();
}

TEST(MameList, ClassifiesEachGameByItsFirstControl) { ExpectTheListsGames(Scan(kList, kList.size())); }

TEST(MameList, GivesTheSameInAnyPieces) {
  for (size_t piece = 1; piece <= 97; ++piece) {
    SCOPED_TRACE(piece);
    ExpectTheListsGames(Scan(kList, piece));
  }
}

TEST(MameList, ReadsAListThatPowerShellSavedAsUtf16) {
  std::string wide = "\xFF\xFE";
  for (char c : kList) wide += {c, '\0'};
  for (size_t piece : {1, 2, 3, 4096}) ExpectTheListsGames(Scan(wide, piece));
}

TEST(MameList, ReadsTheOlderListOfGames) {
  MameListResult result = Scan(R"(<?xml version="1.0"?><datafile><game name="galaxian">
    <input players="2"><control type="joy2way"/></input></game><game name="digdug">
    <input players="2"><control type="joy4way"/></input></game></datafile>)",
                               16);
  ASSERT_EQ(result.outcome, MameListOutcome::Read);
  EXPECT_EQ(result.games[size_t(StickMode::TwoWayLeftRight)], (Names{"galaxian"}));
  EXPECT_EQ(result.games[size_t(StickMode::FourWay)], (Names{"digdug"}));
}

TEST(MameList, TellsAFileThatIsNoListOrIsBrokenAndGivesNothing) {
  const std::string start = kList.substr(0, kList.find("<machine name=\"sf2\""));
  struct {
    std::string text;
    MameListOutcome outcome;
  } cases[] = {
      {"", MameListOutcome::NotAList},
      {"pacman\ndkong\n", MameListOutcome::NotAList},
      {"<html><body>pacman</body></html>", MameListOutcome::NotAList},
      {"<?xml version=\"1.0\"?><mameconfig version=\"10\"><system name=\"default\"/></mameconfig>",
       MameListOutcome::NotAList},
      {"<mame build=\"0.261\"></mame>", MameListOutcome::NotAList},
      {"\x89PNG\r\n\x1a\n", MameListOutcome::NotAList},
      {"<!DOCTYPE mame [" + std::string(kMameDeclarationMaxBytes + 1, ' '), MameListOutcome::NotAList},
      {start, MameListOutcome::Broken},
      {kList.substr(0, kList.size() / 2), MameListOutcome::Broken},
      {start + "</input></mame>", MameListOutcome::Broken},
      {kList + "<mame></mame>", MameListOutcome::Broken},
      {kList + "trailing words", MameListOutcome::Broken},
      {start + "<machine name=\"x\" cloneof=pacman></machine></mame>", MameListOutcome::Broken},
      {start + "<machine name=\"x\"><rom name=\"" + std::string(kMameMarkupMaxBytes, 'r') + "\"/></machine></mame>",
       MameListOutcome::Broken},
      {start + "<machine name=\"x\"><a><<b/></a></machine></mame>", MameListOutcome::Broken},
  };
  for (const auto& c : cases) {
    for (size_t piece : {size_t(7), size_t(4096)}) {
      MameListResult result = Scan(c.text, piece);
      EXPECT_EQ(result.outcome, c.outcome) << c.text.substr(0, 60) << " in pieces of " << piece;
      EXPECT_EQ(result.classified + result.leftOut, 0u);
      for (const Names& games : result.games) EXPECT_TRUE(games.empty());
    }
  }
}

TEST(MameList, TheStockMapsAreTheFactoryConfigurations) {
  for (size_t mode = 0; mode < kStickModeCount; ++mode) {
    const char* name = StockMapName(StickMode(mode));
    EXPECT_NE(std::find_if(std::begin(kFactoryConfigNames), std::end(kFactoryConfigNames),
                           [&](const char* factory) { return std::string(factory) == name; }),
              std::end(kFactoryConfigNames))
        << name;
  }
}

class ReadMameListTest : public testing::Test {
 protected:
  void SetUp() override { fake_files::Reset(); }
  void TearDown() override { EXPECT_EQ(fake_files::OpenCount(), 0) << "the list was left open"; }
};

TEST_F(ReadMameListTest, ReadsThroughTheFileInBoundedPiecesWithProgress) {
  fake_files::Put("mame.xml", fake_files::File{kList, true, -1, 100});
  std::vector<uint64_t> progress;
  MameListResult result = ReadMameList("mame.xml", [&](uint64_t done, uint64_t size) {
    EXPECT_EQ(size, kList.size());
    progress.push_back(done);
    return true;
  });
  ExpectTheListsGames(result);
  EXPECT_EQ(result.bytesRead, kList.size());
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_GT(progress.size(), kList.size() / 100);
  EXPECT_LE(fake_files::LargestRead(), kMameListPieceBytes);
}

TEST_F(ReadMameListTest, ACancelOrAFailingReadGivesNothing) {
  fake_files::Put("mame.xml", fake_files::File{kList, true, -1, 100});
  fake_files::Put("dropped.xml", fake_files::File{kList, true, 500});
  int pieces = 0;
  MameListResult cancelled = ReadMameList("mame.xml", [&](uint64_t, uint64_t) { return ++pieces < 3; });
  EXPECT_EQ(cancelled.outcome, MameListOutcome::Cancelled);
  EXPECT_EQ(cancelled.classified, 0u);
  EXPECT_EQ(fake_files::BytesHandedOut(), 200u);
  EXPECT_EQ(ReadMameList("dropped.xml").outcome, MameListOutcome::Unreadable);
  EXPECT_EQ(ReadMameList("missing.xml").outcome, MameListOutcome::Unreadable);
}

TEST_F(ReadMameListTest, StopsReadingAFileAsSoonAsItIsKnownToBeNoList) {
  fake_files::Put("movie.avi", "RIFF" + std::string(20 << 20, '\x01'));
  EXPECT_EQ(ReadMameList("movie.avi").outcome, MameListOutcome::NotAList);
  EXPECT_LE(fake_files::BytesHandedOut(), kMameListPieceBytes);
}

}  // namespace
}  // namespace quillon

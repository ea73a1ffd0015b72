// The games lists: how their text reads, which map a game gets, and what
// bad files give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared/games_list.h"
#include "tests/fakes/fake_file_reading.h"

namespace quillon {
namespace {

using Names = std::vector<std::string>;

TEST(GamesList, ReadsNamesBetweenSeparatorsAndComments) {
  struct {
    std::string text;
    Names names;
    Names patterns;
  } cases[] = {
      {"pacman\ndkong\r\nsf2", {"dkong", "pacman", "sf2"}, {}},
      {"pacman, dkong,,  galaga\tmspacman", {"dkong", "galaga", "mspacman", "pacman"}, {}},
      {"# four-way games\npacman # the first\n#dkong", {"pacman"}, {}},
      {"PacMan PACMAN pacman", {"pacman"}, {}},
      {"sf2* dkong?r ?", {}, {"sf2*", "dkong?r", "?"}},
      {"pac#man", {"pac"}, {}},
      {std::string("pac\0man\x01qix", 11), {"man", "pac", "qix"}, {}},
      {std::string(kGameNameMaxLength, 'a') + " " + std::string(kGameNameMaxLength + 1, 'b'),
       {std::string(kGameNameMaxLength, 'a')},
       {}},
      {std::string(1000000, 'x') + "\npacman", {"pacman"}, {}},
      {"", {}, {}},
      {"#", {}, {}},
  };
  for (const auto& c : cases) {
    GamesList list = ParseGamesList(c.text);
    EXPECT_EQ(list.names, c.names) << c.text.substr(0, 80);
    EXPECT_EQ(list.patterns, c.patterns) << c.text.substr(0, 80);
  }
}

TEST(GamesList, HoldsNamesInAnyCaseAndByWildcard) {
  GamesList list = ParseGamesList("pacman sf2* dk?ng");
  for (const char* name : {"pacman", "PACMAN", "sf2", "SF2CE", "dkong", "DKANG"}) EXPECT_TRUE(list.Holds(name)) << name;
  for (const char* name : {"", "pacma", "mspacman", "sf", "dkoong"}) EXPECT_FALSE(list.Holds(name)) << name;
}

TEST(GamesList, KeepsAtMostItsLimitOfNamesAndPatterns) {
  std::string text;
  for (size_t i = 0; i < kGamesListMaxNames + 10; ++i) text += "g" + std::to_string(i) + "\n";
  for (size_t i = 0; i < kGamesListMaxPatterns + 10; ++i) text += "p" + std::to_string(i) + "*\n";
  GamesList list = ParseGamesList(text);
  EXPECT_EQ(list.names.size(), kGamesListMaxNames);
  EXPECT_EQ(list.patterns.size(), kGamesListMaxPatterns);
  EXPECT_TRUE(list.Holds("g0"));
  EXPECT_FALSE(list.Holds("g" + std::to_string(kGamesListMaxNames)));
}

TEST(MapForGame, TheFirstMapInListOrderWhoseListHoldsTheGame) {
  std::vector<GamesList> lists = {ParseGamesList("galaga"), ParseGamesList("pacman sf2*"),
                                  ParseGamesList("PACMAN sf2ce dkong"), GamesList{}};
  struct {
    const char* game;
    std::optional<size_t> map;
  } cases[] = {
      {"galaga", 0}, {"pacman", 1}, {"Sf2ce", 1}, {"dkong", 2}, {"defender", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(MapForGame(lists, c.game), c.map) << c.game;
  EXPECT_EQ(MapForGame({}, "pacman"), std::nullopt);
}

class ReadGamesListTest : public testing::Test {
 protected:
  void SetUp() override { fake_files::Reset(); }
  void TearDown() override { EXPECT_EQ(fake_files::OpenCount(), 0) << "a file was left open"; }
};

TEST_F(ReadGamesListTest, AFileThatCannotBeReadCountsAsEmpty) {
  fake_files::Put("C:\\Q\\Locked.games", fake_files::File{"pacman", false});
  fake_files::Put("C:\\Q\\Dropped.games", fake_files::File{"pacman dkong galaga", true, 7});
  for (const char* path : {"C:\\Q\\Missing.games", "C:\\Q\\Locked.games", "C:\\Q\\Dropped.games"})
    EXPECT_TRUE(ReadGamesList(path).empty()) << path;
}

TEST_F(ReadGamesListTest, ReadsAFileHandedOutInSmallPieces) {
  fake_files::Put(GamesListPath("C:\\Q\\", "4-Way"), fake_files::File{"pacman\r\ndkong # kong\r\nsf2*", true, -1, 3});
  GamesList list = ReadGamesList("C:\\Q\\4-Way.games");
  EXPECT_EQ(list.names, (Names{"dkong", "pacman"}));
  EXPECT_EQ(list.patterns, (Names{"sf2*"}));
}

TEST_F(ReadGamesListTest, AHugeFileIsReadOnlyToItsLimitAndTheNameCutThereIsDropped) {
  std::string text = "pacman\n" + std::string(kGamesListMaxBytes - 7 - 3, ' ') + "dkong\n" + std::string(50 << 20, 'z');
  fake_files::Put("big.games", text);
  GamesList list = ReadGamesList("big.games");
  EXPECT_EQ(list.names, (Names{"pacman"}));
  EXPECT_LE(fake_files::BytesHandedOut(), kGamesListMaxBytes + 1);

  // A name that ends exactly at the limit is whole.
  fake_files::Put("edge.games", std::string(kGamesListMaxBytes - 5, ' ') + "dkong\nmore");
  EXPECT_EQ(ReadGamesList("edge.games").names, (Names{"dkong"}));
}

TEST(GamesListText, WritesOneNameALineThatReadsBack) {
  Names names = {"pacman", "sf2", "", "two words", "a,b", "#x", std::string(kGameNameMaxLength + 1, 'l')};
  std::string text = GamesListText(names);
  EXPECT_EQ(text, "pacman\r\nsf2\r\n");
  EXPECT_EQ(ParseGamesList(text).names, (Names{"pacman", "sf2"}));
}

}  // namespace
}  // namespace quillon

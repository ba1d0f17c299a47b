// Stored games written as SGF, and read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sgf/sgf_game.h"
#include "sgf/sgf_writer.h"

namespace sol::sgf {
namespace {

MoveEntry E(int number, int colour, int point) {
  return {static_cast<int16_t>(number), static_cast<int16_t>(colour), static_cast<int16_t>(point)};
}

ImportedGame ReadBack(const std::string& sgf) {
  const Collection c = ParseCollection(sgf);
  EXPECT_EQ(c.Games.size(), 1u);
  EXPECT_EQ(c.Encoding, "UTF-8");
  EXPECT_FALSE(c.CharsetIgnored);
  return ConvertGame(c.Games.at(0));
}

TEST(SgfWriter, HeaderSetupAndMoves) {
  const std::vector<MoveEntry> game{E(0, Black, 73), E(0, Black, 289), E(1, White, 301),
                                    E(2, Black, 61), E(0, 0, 0),       E(9, Black, 5)};
  EXPECT_EQ(WriteGame(game, u"秀策 と 因碩", Date{1846, 9, 11}, u"ソルネカ", "1.1"),
            "(;FF[4]GM[1]SZ[19]CA[UTF-8]AP[ソルネカ:1.1]GN[秀策 と 因碩]DT[1846-09-11]AB[dp][pd]\n;W[pp];B[dd])\n");
  // Without a title or a date those properties are left out.
  EXPECT_EQ(WriteGame({}, u"", std::nullopt, u"ソルネカ", "2.0"), "(;FF[4]GM[1]SZ[19]CA[UTF-8]AP[ソルネカ:2.0])\n");
  EXPECT_FALSE(ProgramVersion().empty());
}

TEST(SgfWriter, TextIsEscapedAndReadsBack) {
  const Str title = u"角番]決戦\\第2局";
  const std::string sgf = WriteGame({}, title, std::nullopt);
  EXPECT_NE(sgf.find("GN[角番\\]決戦\\\\第2局]"), std::string::npos) << sgf;
  EXPECT_EQ(ReadBack(sgf).Info.Name, title);
  EXPECT_EQ(ToUtf8(ReadBack(WriteGame({}, u"x", std::nullopt, u"ソルネカ", "1.1")).Info.Name), "x");
}

// A ko taken back and forth between points 21 (bb) and 40 (cb).
std::vector<MoveEntry> KoGame(int cycles) {
  std::vector<MoveEntry> e{E(1, Black, 20), E(2, White, 39), E(3, Black, 2),
                           E(4, White, 59), E(5, Black, 22), E(6, White, 41)};
  for (int i = 0; i < cycles; ++i) {
    e.push_back(E(static_cast<int>(e.size()) + 1, White, 21));
    e.push_back(E(static_cast<int>(e.size()) + 1, Black, 40));
  }
  return e;
}

TEST(SgfWriter, StoredGameShapesComeBackAsTheyWere) {
  std::vector<std::vector<MoveEntry>> shapes{
      // set-up stones then moves, alternating
      {E(0, Black, 61), E(0, Black, 289), E(0, White, 1), E(1, White, 301), E(2, Black, 73)},
      // white set-up first, and black set-up again after it
      {E(0, White, 1), E(0, Black, 2), E(0, White, 3), E(0, Black, 4), E(0, Black, 5), E(1, Black, 100)},
      // one colour playing several moves in a row
      {E(1, Black, 181), E(2, Black, 182), E(3, Black, 183), E(4, White, 1), E(5, White, 361)},
      // only set-up stones
      {E(0, Black, 181)},
      // captures, and moves on the points they emptied: a full game
      KoGame(197),
  };
  for (const std::vector<MoveEntry>& game : shapes) {
    const std::string sgf = WriteGame(game, u"対局", Date{2004, 1, 2});
    const ImportedGame back = ReadBack(sgf);
    EXPECT_EQ(back.Entries, game) << sgf;
    EXPECT_TRUE(back.Notes.empty()) << sgf;
    EXPECT_FALSE(back.OverLimit);
    EXPECT_EQ(GameDate(back.Info.Date)->day, 2);
  }
  ASSERT_EQ(KoGame(197).size(), static_cast<std::size_t>(MaxMoves));
}

TEST(SgfWriter, SetupStoredAfterAMoveIsWrittenInPlace) {
  const std::vector<MoveEntry> game{E(1, Black, 61), E(0, White, 100), E(0, Black, 204), E(2, White, 303)};
  const std::string sgf = WriteGame(game, u"", std::nullopt);
  EXPECT_NE(sgf.find(";B[dd];AW[fe]AB[kn];W[pr]"), std::string::npos) << sgf;
  // Reading stops at that node, and says so.
  const ImportedGame back = ReadBack(sgf);
  EXPECT_EQ(back.Entries, std::vector<MoveEntry>{game[0]});
  EXPECT_EQ(back.Notes.size(), 1u);
}

}  // namespace
}  // namespace sol::sgf

// One SGF game taken in as a stored game: what is kept, what is dropped with a
// note, what is refused.
#include "sgf/sgf_game.h"

#include <gtest/gtest.h>

#include <string>

#include "sgf/sgf_writer.h"

namespace sol::sgf {
namespace {

ImportedGame Convert(const std::string& sgf) { return ConvertGame(ParseCollection(sgf).Games.at(0)); }

std::string Refusal(const std::string& sgf) {
  try {
    Convert(sgf);
  } catch (const SgfError& e) {
    return ToUtf8(e.Message());
  }
  return "";
}

MoveEntry E(int number, int colour, const char* point) {
  return {static_cast<int16_t>(number), static_cast<int16_t>(colour), static_cast<int16_t>(*PointFromSgf(point))};
}

std::string Joined(const std::vector<Str>& notes) {
  std::string out;
  for (const Str& n : notes) out += ToUtf8(n) + "\n";
  return out;
}

TEST(SgfPoints, ColumnsFromTheLeftRowsFromTheTop) {
  EXPECT_EQ(PointFromSgf("aa"), 1);
  EXPECT_EQ(PointFromSgf("ab"), 2);    // column a, second row
  EXPECT_EQ(PointFromSgf("ba"), 20);   // second column, top row
  EXPECT_EQ(PointFromSgf("pd"), 289);  // 19 * 15 + 3 + 1
  EXPECT_EQ(PointFromSgf("ss"), 361);
  EXPECT_EQ(PointFromSgf("tt"), 0);
  EXPECT_EQ(PointFromSgf(""), 0);
  for (const char* off : {"zz", "at", "ta", "a", "abc", "AA", "a`"}) EXPECT_EQ(PointFromSgf(off), std::nullopt) << off;
  for (int p = 1; p <= PointCount; ++p) ASSERT_EQ(PointFromSgf(PointToSgf(p)), p);
}

TEST(SgfGame, HandicapStonesThenNumberedMoves) {
  const ImportedGame g = Convert("(;FF[4]GM[1]SZ[19]HA[2]AB[dp][pd]PB[秀策]PW[因碩]KM[0];W[qp];B[dd];W[cc])");
  EXPECT_EQ(g.Entries, (std::vector<MoveEntry>{E(0, Black, "dp"), E(0, Black, "pd"), E(1, White, "qp"),
                                               E(2, Black, "dd"), E(3, White, "cc")}));
  EXPECT_EQ(g.TotalEntries, 5);
  EXPECT_FALSE(g.OverLimit);
  EXPECT_EQ(g.Info.Handicap, u"2");
  EXPECT_EQ(g.Info.Komi, u"0");
  EXPECT_TRUE(g.Notes.empty()) << Joined(g.Notes);
}

TEST(SgfGame, CompressedListsAndSetupRemovals) {
  // A rectangle column by column; corners may come in either order.
  const ImportedGame g = Convert("(;AB[aa:bc]AW[ss:rr];AE[ab][ss][jj];B[ab])");
  EXPECT_EQ(g.Entries, (std::vector<MoveEntry>{E(0, Black, "aa"), E(0, Black, "ac"), E(0, Black, "ba"),
                                               E(0, Black, "bb"), E(0, Black, "bc"), E(0, White, "rr"),
                                               E(0, White, "rs"), E(0, White, "sr"), E(1, Black, "ab")}));
  // jj was empty: that removal is the one noted.
  EXPECT_NE(Joined(g.Notes).find("AE"), std::string::npos);
  EXPECT_NE(Refusal("(;AB[aa:zz])").find("盤の外"), std::string::npos);
  EXPECT_NE(Refusal("(;AB[aa]AW[aa])").find("重なって"), std::string::npos);
}

TEST(SgfGame, PassesAndVariationsAreDroppedWithNotes) {
  const ImportedGame g = Convert("(;B[pd];W[](;B[dd];W[tt];W[dp](;B[qq])(;B[cc]))(;B[aa]))");
  // The moves after a pass keep their own colours and the numbering goes on.
  EXPECT_EQ(g.Entries,
            (std::vector<MoveEntry>{E(1, Black, "pd"), E(2, Black, "dd"), E(3, White, "dp"), E(4, Black, "qq")}));
  const std::string notes = Joined(g.Notes);
  EXPECT_NE(notes.find("パス 2 回"), std::string::npos) << notes;
  EXPECT_NE(notes.find("変化 2 個"), std::string::npos) << notes;
}

TEST(SgfGame, SetupAfterAMoveEndsTheGameThere) {
  const ImportedGame g = Convert("(;AB[aa];B[pd];W[dp];AW[qq];B[dd])");
  EXPECT_EQ(g.Entries, (std::vector<MoveEntry>{E(0, Black, "aa"), E(1, Black, "pd"), E(2, White, "dp")}));
  EXPECT_NE(Joined(g.Notes).find("第2手の後"), std::string::npos) << Joined(g.Notes);
  // Set-up in a node of its own before any move is still the start position.
  EXPECT_EQ(Convert("(;GN[x];AW[bb];B[cc])").Entries, (std::vector<MoveEntry>{E(0, White, "bb"), E(1, Black, "cc")}));
}

TEST(SgfGame, RefusedGamesSayWhy) {
  EXPECT_NE(Refusal("(;GM[2]SZ[19];B[aa])").find("囲碁の棋譜ではありません（GM[2]）"), std::string::npos);
  EXPECT_NE(Refusal("(;SZ[13];B[aa])").find("19路盤の棋譜ではありません（SZ[13]）"), std::string::npos);
  EXPECT_NE(Refusal("(;SZ[19:13])").find("19路盤"), std::string::npos);
  EXPECT_EQ(Refusal("(;GM[1]SZ[19:19];B[aa])"), "");
  EXPECT_EQ(Refusal("(;FF[1];B[aa])"), "");
  const std::string occupied = Refusal("(;B[pd];W[dp];B[dp])");
  EXPECT_NE(occupied.find("第3手（黒）"), std::string::npos) << occupied;
  EXPECT_NE(occupied.find("dp"), std::string::npos) << occupied;
  // Passes are not numbered, so the move after one keeps the number it is stored under.
  const std::string off = Refusal("(;B[pd];W[];W[zz])");
  EXPECT_NE(off.find("第2手（白）"), std::string::npos) << off;
  EXPECT_NE(off.find("盤の外"), std::string::npos) << off;
}

// A ko taken back and forth, which the program's rules allow for ever: every
// move is on a point a capture has just emptied.
std::string KoFight(int cycles) {
  std::string sgf = "(;B[ba];W[ca];B[ab];W[db];B[bc];W[cc]";
  for (int i = 0; i < cycles; ++i) sgf += ";W[bb];B[cb]";
  return sgf + ")";
}

TEST(SgfGame, CapturesFreePointsAndLongGamesAreCut) {
  const ImportedGame fight = Convert(KoFight(2));
  ASSERT_EQ(fight.Entries.size(), 10u);
  EXPECT_EQ(fight.Entries.back(), E(10, Black, "cb"));

  const ImportedGame g = Convert(KoFight(200));
  EXPECT_TRUE(g.OverLimit);
  EXPECT_EQ(g.TotalEntries, 406);
  ASSERT_EQ(g.Entries.size(), static_cast<std::size_t>(MaxMoves));
  EXPECT_EQ(g.Entries.back(), E(400, Black, "cb"));
}

TEST(SgfGameInfo, OneLineTextTitleAndDate) {
  const ImportedGame g = Convert("(;PB[ 本因坊\n秀策 ]PW[因碩]BR[四段]DT[1846-09-11,12]RE[B+2]EV[御城碁]PC[江戸])");
  EXPECT_EQ(g.Info.Black, u"本因坊 秀策");
  EXPECT_EQ(g.Info.BlackRank, u"四段");
  EXPECT_EQ(g.Info.Result, u"B+2");
  EXPECT_EQ(g.Info.Place, u"江戸");
  EXPECT_EQ(GameTitle(g.Info), u"本因坊 秀策 と 因碩");

  GameInfo info;
  EXPECT_EQ(GameTitle(info), u"");
  info.White = u"因碩";
  EXPECT_EQ(GameTitle(info), u"因碩");
  info.Name = u"\u3000 ";
  EXPECT_EQ(GameTitle(info), u"因碩");
  info.Name = u"耳赤の一局";
  EXPECT_EQ(GameTitle(info), u"耳赤の一局");
}

TEST(SgfGameInfo, DatesReadLeniently) {
  struct Case {
    const char16_t* dt;
    int y, m, d;
  } cases[] = {
      {u"1846-09-11", 1846, 9, 11},        {u"1846-09", 1846, 9, 1},     {u"1846", 1846, 1, 1},
      {u"1846-09-11,12", 1846, 9, 11},     {u"1846/9/11", 1846, 9, 11},  {u"1846年9月11日", 1846, 9, 11},
      {u"弘化3年 1846.9.11", 1846, 9, 11}, {u"２００４－", 2004, 1, 1},  {u"1846-13-01", 1846, 1, 1},
      {u"1900-02-29", 1900, 2, 1},         {u"2000-02-29", 2000, 2, 29}, {u"19460-01-01 2001-05-06", 2001, 5, 6},
  };
  for (const Case& c : cases) {
    const std::optional<Date> d = GameDate(c.dt);
    ASSERT_TRUE(d) << ToUtf8(c.dt);
    EXPECT_EQ(d->year * 10000 + d->month * 100 + d->day, c.y * 10000 + c.m * 100 + c.d) << ToUtf8(c.dt);
  }
  for (const char16_t* none : {u"", u"昔", u"846-09-11", u"0000-01-01"}) EXPECT_EQ(GameDate(none), std::nullopt);
}

}  // namespace
}  // namespace sol::sgf

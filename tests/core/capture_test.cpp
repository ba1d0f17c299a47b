// The capture rule against a plain flood-fill reference, and replays
// against incremental play, over many random games.
#include "core/capture.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/game_state.h"
#include "core/replay.h"

namespace sol {
namespace {

// Sets the board from rows of text, top row first: X black, O white, . empty.
void SetRows(GameState& s, const std::vector<std::string>& rows) {
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c) {
      int p = BoardSize * static_cast<int>(c) + static_cast<int>(r) + 1;
      s.Board[p] = rows[r][c] == 'X' ? Black : rows[r][c] == 'O' ? White : Empty;
    }
}

std::vector<std::string> Rows(const GameState& s, int n) {
  std::vector<std::string> out(n, std::string(n, '.'));
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) {
      int v = s.Board[BoardSize * c + r + 1];
      out[r][c] = v == Black ? 'X' : v == White ? 'O' : '.';
    }
  return out;
}

void Play(GameState& s, int point, int colour) {
  s.Board[point] = static_cast<int16_t>(colour);
  PlaceStone(s, point, colour, s.MoveCount);
}

// Reference: after `point` is played, every opponent group touching it
// without a liberty comes off.
void ReferencePlay(std::array<int16_t, PointCount + 1>& b, int point, int colour, int& removed) {
  b[point] = static_cast<int16_t>(colour);
  removed = 0;
  int opp = Opponent(static_cast<int16_t>(colour));
  for (int d = 1; d <= 4; ++d) {
    int q = NeighbourPoint(point, d);
    if (!q || b[q] != opp) continue;
    std::vector<int> group{q}, seen(PointCount + 1, 0);
    seen[q] = 1;
    bool liberty = false;
    for (size_t i = 0; i < group.size(); ++i)
      for (int e = 1; e <= 4; ++e) {
        int n = NeighbourPoint(group[i], e);
        if (!n) continue;
        if (b[n] == Empty) liberty = true;
        if (b[n] == opp && !seen[n]) {
          seen[n] = 1;
          group.push_back(n);
        }
      }
    if (!liberty)
      for (int g : group) {
        b[g] = Empty;
        ++removed;
      }
  }
}

TEST(Capture, EdgeGroupsAndSeveralGroupsAtOnce) {
  GameState s;
  SetRows(s, {
                 "OO.OX",
                 "XXOX.",
                 "..X..",
             });
  s.MoveCount = 7;
  Play(s, 39, Black);  // row 1, column 3 takes three groups at once
  EXPECT_EQ(Rows(s, 5), (std::vector<std::string>{"..X.X", "XX.X.", "..X..", ".....", "....."}));
  EXPECT_EQ(s.CapturedWhite, 4);
  EXPECT_EQ(s.CaptureLogCount, 4);
  const int order[] = {1, 20, 40, 58};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s.CaptureLog[i + 1].Point, order[i]);
    EXPECT_EQ(s.CaptureLog[i + 1].AtMove, 7);
    EXPECT_EQ(s.CaptureLog[i + 1].Colour, White);
  }
}

TEST(Capture, NoSuicideRuleAndDistantLibertyKeepsGroup) {
  GameState s;
  SetRows(s, {
                 ".X",
                 "X.",
             });
  Play(s, 1, White);  // no liberty, captures nothing: stays
  EXPECT_EQ(s.Board[1], White);
  EXPECT_EQ(s.CapturedWhite + s.CapturedBlack, 0);

  GameState t;
  // A long white chain on row 1 whose only liberty is at its far end.
  SetRows(t, {
                 "OOOOOOOOOO.",
                 "XXXXXXXXXX.",
             });
  Play(t, BoardSize * 10 + 2, Black);  // row 2, column 11
  EXPECT_EQ(t.CapturedWhite, 0);
  Play(t, BoardSize * 10 + 1, Black);  // row 1, column 11: the last liberty
  EXPECT_EQ(t.CapturedWhite, 10);
}

TEST(Capture, FullBoardOfOneColourIsTakenByTheLastPoint) {
  GameState s;
  for (int p = 1; p <= PointCount; ++p) s.Board[p] = White;
  s.Board[181] = Empty;
  s.MoveCount = 361;
  Play(s, 181, Black);
  EXPECT_EQ(s.CapturedWhite, 360);
  EXPECT_EQ(s.CaptureLogCount, 360);
  for (int p = 1; p <= PointCount; ++p) EXPECT_EQ(s.Board[p], p == 181 ? Black : Empty) << p;
  EXPECT_EQ(s.CaptureLog[360].Point, 361);
  EXPECT_EQ(s.CaptureLog[360].AtMove, 361);
}

TEST(Capture, RandomGamesMatchTheReferenceAndTheirReplays) {
  std::mt19937 rng(12345);
  for (int game = 0; game < 40; ++game) {
    GameState s;
    std::array<int16_t, PointCount + 1> ref{};
    int refBlack = 0, refWhite = 0, colour = Black;
    for (int move = 1; move <= MaxMoves; ++move) {
      std::vector<int> empty;
      for (int p = 1; p <= PointCount; ++p)
        if (s.Board[p] == Empty) empty.push_back(p);
      if (empty.empty()) break;
      int p = empty[rng() % empty.size()];
      s.MoveCount = static_cast<int16_t>(move);
      s.MoveList[move] = {static_cast<int16_t>(move), static_cast<int16_t>(colour), static_cast<int16_t>(p)};
      s.Board[p] = static_cast<int16_t>(colour);
      PlaceStone(s, p, colour, move);
      int removed = 0;
      ReferencePlay(ref, p, colour, removed);
      (colour == Black ? refWhite : refBlack) += removed;
      ASSERT_EQ(s.Board, ref) << "game " << game << " move " << move;
      colour = Opponent(static_cast<int16_t>(colour));
    }
    EXPECT_EQ(s.CapturedBlack, refBlack);
    EXPECT_EQ(s.CapturedWhite, refWhite);
    const auto played = s.Board;
    const int count = s.MoveCount;
    ReplayMoves(s, MaxMoves);
    EXPECT_EQ(s.Board, played);
    EXPECT_EQ(s.MoveCount, count);
    EXPECT_EQ(s.CapturedBlack, refBlack);
    EXPECT_EQ(s.CapturedWhite, refWhite);
  }
}

TEST(Capture, WindowOfTheLeftColumnsTakesOffOnlyItsOwnPoints) {
  // A white chain along row 1 from column 12 to column 15, black below it
  // and at both ends: dead on the whole board, but a 13-column window only
  // takes off its own two stones; a liberty beyond the window keeps it.
  const int col12 = BoardSize * 11 + 1, window = 13 * BoardSize;
  BoardPoints b{};
  for (int c = 0; c < 4; ++c) {
    b[col12 + BoardSize * c] = White;
    b[col12 + BoardSize * c + 1] = Black;
  }
  b[col12 + BoardSize * 4] = Black;
  BoardPoints open = b;
  open[col12 + BoardSize * 4] = Empty;
  b[col12 - BoardSize] = Black;
  Capture taken = TakeOffDeadGroups(b, col12 - BoardSize, White, window);
  EXPECT_EQ(taken.Colour, White);
  ASSERT_EQ(taken.Count, 2);
  EXPECT_EQ(taken.Points[0], col12);
  EXPECT_EQ(taken.Points[1], col12 + BoardSize);
  EXPECT_EQ(b[col12 + 2 * BoardSize], White);
  EXPECT_EQ(b[col12 + 3 * BoardSize], White);
  open[col12 - BoardSize] = Black;
  EXPECT_EQ(TakeOffDeadGroups(open, col12 - BoardSize, White, window).Count, 0);
  EXPECT_EQ(open[col12], White);
  // A stone of the other colour or a signed one is read by its colour.
  BoardPoints single{};
  single[2] = -White;
  single[3] = Black;
  single[21] = Black;
  single[1] = Black;
  EXPECT_EQ(TakeOffDeadGroups(single, 1, White).Count, 1);
  EXPECT_EQ(single[2], Empty);
}

TEST(Replay, NewestStoneCaptionAndPlacementChanges) {
  GameState s;
  s.MoveList[1] = {1, Black, 2};
  s.MoveList[2] = {2, White, 1};
  s.MoveList[3] = {3, Black, 20};
  EXPECT_EQ(ReplayMoves(s, 3).NewestCaption, u"3");
  EXPECT_EQ(s.LastPoint, 20);
  s.BoardMode = FreeUnnumberedMode;
  EXPECT_EQ(ReplayMoves(s, 3).NewestCaption, u" ");
  s.BoardMode = GameMode;
  // A damaged entry after the newest drawn stone leaves its number shown;
  // a stone put again on the newest stone's point shows none.
  s.MoveList[4] = {4, 9, 30};
  EXPECT_EQ(ReplayMoves(s, 4).NewestCaption, u"3");
  s.MoveList[4] = {4, White, 20};
  EXPECT_EQ(ReplayMoves(s, 4).NewestCaption, u" ");
  EXPECT_EQ(ReplayMoves(s, 5).Status, u"  ");
  s.MoveList.fill({});
  EXPECT_EQ(ReplayMoves(s, 5).Status, u"手順がありません");

  GameState t;
  t.Board[2] = Black;
  Placement first = PlaceStone(t, 2, Black, 1);
  EXPECT_EQ(first.PreviousNewest, 0);
  t.Board[1] = White;
  PlaceStone(t, 1, White, 2);
  t.Board[20] = Black;
  Placement third = PlaceStone(t, 20, Black, 3);
  EXPECT_EQ(third.PreviousNewest, 1);
  ASSERT_EQ(third.Captured.Count, 1);
  EXPECT_EQ(third.Captured.Points[0], 1);
}

TEST(Replay, CountsAndEmptyList) {
  GameState s;
  ReplayMoves(s, 5);
  EXPECT_EQ(s.MoveCount, 0);
  s.MoveList[1] = {1, Black, 61};
  s.MoveList[2] = {2, White, 62};
  ReplayMoves(s, 0);
  EXPECT_EQ(s.MoveCount, 0);
  EXPECT_EQ(s.MoveNumber, 0);
  EXPECT_EQ(s.Board[61], Empty);
  ReplayMoves(s, 1);
  EXPECT_EQ(s.MoveCount, 1);
  EXPECT_EQ(s.Board[61], Black);
  ReplayMoves(s, 400);
  EXPECT_EQ(s.MoveCount, 2);
  EXPECT_EQ(s.MoveNumber, 2);
  // Damaged entries are skipped rather than written out of range.
  s.MoveList[3] = {3, Black, 999};
  s.MoveList[4] = {4, 7, 70};
  ReplayMoves(s, 400);
  EXPECT_EQ(s.Board[70], Empty);
  EXPECT_EQ(s.MoveCount, 4);
}

TEST(GameState, NeighboursAndDataDir) {
  EXPECT_EQ(NeighbourPoint(19, 2), 0);
  EXPECT_EQ(NeighbourPoint(20, 1), 0);
  EXPECT_EQ(NeighbourPoint(1, 1), 0);
  EXPECT_EQ(NeighbourPoint(1, 2), 2);
  EXPECT_EQ(NeighbourPoint(1, 3), 0);
  EXPECT_EQ(NeighbourPoint(1, 4), 20);
  EXPECT_EQ(NeighbourPoint(361, 4), 0);
  EXPECT_EQ(NeighbourPoint(343, 3), 324);
  EXPECT_EQ(Opponent(Black), White);
  EXPECT_EQ(Opponent(White), Black);
  EXPECT_EQ(MakeDataDir("/home/u/solneka"), "/home/u/solneka/");
  EXPECT_EQ(MakeDataDir("/"), "/");
  EXPECT_EQ(MakeDataDir("C:\\"), "C:\\");
}

}  // namespace
}  // namespace sol

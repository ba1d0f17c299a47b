// Long games on the real main board window: take-backs through a capture
// log far past a hundred stones, and the 400-move limit.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/program.h"
#include "core/text.h"
#include "scenario/script_platform.h"

namespace sol {
namespace {

struct Board : ::testing::Test {
  ScriptPlatform platform;
  Program program{platform, "/nonexistent-dir-for-tests"};
  Form2& f = program.MainBoard;
  GameState& s = program.State;
  void SetUp() override { program.Start(); }
  std::vector<int16_t> Pictures() {
    std::vector<int16_t> v;
    for (int p = 1; p <= PointCount; ++p) v.push_back(f.Cells.PictureAt(p));
    return v;
  }
};

TEST_F(Board, TakeBacksRestoreEveryCaptureOfALongCrowdedGame) {
  std::vector<std::array<int16_t, PointCount + 1>> boards;
  std::vector<std::vector<int16_t>> pictures;
  std::vector<std::pair<int, int>> prisoners;
  boards.push_back(s.Board);
  pictures.push_back(Pictures());
  prisoners.push_back({0, 0});
  auto click = [&](int p, int button) {
    f.Cells.MouseDown(p, button, 0);
    boards.push_back(s.Board);
    pictures.push_back(Pictures());
    prisoners.push_back({s.CapturedBlack, s.CapturedWhite});
  };
  auto at = [](int column, int row) { return BoardSize * (column - 1) + row; };
  // Six white columns of 18 stones, each walled in by black and taken.
  f.Option2.Click();
  for (int c = 1; c <= 11; c += 2) {
    for (int r = 1; r <= 18; ++r) click(at(c, r), ButtonRight);
    for (int r = 1; r <= 19; ++r) click(at(c + 1, r), ButtonLeft);
    click(at(c, 19), ButtonLeft);
  }
  ASSERT_EQ(s.CapturedWhite, 108);
  // The rest of the game is random play, with more captures on the way.
  f.Option1.Click();
  std::mt19937 rng(7);
  while (s.MoveCount < MaxMoves) {
    std::vector<int> empty;
    for (int p = 1; p <= PointCount; ++p)
      if (s.Board[p] == Empty) empty.push_back(p);
    ASSERT_FALSE(empty.empty());
    click(empty[rng() % empty.size()], ButtonLeft);
  }
  ASSERT_GT(s.CaptureLogCount, 100);
  for (int m = MaxMoves; m > 0; --m) {
    f.Command1.Click();
    ASSERT_EQ(s.MoveCount, m - 1);
    ASSERT_EQ(s.Board, boards[m - 1]) << "after taking back move " << m;
    ASSERT_EQ(Pictures(), pictures[m - 1]);
    ASSERT_EQ((std::pair<int, int>(s.CapturedBlack, s.CapturedWhite)), prisoners[m - 1]);
    ASSERT_EQ(f.Label5.Caption(), Num(s.CapturedBlack));
  }
  EXPECT_EQ(s.CaptureLogCount, 0);
  // ... and stepping forward replays the same game.
  for (int m = 1; m <= MaxMoves; ++m) {
    f.Command4.Click();
    ASSERT_EQ(s.Board, boards[m]) << "after stepping to move " << m;
  }
}

TEST_F(Board, TheFourHundredAndFirstMoveIsRefused) {
  f.Option2.Click();
  for (int p = 1; p <= MaxMoves && p <= PointCount; ++p) f.Cells.MouseDown(p, p % 2 ? ButtonLeft : ButtonRight, 0);
  // 361 stones fill the board, with captures along the way; keep clicking
  // empty points until the list is full.
  for (int guard = 0; s.MoveCount < MaxMoves && guard < 10000; ++guard)
    for (int p = 1; p <= PointCount && s.MoveCount < MaxMoves; ++p)
      if (s.Board[p] == Empty) f.Cells.MouseDown(p, ButtonLeft, 0);
  ASSERT_EQ(s.MoveCount, MaxMoves);
  int empty = 0;
  for (int p = 1; p <= PointCount; ++p)
    if (s.Board[p] == Empty) empty = p;
  ASSERT_NE(empty, 0);
  const auto before = s.MoveList;
  f.Cells.MouseDown(empty, ButtonLeft, 0);
  EXPECT_EQ(s.MoveCount, MaxMoves);
  EXPECT_EQ(s.Board[empty], Empty);
  EXPECT_EQ(f.Cells.PictureAt(empty), PictureNone);
  EXPECT_EQ(s.MoveList, before);
  EXPECT_EQ(f.StatusBar1.Text(), u"これ以上は打てません（400手まで）");
  f.Option1.Click();
  f.Cells.MouseDown(empty, ButtonLeft, 0);
  EXPECT_EQ(s.Board[empty], Empty);
  EXPECT_EQ(s.MoveCount, MaxMoves);
  // Stepping forward at the end of a full list stops cleanly too.
  f.Command4.Click();
  EXPECT_EQ(f.StatusBar1.Text(), u"もう進めません");
}

}  // namespace
}  // namespace sol

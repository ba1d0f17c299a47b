// Where the lecture stands, the clicked stones and the endgame count,
// without a window.
#include "problems/lecture_model.h"

#include <gtest/gtest.h>

#include "core/game_state.h"
#include "problems/store.h"
#include "problems/yose_count.h"

namespace sol {
namespace {

constexpr int B = Black, W = White;

TEST(Lecture, ColourOfTheNextMove) {
  Lecture l;
  EXPECT_EQ(l.NextColour(false), B);
  EXPECT_EQ(l.NextColour(true), W) << "problems that White plays first";
  l.ProblemLastColour = B;
  EXPECT_EQ(l.NextColour(true), W);
  l.ProblemLastColour = W;
  EXPECT_EQ(l.NextColour(false), B);
}

TEST(ProblemRegistration, BufferKeepsOrderAndRefusesWhenFull) {
  ProblemRegistration r;
  for (int i = 1; i <= MoveBufferSize; ++i) ASSERT_TRUE(r.Append(i % 2 ? B : W, i, i));
  EXPECT_TRUE(r.Full());
  EXPECT_FALSE(r.Append(B, 99, 51));
  r.DropNewest();
  EXPECT_EQ(r.MoveBufferCount, MoveBufferSize - 1);
  EXPECT_EQ(r.MoveBuffer[MoveBufferSize].Colour, 0);

  r.ClearMoves();
  r.Append(B, 61, 1);
  r.Append(W, 62, 2);
  r.TakeAsSetup(1005);
  EXPECT_EQ(r.MoveBuffer[1].Colour, 0) << "the stones leave the buffer";
  const std::vector<SetupEntry> setup = r.TakeSetup();
  ASSERT_EQ(setup.size(), 2u);
  EXPECT_EQ(setup[1].ProblemNumber, 1005);
  EXPECT_EQ(setup[1].Point, 62);
  EXPECT_TRUE(r.TakeSetup().empty()) << "a set-up is taken once";
}

TEST(ProblemRegistration, NextFreeNumberAfterTheRunFromTheBase) {
  EXPECT_EQ(NextFreeProblemNumber({}, 1000), 1001);
  EXPECT_EQ(NextFreeProblemNumber({1001, 1002, 1004}, 1000), 1003);
  EXPECT_EQ(NextFreeProblemNumber({1002, 1003}, 1000), 1001) << "the run must start at base + 1";
  EXPECT_EQ(NextFreeProblemNumber({1001, 1002, 2001}, 2000), 2002);
  EXPECT_EQ(NextFreeProblemNumber({1001, 2001}, 1000), 1002);
}

TEST(YoseCount, BothRunsOfOneProblemGiveItsValue) {
  YoseCount y;
  const BoardPoints empty{};
  // Black first took 3 white stones and lost 1; White first took 2 and lost 1.
  EXPECT_EQ(y.AddRun(2001, B, empty, 1, 3), std::nullopt);
  EXPECT_EQ(y.AddRun(2002, W, empty, 2, 1), std::nullopt) << "another problem's run";
  EXPECT_EQ(y.AddRun(2002, B, empty, 1, 3), 3) << "(3 - 1) + (2 - 1) stones";
  // The count starts over.
  EXPECT_EQ(y.AddRun(2002, W, empty, 2, 1), std::nullopt);
}

}  // namespace
}  // namespace sol

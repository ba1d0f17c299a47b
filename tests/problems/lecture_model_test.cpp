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

// A root sequence, a wrong root, and two branches after the root's second
// move, the second of them wrong.
AnswerTree Branching() {
  return AnswerTree({{1001, 1, B, 119, 1, StartsAtProblem},
                     {1001, 2, W, 138, 2, 0},
                     {1001, 1, -B, 61, 3, StartsAtProblem},
                     {1001, 3, B, 60, 4, 2},
                     {1001, 4, W, 64, 5, 0},
                     {1001, 3, -B, 65, 6, 2}});
}

TEST(Lecture, MovesFollowTheOfferedLines) {
  const AnswerTree t = Branching();
  Lecture l;
  l.CurrentRecord = -1;
  EXPECT_EQ(l.MatchMove(t, 1, 61), 2);
  EXPECT_TRUE(l.WrongBranch) << "the wrong root is shown as wrong";

  l = {};
  l.CurrentRecord = -1;
  ASSERT_EQ(l.MatchMove(t, 1, 119), 0);
  ASSERT_EQ(l.MatchMove(t, 2, 138), 1);
  EXPECT_FALSE(l.WrongBranch);
  // Two sequences hang from record 2; the lecture offers both.
  EXPECT_EQ(l.MatchMove(t, 3, 65), 5);
  EXPECT_TRUE(l.WrongBranch);
  l.CurrentRecord = 1;
  EXPECT_EQ(l.MatchMove(t, 3, 60), 3);
  EXPECT_EQ(l.Candidates[1], 3);
  EXPECT_EQ(l.Candidates[2], 5);
  EXPECT_EQ(l.Candidates[3], -1);

  // A move no offered line holds leaves the lecture where it stood.
  l.CurrentRecord = 1;
  l.WrongBranch = true;
  EXPECT_EQ(l.MatchMove(t, 3, 100), std::nullopt);
  EXPECT_EQ(l.CurrentRecord, 1);
  EXPECT_FALSE(l.WrongBranch);
  EXPECT_EQ(l.CandidateAt(t, 65), 5);
  EXPECT_EQ(l.CandidateAt(t, 100), -1);
}

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

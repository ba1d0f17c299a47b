// The answer tree without a window: candidates, replay paths, step-backs
// and the data check, over sound and damaged links.
#include "problems/answer_tree.h"

#include <gtest/gtest.h>

#include <numeric>

#include "core/record_file.h"
#include "problems/lecture_model.h"
#include "problems/store.h"

namespace sol {
namespace {

constexpr int B = Black, W = White;

// A root sequence, a wrong root, two branches after the root's last move
// (the second wrong) and a branch after the first branch.
AnswerTree Branching() {
  return AnswerTree({{1001, 1, B, 119, 1, StartsAtProblem},
                     {1001, 2, W, 138, 2, 0},
                     {1001, 1, -B, 61, 3, StartsAtProblem},
                     {1001, 3, B, 60, 4, 2},
                     {1001, 4, W, 64, 5, 0},
                     {1001, 3, -B, 65, 6, 2},
                     {1001, 5, B, 66, 7, 5}});
}

TEST(AnswerTree, CandidatesAndContinuationAtBranches) {
  const AnswerTree t = Branching();
  using V = std::vector<int>;
  EXPECT_EQ(t.Candidates(-1), (V{0, 2}));
  EXPECT_EQ(t.Candidates(0), V{}) << "the next line continues the sequence";
  EXPECT_EQ(t.Candidates(1), (V{3, 5}));
  EXPECT_EQ(t.Candidates(2), V{}) << "nothing hangs from record 3";
  EXPECT_EQ(t.Candidates(4), V{6});
  EXPECT_EQ(t.Candidates(6), V{});

  auto at = [&t](int line) { return std::pair(t.ContinuationAt(line).Continues, t.ContinuationAt(line).EndsSequence); };
  EXPECT_EQ(at(0), std::pair(true, false));
  EXPECT_EQ(at(1), std::pair(true, true));
  EXPECT_EQ(at(2), std::pair(false, true));
  EXPECT_EQ(at(4), std::pair(true, true));
  EXPECT_EQ(at(6), std::pair(false, true)) << "the last line";

  EXPECT_TRUE(t.StartsWrongLine(1, 61));
  EXPECT_TRUE(t.StartsWrongLine(3, 65));
  EXPECT_FALSE(t.StartsWrongLine(1, 119));
  EXPECT_FALSE(t.StartsWrongLine(3, 60));

  // A position offers ten sequences, the first ten in list order.
  std::vector<AnswerLine> wide;
  for (int i = 0; i < 12; ++i) wide.push_back({1001, 1, B, 10 + i, 2001 + i, StartsAtProblem});
  const std::vector<int> offered = AnswerTree(wide).Candidates(-1);
  ASSERT_EQ(offered.size(), 10u);
  EXPECT_EQ(offered.back(), 9);
}

TEST(AnswerTree, PathsAndStepsBackOverBranches) {
  const AnswerTree t = Branching();
  EXPECT_EQ(t.SequenceStart(4), 3);
  EXPECT_EQ(t.SequenceStart(1), 0);
  EXPECT_EQ(t.SequenceEnd(3), 4);
  EXPECT_EQ(t.SequenceEnd(6), 6);
  EXPECT_EQ(t.PathBack(6), (std::vector<int>{6, 4, 3, 1, 0}));
  EXPECT_EQ(t.PathBack(t.SequenceEnd(5)), (std::vector<int>{5, 1, 0}));

  EXPECT_EQ(t.StepBack(0), -1);
  EXPECT_EQ(t.StepBack(1), 0);
  EXPECT_EQ(t.StepBack(3), 1) << "a branch head steps back to the move it follows";
  EXPECT_EQ(t.StepBack(6), 4);
  EXPECT_EQ(t.StepBack(2), -1) << "a root head steps back to the problem position";

  const AnswerCheck c = t.Check({1, 4, 2});
  EXPECT_EQ(c.BadSequences, std::vector<int>{});
  EXPECT_EQ(c.BadComments, std::vector<int>{2}) << "record 2 continues a sequence and heads none";
}

TEST(AnswerTree, LongChainsAreWalkedWhole) {
  // 3000 sequences of two moves, each after the last move of the one before.
  constexpr int Sequences = 3000;
  std::vector<AnswerLine> lines;
  for (int k = 0; k < Sequences; ++k) {
    const int head = 2001 + 2 * k;
    lines.push_back({1001, 2 * k + 1, B, 1 + k % 200, head, k == 0 ? int{StartsAtProblem} : head - 1});
    lines.push_back({1001, 2 * k + 2, W, 201 + k % 40, head + 1, 0});
  }
  const AnswerTree t(lines);
  const int last = t.Count() - 1;
  std::vector<int> expected(static_cast<size_t>(t.Count()));
  std::iota(expected.rbegin(), expected.rend(), 0);
  EXPECT_EQ(t.PathBack(last), expected);
  EXPECT_EQ(t.StepBack(last - 1), last - 2);
  EXPECT_EQ(t.Candidates(last - 2), std::vector<int>{last - 1});
  const AnswerCheck c = t.Check({2001, 2001 + 2 * (Sequences - 1)});
  EXPECT_TRUE(c.BadSequences.empty());
  EXPECT_TRUE(c.BadComments.empty());
}

TEST(AnswerTree, DamagedLinksEndEveryWalk) {
  // Heads that link to each other, to themselves, to no record and to the
  // ends of the number range; record 5 is listed twice.
  const AnswerTree t({{1001, 1, B, 119, 1, StartsAtProblem},
                      {1001, 2, W, 138, 2, 0},
                      {1001, 3, B, 60, 3, 4},
                      {1001, 4, W, 61, 4, 3},
                      {1001, 5, B, 62, 5, 5},
                      {1001, 6, W, 63, 6, 7},
                      {1001, 7, B, 64, MaxRecordNumber, MaxRecordNumber},
                      {1001, 8, W, 65, -32768, -32768},
                      {1001, 9, B, 66, 5, 0}});
  for (int i = -2; i <= t.Count() + 1; ++i) {
    const std::vector<int> path = t.PathBack(t.SequenceEnd(t.SequenceStart(i)));
    EXPECT_LE(path.size(), static_cast<size_t>(t.Count() + 1)) << "line " << i;
  }
  EXPECT_EQ(t.PathBack(4), std::vector<int>{4}) << "a head naming itself";
  EXPECT_EQ(t.PathBack(5), std::vector<int>{5}) << "a head naming no record";
  EXPECT_EQ(t.PathBack(7), std::vector<int>{7});
  EXPECT_EQ(t.FindRecord(5), 4) << "the first line with the number";
  EXPECT_EQ(t.FindRecord(7), -1);
  EXPECT_EQ(t.At(t.Count()), AnswerLine{});
  EXPECT_EQ(t.At(-1), AnswerLine{});

  EXPECT_EQ(t.StepBack(5), 5) << "no record to go back to: the lecture stays";
  EXPECT_EQ(t.StepBack(7), -1);
  EXPECT_EQ(t.StepBack(3), 2);
  EXPECT_EQ(t.Candidates(t.Count() + 3), std::vector<int>{});

  const AnswerCheck c = t.Check({4, 32768});
  EXPECT_EQ(c.BadSequences, (std::vector<int>{3, 4, 5, 6, MaxRecordNumber, -32768}));
  EXPECT_EQ(c.BadComments, std::vector<int>{32768});
}

// The lecture walks the same tree.
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

}  // namespace
}  // namespace sol

// Removing answer records and problems: packing, and the renumbering of
// branch links and comment references that goes with it.
#include <filesystem>
#include <random>

#include "core/text.h"
#include "tests/problems/store_fixture.h"

namespace sol {
namespace {

using F = ProblemFile;

std::vector<int> CommentTargets(const GameState& s, int category) {
  std::vector<int> out;
  for (const auto& c : ScanComments(s, category)) out.push_back(c.value.AnswerRecord);
  return out;
}

TEST_F(StoreTest, RemovingTheFirstOfThreeSequencesMovesTheOthersDown) {
  Put(F::Answers, 2001,
      {Answer(1001, 1, 1, 10, 2001, 99), Answer(1001, 2, 2, 11, 2002, 0), Answer(1001, 3, 1, 12, 2003, 0),
       Answer(1002, 1, 1, 50, 2004, 99),                                       // another problem in between
       Answer(1001, 1, -1, 20, 2005, 99), Answer(1001, 2, 2, 21, 2006, 0),     // a wrong sequence
       Answer(1001, 3, 1, 30, 2007, 2006), Answer(1001, 4, 2, 31, 2008, 0)});  // branching from its end
  Put(F::Comments, 501,
      {Comment(1001, 2001, u"A"), Comment(1002, 2004, u"X"), Comment(1001, 2005, u"B"), Comment(1001, 2007, u"C"),
       Comment(1001, 2002, u"on a removed move"), Comment(1002, 2003, u"dangling")});

  RemoveAnswers(s, 2, {2001, 2002, 2003});
  EXPECT_EQ(Raw(F::Answers).substr(2000 * 12, 6 * 12),
            Answer(1002, 1, 1, 50, 2001, 99) + Answer(1001, 1, -1, 20, 2002, 99) + Answer(1001, 2, 2, 21, 2003, 0) +
                Answer(1001, 3, 1, 30, 2004, 2003) + Answer(1001, 4, 2, 31, 2005, 0) + EndMarker(F::Answers));
  EXPECT_EQ(s.BlockEnd[2].AnswersEnd, 2005);
  // The comments of removed moves go with them; one of another problem that
  // already named a wrong record is kept and shifted like the rest.
  const auto comments = ScanComments(s, 2);
  ASSERT_EQ(comments.size(), 4u);
  EXPECT_EQ(comments[0].value.CommentText.substr(0, 1), u"X");
  EXPECT_EQ(CommentTargets(s, 2), (std::vector<int>{2001, 2002, 2004, 2001}));
  EXPECT_EQ(s.BlockEnd[2].CommentsEnd, 504);
  EXPECT_EQ(Raw(F::Comments).substr(504 * 50, 50), EndMarker(F::Comments));

  RemoveComments(s, 2, {{1001, 2002}, {1001, 9999}});
  EXPECT_EQ(CommentTargets(s, 2), (std::vector<int>{2001, 2004, 2001}));
  EXPECT_EQ(s.BlockEnd[2].CommentsEnd, 503);
}

// Links are checked against what they named before: the record a link led
// to is the record it leads to now. Records carry their old number in Point.
TEST_F(StoreTest, LinkTranslationMatchesABruteForceReference) {
  std::mt19937 rng(42);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const auto link = [&]() -> int16_t {
    const int k = pick(10);
    if (k < 5) return 0;
    if (k == 5) return 99;
    if (k == 6) return static_cast<int16_t>(-pick(100) - 1);
    if (k == 7) return static_cast<int16_t>(2001 + pick(30000));
    return static_cast<int16_t>(1 + pick(2000));
  };
  const int n = 1800;
  std::vector<AnswerMoveRecord> old;
  std::vector<std::string> bytes;
  for (int p = 1; p <= n; ++p) {
    old.push_back({static_cast<int16_t>(1001 + pick(4)), 1, 1, static_cast<int16_t>(p), int16_t(pick(5000)), link()});
    bytes.push_back(old.back().Encode());
  }
  Put(F::Answers, 1, bytes);
  std::vector<CommentRecord> oldComments;
  bytes.clear();
  for (int i = 0; i < 400; ++i) {
    oldComments.push_back({static_cast<int16_t>(1001 + pick(4)), link(), Num(i)});
    bytes.push_back(oldComments.back().Encode());
  }
  Put(F::Comments, 1, bytes);

  std::vector<int> removed;
  for (int p = 1; p <= n; ++p)
    if (pick(10) < 3) removed.push_back(p);
  int runs = 0;
  for (size_t i = 0; i < removed.size(); ++i) runs += i == 0 || removed[i - 1] != removed[i] - 1;
  ASSERT_GT(runs, 100);
  const auto isRemoved = [&](int r) { return std::find(removed.begin(), removed.end(), r) != removed.end(); };
  // Record 99 stays reserved, so every number from it on is one up.
  const auto lowered = [&](int r) {
    int below = 0;
    for (int x : removed) below += x < r;
    return r - below >= 99 ? r - below + 1 : r - below;
  };
  std::vector<int> asked = removed;
  asked.insert(asked.end(), {0, -3, n + 1, 2000});  // name nothing
  RemoveAnswers(s, 1, asked);

  const auto now = ScanAnswers(s, 1);
  ASSERT_EQ(now.size(), static_cast<size_t>(n) - removed.size() + 1);
  EXPECT_EQ(now[98].value.ProblemNumber, ReservedAnswerProblem);
  size_t at = 0;
  for (int p = 1; p <= n; ++p) {
    if (isRemoved(p)) continue;
    if (at == 98) ++at;
    const AnswerMoveRecord& r = now[at].value;
    ASSERT_EQ(r.Point, p);
    EXPECT_EQ(r.RecordNumber, now[at].record);
    const int16_t was = old[static_cast<size_t>(p - 1)].BranchLink;
    if (was == 0 || was == 99) {
      EXPECT_EQ(r.BranchLink, was);
    } else {
      EXPECT_EQ(r.BranchLink, lowered(was)) << "record " << p;
      if (was >= 1 && was <= n && !isRemoved(was)) {
        EXPECT_EQ(now[static_cast<size_t>(r.BranchLink - 1)].value.Point, was);
      }
    }
    ++at;
  }
  const auto comments = ScanComments(s, 1);
  at = 0;
  for (const CommentRecord& c : oldComments) {
    if (isRemoved(c.AnswerRecord) && old[static_cast<size_t>(c.AnswerRecord - 1)].ProblemNumber == c.ProblemNumber)
      continue;
    ASSERT_LT(at, comments.size());
    EXPECT_EQ(Trim(comments[at].value.CommentText), c.CommentText);
    EXPECT_EQ(comments[at].value.AnswerRecord, lowered(c.AnswerRecord));
    ++at;
  }
  EXPECT_EQ(at, comments.size());
}

TEST_F(StoreTest, DeletingAProblemClearsItFromAllFourFiles) {
  Put(F::List, 1001, {ListEntry(1001), ListEntry(1002), ListEntry(1003)});
  Put(F::Moves, 20001, {Stone(1002, 1), Stone(1001, 2), Stone(1003, 3), Stone(1002, 4)});
  Put(F::Answers, 4001,
      {Answer(1001, 1, 1, 1, 4001, 99), Answer(1001, 2, 2, 2, 4002, 0), Answer(1002, 1, 1, 3, 4003, 99),
       Answer(1002, 2, 2, 4, 4004, 0), Answer(1003, 1, 1, 5, 4005, 99), Answer(1003, 2, 2, 6, 4006, 0),
       Answer(1002, 3, 1, 7, 4007, 4004), Answer(1003, 3, 1, 8, 4008, 4006)});
  Put(F::Comments, 1001, {Comment(1001, 4001), Comment(1002, 4003), Comment(1003, 4005), Comment(1003, 4008)});

  DeleteProblemRecords(s, 3, 1002);
  std::vector<int> listed;
  for (const auto& r : ScanProblemList(s, 3)) listed.push_back(r.value.ProblemNumber);
  EXPECT_EQ(listed, (std::vector<int>{1001, 1003}));
  EXPECT_EQ(Raw(F::Moves).substr(20000 * 6), Stone(1001, 2) + Stone(1003, 3) + EndMarker(F::Moves) + Stone(1002, 4));
  EXPECT_EQ(Raw(F::Answers).substr(4000 * 12, 6 * 12),
            Answer(1001, 1, 1, 1, 4001, 99) + Answer(1001, 2, 2, 2, 4002, 0) + Answer(1003, 1, 1, 5, 4003, 99) +
                Answer(1003, 2, 2, 6, 4004, 0) + Answer(1003, 3, 1, 8, 4005, 4004) + EndMarker(F::Answers));
  EXPECT_EQ(CommentTargets(s, 3), (std::vector<int>{4001, 4003, 4005}));
  EXPECT_EQ(s.BlockEnd[3].ListEnd, 1002);
  EXPECT_EQ(s.BlockEnd[3].MovesEnd, 20002);
  EXPECT_EQ(s.BlockEnd[3].AnswersEnd, 4005);
  EXPECT_EQ(s.BlockEnd[3].CommentsEnd, 1003);
}

TEST(DependentSequences, FollowBranchesOfTheSameProblemAndEnd) {
  const int16_t links[] = {99, 0, 0, 99, 2, 0, 0, 7, 2, 10, 12, 11};
  const int16_t problems[] = {1, 1, 1, 2, 1, 2, 1, 1, 2, 1, 1, 1};
  std::vector<Numbered<AnswerMoveRecord>> block;
  for (int i = 0; i < 12; ++i) block.push_back({i + 1, {problems[i], 1, 1, 1, int16_t(i + 1), links[i]}});
  // 5 branches from the middle of 1..3 and goes on at 7 past problem 2's
  // record 6; 8 branches from 7; 9 belongs to another problem.
  EXPECT_EQ(WithDependentSequences(block, {3, 2}), (std::vector<int>{2, 3, 5, 7, 8}));
  EXPECT_EQ(WithDependentSequences(block, {11}), (std::vector<int>{11, 12}));
  EXPECT_EQ(WithDependentSequences(block, {10, 40}), (std::vector<int>{10, 40}));
}

TEST_F(StoreTest, OversizedFilesAreReadBoundedAndNeverRewritten) {
  Put(F::Answers, 1, {Answer(1001, 1, 1, 1, 1, 99)});
  std::filesystem::resize_file(s.AnswerMovesFile, (std::uintmax_t{64} << 20) + 1);
  EXPECT_EQ(ScanAnswers(s, 1).size(), 1u);
  EXPECT_TRUE(ScanAnswers(s, 4).empty());
  EXPECT_THROW(RemoveAnswers(s, 1, {1}), FileError);
  EXPECT_EQ(std::filesystem::file_size(s.AnswerMovesFile), (std::uintmax_t{64} << 20) + 1);
  EXPECT_EQ(ScanAnswers(s, 1).size(), 1u);
}

}  // namespace
}  // namespace sol

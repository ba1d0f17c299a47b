// Record layouts, block geometry, scans, appends and in-block rewrites.
#include <random>

#include "tests/problems/store_fixture.h"

namespace sol {
namespace {

using F = ProblemFile;
constexpr F AllFiles[] = {F::List, F::Moves, F::Answers, F::Comments};

TEST(ProblemRecords, LayoutsByteForByte) {
  EXPECT_EQ(Answer(1001, 2, -1, 45, 2001, 99), std::string("\xE9\x03\x02\x00\xFF\xFF\x2D\x00\xD1\x07\x63\x00", 12));
  EXPECT_EQ(Stone(3999, 361), std::string("\x9F\x0F\x01\x00\x69\x01", 6));

  const std::string list = ListEntry(1002, u"基本a");
  EXPECT_EQ(list, std::string("\xEA\x03\x8A\xEE\x96\x7B"
                              "a",
                              7) +
                      std::string(35, ' '));
  EXPECT_EQ(ProblemListRecord::Decode(list).ProblemText, u"基本a" + Str(35, u' '));

  // 24 double-byte characters make 48 bytes: the 24th does not fit in 46.
  const std::string comment = Comment(1001, -7, Str(24, u'石'));
  ASSERT_EQ(comment.size(), 50u);
  EXPECT_EQ(comment.substr(0, 4), std::string("\xE9\x03\xF9\xFF", 4));
  EXPECT_EQ(CommentRecord::Decode(comment).CommentText, Str(23, u'石'));

  const AnswerMoveRecord a = AnswerMoveRecord::Decode(std::string("\x01\x02\x03", 3));  // cut short
  EXPECT_EQ(a.ProblemNumber, 0x0201);
  EXPECT_EQ(a.MoveIndex, 3);
  EXPECT_EQ(a.BranchLink, 0);
}

TEST(ProblemBlocks, GeometryAndReportedRoom) {
  const int size[] = {500, 10000, 2000, 500};
  for (int f = 0; f < 4; ++f)
    for (int c = 1; c <= 4; ++c) {
      EXPECT_EQ(BlockFirst(AllFiles[f], c), (c - 1) * size[f] + 1);
      EXPECT_EQ(BlockLast(AllFiles[f], c), c == 4 ? 32767 : c * size[f]);
      EXPECT_EQ(ReportedRoom(AllFiles[f], c, BlockFirst(AllFiles[f], c) - 1), c == 4 ? 32766 - 3 * size[f] : size[f]);
    }
  EXPECT_EQ(ReportedRoom(F::List, 2, 512), 488);
  EXPECT_THROW(BlockFirst(F::List, 0), std::out_of_range);
  EXPECT_THROW(BlockLast(F::List, 5), std::out_of_range);
}

TEST_F(StoreTest, EmptyBlocksEndBeforeTheirStart) {
  Put(F::List, 1, {ListEntry(1001), ListEntry(1002)});  // category 1 only
  for (int c = 1; c <= 4; ++c) {
    FindBlockEnds(s, c);
    EXPECT_EQ(s.BlockEnd[c].ListEnd, c == 1 ? 2 : (c - 1) * 500);
    EXPECT_EQ(s.BlockEnd[c].MovesEnd, (c - 1) * 10000);
    EXPECT_EQ(s.BlockEnd[c].AnswersEnd, (c - 1) * 2000);
    EXPECT_EQ(s.BlockEnd[c].CommentsEnd, (c - 1) * 500);
  }
  EXPECT_THROW(FindBlockEnds(s, 0), FileError);
}

TEST_F(StoreTest, FullBlockHasNoMarkerAndStopsAtItsEnd) {
  std::vector<std::string> full;
  for (int i = 0; i < 500; ++i) full.push_back(ListEntry(static_cast<int16_t>(1001 + i)));
  ASSERT_TRUE(AppendRecords(s, F::List, 3, {ListEntry(7)}));
  ASSERT_TRUE(ReplaceBlock(s, F::List, 2, full));
  EXPECT_EQ(s.BlockEnd[2].ListEnd, 1000);
  EXPECT_EQ(Raw(F::List).substr(1000 * 42, 42), ListEntry(7));  // no marker between the blocks

  const auto scanned = ScanProblemList(s, 2);
  ASSERT_EQ(scanned.size(), 500u);
  EXPECT_EQ(scanned.back().record, 1000);
  EXPECT_EQ(scanned.back().value.ProblemNumber, 1500);
  FindBlockEnds(s, 2);
  EXPECT_EQ(s.BlockEnd[2].ListEnd, 1000);

  const std::string before = Raw(F::List);
  EXPECT_FALSE(AppendRecords(s, F::List, 2, {ListEntry(2001)}));
  EXPECT_EQ(Raw(F::List), before);
}

TEST_F(StoreTest, JosekiSetupBlockEndsAtRecord32767) {
  std::vector<std::string> stones(2765, Stone(1001, 4));
  ASSERT_TRUE(AppendRecords(s, F::Moves, 4, stones));
  EXPECT_EQ(s.BlockEnd[4].MovesEnd, 32765);
  // Two records left: three are refused whole, two fit, and then none.
  const std::string before = Raw(F::Moves);
  EXPECT_FALSE(AppendProblemMoves(s, 4, {{1002, 1, 1}, {1002, 2, 2}, {1002, 1, 3}}));
  EXPECT_EQ(Raw(F::Moves), before);
  EXPECT_EQ(s.BlockEnd[4].MovesEnd, 32765);
  ASSERT_TRUE(AppendProblemMoves(s, 4, {{1002, 1, 1}, {1002, 2, 2}}));
  EXPECT_EQ(s.BlockEnd[4].MovesEnd, 32767);
  EXPECT_EQ(Raw(F::Moves).size(), 32767u * 6);
  EXPECT_FALSE(AppendProblemMoves(s, 4, {{1002, 1, 3}}));
  EXPECT_EQ(Raw(F::Moves).size(), 32767u * 6);
  EXPECT_EQ(ScanProblemMoves(s, 4).size(), 2767u);
}

TEST_F(StoreTest, AppendGoesAfterTheUsedPartAndNumbersAnswers) {
  // Leftovers after the marker are not part of the block; a stale BlockEnd
  // does not decide where records go.
  Put(F::Answers, 2001, {Answer(1001, 1, 1, 5, 2001, 99), EndMarker(F::Answers), Answer(1009, 1, 1, 1, 1, 99)});
  s.BlockEnd[2].AnswersEnd = 2005;
  std::vector<AnswerMoveRecord> seq = {{1001, 2, -2, 6, 0, 2001}, {1001, 3, 1, 7, 0, 0}};
  ASSERT_TRUE(AppendAnswers(s, 2, seq));
  EXPECT_EQ(seq[0].RecordNumber, 2002);
  EXPECT_EQ(seq[1].RecordNumber, 2003);
  EXPECT_EQ(s.BlockEnd[2].AnswersEnd, 2003);
  EXPECT_EQ(Raw(F::Answers).substr(2001 * 12, 36),
            Answer(1001, 2, -2, 6, 2002, 2001) + Answer(1001, 3, 1, 7, 2003, 0) + EndMarker(F::Answers));
  ASSERT_TRUE(AppendComment(s, 3, {1001, 4001, u"x"}));
  EXPECT_EQ(ScanComments(s, 3).size(), 1u);
  EXPECT_EQ(s.BlockEnd[3].CommentsEnd, 1001);

  // An answer block with 1 record of room refuses a sequence of two whole.
  Put(F::Answers, 1, std::vector<std::string>(1999, Answer(1, 1, 1, 1, 1, 99)));
  const std::string before = Raw(F::Answers);
  std::vector<AnswerMoveRecord> two = seq;
  EXPECT_FALSE(AppendAnswers(s, 1, two));
  EXPECT_EQ(two[0].RecordNumber, 2002);
  EXPECT_EQ(Raw(F::Answers), before);
  EXPECT_THROW((void)AppendRecords(s, F::Answers, 1, {EndMarker(F::Answers)}), FileError);
  EXPECT_EQ(Raw(F::Answers), before);
}

TEST_F(StoreTest, ProblemListIsWrittenWholeInOrder) {
  Put(F::List, 1, {ListEntry(1001), ListEntry(1002), ListEntry(1003), EndMarker(F::List), ListEntry(1999)});
  ASSERT_TRUE(RewriteProblemList(s, 1, {{2001, u"b"}, {1002, u"a"}}));
  EXPECT_EQ(Raw(F::List).substr(0, 3 * 42), ListEntry(1002, u"a") + ListEntry(2001, u"b") + EndMarker(F::List));
  EXPECT_EQ(s.BlockEnd[1].ListEnd, 2);

  const std::string before = Raw(F::List);
  EXPECT_FALSE(RewriteProblemList(s, 1, std::vector<ProblemListRecord>(501, {1001, u""})));
  EXPECT_THROW((void)RewriteProblemList(s, 1, {{1001, u""}, {0, u""}}), FileError);
  EXPECT_EQ(Raw(F::List), before);
  EXPECT_TRUE(RewriteProblemList(s, 4, std::vector<ProblemListRecord>(31267, {1001, u""})));

  // As many problems as the block holds: rewritten where they lie, and put
  // in order all the same when they are not.
  ASSERT_TRUE(RewriteProblemList(s, 1, {{1002, u"新しい題"}, {2001, u"b"}}));
  EXPECT_EQ(Raw(F::List).substr(0, 3 * 42), ListEntry(1002, u"新しい題") + ListEntry(2001, u"b") + EndMarker(F::List));
  ASSERT_TRUE(RewriteProblemList(s, 1, {{2001, u"b"}, {1003, u"c"}}));
  EXPECT_EQ(Raw(F::List).substr(0, 3 * 42), ListEntry(1003, u"c") + ListEntry(2001, u"b") + EndMarker(F::List));
  EXPECT_EQ(s.BlockEnd[1].ListEnd, 2);
  const std::string sorted = Raw(F::List);
  EXPECT_THROW((void)RewriteProblemList(s, 1, {{1003, u"c"}, {0, u""}}), FileError);
  EXPECT_EQ(Raw(F::List), sorted);
}

TEST_F(StoreTest, RenumberKeepsTheListInOrderAndStaysInTheCategory) {
  for (int c : {1, 2}) {
    Put(F::List, BlockFirst(F::List, c), {ListEntry(1001), ListEntry(1002, u"t"), ListEntry(1003), ListEntry(2001)});
    Put(F::Moves, BlockFirst(F::Moves, c), {Stone(1002, 1), Stone(1001, 2), Stone(1002, 3)});
    const int a = BlockFirst(F::Answers, c);
    Put(F::Answers, a, {Answer(1002, 1, 1, 1, int16_t(a), 99), Answer(1002, 2, 2, 2, int16_t(a + 1), 0)});
    Put(F::Comments, BlockFirst(F::Comments, c), {Comment(1002, int16_t(a))});
  }
  std::string raw[4];
  for (int f = 0; f < 4; ++f) raw[f] = Raw(AllFiles[f]);
  EXPECT_FALSE(RenumberProblemRecords(s, 1, 1002, 2001));
  EXPECT_FALSE(RenumberProblemRecords(s, 1, 1002, 0));
  for (int f = 0; f < 4; ++f) EXPECT_EQ(Raw(AllFiles[f]), raw[f]);

  ASSERT_TRUE(RenumberProblemRecords(s, 1, 1002, 2002));
  std::vector<int> order;
  for (const auto& r : ScanProblemList(s, 1)) order.push_back(r.value.ProblemNumber);
  EXPECT_EQ(order, (std::vector<int>{1001, 1003, 2001, 2002}));
  EXPECT_EQ(ScanProblemList(s, 1).back().value.ProblemText, u"t" + Str(39, u' '));
  EXPECT_EQ(Raw(F::Moves).substr(0, 18), Stone(2002, 1) + Stone(1001, 2) + Stone(2002, 3));
  EXPECT_EQ(Raw(F::Answers).substr(0, 24), Answer(2002, 1, 1, 1, 1, 99) + Answer(2002, 2, 2, 2, 2, 0));
  EXPECT_EQ(ScanComments(s, 1)[0].value.ProblemNumber, 2002);
  EXPECT_EQ(ScanComments(s, 2)[0].value.ProblemNumber, 1002);
}

// Every writer, in every category, leaves the bytes of the other blocks as
// they were, leftovers and a trailing partial record included.
TEST_F(StoreTest, OtherBlocksAreCarriedOverByteForByte) {
  std::mt19937 rng(7);
  for (int c = 1; c <= 4; ++c) {
    for (F f : AllFiles) {
      std::string content(static_cast<size_t>(BlockLast(f, 4)) * RecordLength(f) + 3, '\0');
      for (char& ch : content) {
        const unsigned x = rng();
        ch = static_cast<char>((x & 3) == 0 ? 0 : x >> 8);
      }
      SetRaw(f, content);
    }
    const std::string before[] = {Outside(F::List, c), Outside(F::Moves, c), Outside(F::Answers, c),
                                  Outside(F::Comments, c)};
    (void)AppendRecords(s, F::Moves, c, {Stone(1001, 1)});
    RemoveAnswers(s, c, {BlockFirst(F::Answers, c), BlockFirst(F::Answers, c) + 2});
    RemoveComments(s, c, {{1001, 1}});
    (void)RenumberProblemRecords(s, c, 1001, 1234);
    DeleteProblemRecords(s, c, 1234);
    (void)RewriteProblemList(s, c, {{1005, u"x"}});
    for (int f = 0; f < 4; ++f) EXPECT_EQ(Outside(AllFiles[f], c), before[f]) << "category " << c << " file " << f;
  }
}

}  // namespace
}  // namespace sol

#include "engine/gtp.h"

#include <gtest/gtest.h>

#include <clocale>

namespace sol::gtp {
namespace {

TEST(GtpValues, VerticesSkipIAndCountRowsFromTheBottom) {
  EXPECT_EQ(Vertex(1), "A19");
  EXPECT_EQ(Vertex(19), "A1");
  EXPECT_EQ(Vertex(8 * 19 + 1), "J19");  // the ninth column is J
  EXPECT_EQ(Vertex(361), "T1");
  EXPECT_EQ(Vertex(0), "pass");
  for (int p = 1; p <= 361; ++p) EXPECT_EQ(PointOfVertex(Vertex(p)), p);
  EXPECT_EQ(PointOfVertex("d16"), PointOfVertex("D16"));
  for (const char* bad : {"I5", "A0", "A20", "A05", "Z1", "A", "A1x", "", "A-1"})
    EXPECT_FALSE(PointOfVertex(bad)) << bad;
}

TEST(GtpValues, MovesVertexListsNumbersAndScores) {
  EXPECT_EQ(ParseMove(" PASS ")->kind, Move::Kind::Pass);
  EXPECT_EQ(ParseMove("resign")->kind, Move::Kind::Resign);
  EXPECT_EQ(ParseMove("Q16")->point, *PointOfVertex("Q16"));
  EXPECT_FALSE(ParseMove("Q16 Q17"));
  EXPECT_EQ(ParseVertices("A1 B2\nC3\n")->size(), 3u);
  EXPECT_TRUE(ParseVertices("")->empty());
  EXPECT_FALSE(ParseVertices("A1 ??"));
  // Written in the C locale whatever the program's locale is.
  const char* old = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(Number(6.5), "6.5");
  if (old) std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(Number(0), "0");
  EXPECT_EQ(Number(-7), "-7");
  EXPECT_EQ(ParseScore("B+12.5")->winner, 1);
  EXPECT_EQ(ParseScore("W+0.5")->points, 0.5);
  EXPECT_EQ(ParseScore("0")->winner, 0);
  EXPECT_EQ(ParseScore("W+R")->winner, 2);
  for (const char* bad : {"", "B+", "X+3", "B+3x", "B+nan"}) EXPECT_FALSE(ParseScore(bad)) << bad;
  EXPECT_EQ(Command(7, "play black\nD4"), "7 play black D4\n");
}

TEST(GtpReplies, ReadInPiecesWithIdsErrorsAndOddWhitespace) {
  ReplyReader r;
  r.Feed("\n\n=12 D4 \r\n\r");
  EXPECT_FALSE(r.Next());  // not ended yet
  r.Feed("\n?3\tunknown  command\n\n= A1 B2\nC3\t\n\n=\n\n");
  std::optional<Reply> a = r.Next();
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->success);
  EXPECT_EQ(a->id, 12);
  EXPECT_EQ(a->text, "D4");
  a = r.Next();
  ASSERT_TRUE(a);
  EXPECT_FALSE(a->success);
  EXPECT_EQ(a->id, 3);
  EXPECT_EQ(a->text, "unknown  command");
  a = r.Next();
  ASSERT_TRUE(a);
  EXPECT_FALSE(a->id);
  EXPECT_EQ(a->text, "A1 B2\nC3");
  a = r.Next();
  ASSERT_TRUE(a);
  EXPECT_EQ(a->text, "");
  EXPECT_FALSE(r.Next());
  EXPECT_TRUE(r.Fault().empty());
}

TEST(GtpReplies, GarbageAndEndlessRepliesAreFaults) {
  ReplyReader garbage;
  garbage.Feed("Segmentation fault\n= D4\n\n");
  EXPECT_FALSE(garbage.Next());
  EXPECT_NE(garbage.Fault().find("Segmentation"), std::string::npos);
  ReplyReader endless;
  endless.Feed("= ");
  for (int i = 0; i < 20; ++i) endless.Feed(std::string(MaxReplyBytes / 16, 'x') + "\n");
  EXPECT_FALSE(endless.Next());
  EXPECT_FALSE(endless.Fault().empty());
}

}  // namespace
}  // namespace sol::gtp

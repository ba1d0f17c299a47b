#include "problems/sgf_problems.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "sgf/sgf_game.h"
#include "sgf/sgf_tree.h"

namespace sol {
namespace {

int P(const char* sgfPoint) { return *sgf::PointFromSgf(sgfPoint); }

ProblemImport Import(const std::string& text, int category = 1, const Str& fallback = u"ファイル名") {
  const sgf::Collection c = sgf::ParseCollection(text);
  EXPECT_EQ(c.Games.size(), 1u);
  return ImportProblem(c.Games.front(), category, fallback);
}

ImportedProblem Imported(const std::string& text, int category = 1) {
  ProblemImport r = Import(text, category);
  EXPECT_TRUE(r.Problem) << ToUtf8(r.Refusal);
  return r.Problem.value_or(ImportedProblem{});
}

std::string Refusal(const std::string& text, int category = 1) {
  const ProblemImport r = Import(text, category);
  EXPECT_FALSE(r.Problem) << text;
  return ToUtf8(r.Refusal);
}

// Root B first; after W's reply two Black moves, the second of which has two
// White answers; a wrong first move with its refutation.
const std::string Branchy =
    "(;GM[1]SZ[19]GN[枝の問題]AB[dd]AW[cc]"
    "(;B[bb];W[cb]"
    "  (;B[bc]C[正解\n一本目])"
    "  (;B[db];W[ca]"
    "    (;B[ba]C[RIGHT 二本目])"
    "    (;B[ab]C[不正解\nこちらは失敗])))"
    "(;B[bd]C[手のコメント];W[bb]C[失敗]))";

TEST(SgfProblemImport, BranchesAtSeveralDepthsBecomeLinkedSequences) {
  const ImportedProblem p = Imported(Branchy);
  EXPECT_EQ(ToUtf8(p.Title), "枝の問題");
  ASSERT_EQ(p.Setup.size(), 2u);
  ASSERT_EQ(p.Sequences.size(), 6u);
  // Parents before branches, branches in file order; a sequence ends where the tree branches.
  const int parents[] = {-1, 0, 0, 2, 2, -1};
  const size_t lengths[] = {2, 1, 2, 1, 1, 2};
  const bool wrong[] = {false, false, false, false, true, true};
  const char* comments[] = {"", "一本目", "", "二本目", "こちらは失敗", "手のコメント"};
  for (size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(p.Sequences[i].Parent, parents[i]);
    EXPECT_EQ(p.Sequences[i].Moves.size(), lengths[i]);
    EXPECT_EQ(p.Sequences[i].Wrong, wrong[i]);
    EXPECT_EQ(ToUtf8(p.Sequences[i].Comment), comments[i]);
  }
  EXPECT_EQ(p.Sequences[4].Moves.front().MoveIndex, 5);
  EXPECT_EQ(p.Sequences[4].Moves.front().Point, P("ab"));

  // Records from 97 on: 99 is left out, heads link to the position or to
  // the last record of the sequence they follow, wrong heads are negated.
  const ProblemRecords r = ToAnswerRecords(p, 1234, 97);
  ASSERT_EQ(r.Answers.size(), 9u);
  const int records[] = {97, 98, 100, 101, 102, 103, 104, 105, 106};
  const int links[] = {99, 0, 98, 98, 0, 102, 102, 99, 0};
  for (size_t i = 0; i < r.Answers.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(r.Answers[i].RecordNumber, records[i]);
    EXPECT_EQ(r.Answers[i].BranchLink, links[i]);
    EXPECT_EQ(r.Answers[i].ProblemNumber, 1234);
  }
  EXPECT_EQ(r.Answers[6].SignedColour, -Black);
  EXPECT_EQ(r.Answers[7].SignedColour, -Black);
  EXPECT_EQ(r.Answers[8].SignedColour, White);
  ASSERT_EQ(r.Comments.size(), 4u);
  EXPECT_EQ(r.Comments[0].AnswerRecord, 100);
  EXPECT_EQ(r.Comments[3].AnswerRecord, 105);  // on the head, not on the commented move
  EXPECT_EQ(r.Setup.size(), 2u);
}

TEST(SgfProblemImport, EachMarkingConventionDecidesCorrectAndWrong) {
  struct Case {
    const char* leafA;
    const char* leafB;
    bool wrongA, wrongB;
  };
  const Case cases[] = {
      {"C[RIGHT]", "", false, true},                  // correct marks make unmarked lines wrong
      {"C[正解です]", "C[不正解です]", false, true},  // 不正解 holds 正解 but is not it
      {"C[Correct!]", "C[Incorrect.]", false, true},
      {"TE[1]", "C[Wrong]", false, true},
      {"", "C[失敗]", false, true},  // only wrong lines marked: the rest is correct
      {"", "BM[1]", false, true},
      {"", "TR[aa]", false, true},
      {"", "WV[]", false, true},
      {"C[失敗。正解は下]", "C[正解]", true, false},      // the first mark named decides
      {"C[rightly so]", "C[incorrectly]", false, false},  // parts of words are no marks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.leafA) + " / " + c.leafB);
    const ImportedProblem p =
        Imported(std::string("(;AW[bb](;B[ab];W[ba];B[cb]") + c.leafA + ")(;B[ba];W[ab]" + c.leafB + "))");
    ASSERT_EQ(p.Sequences.size(), 2u);
    EXPECT_EQ(p.Sequences[0].Wrong, c.wrongA);
    EXPECT_EQ(p.Sequences[1].Wrong, c.wrongB);
  }
}

TEST(SgfProblemImport, OnlyTheTopOfAWrongSubtreeIsNegated) {
  const ImportedProblem p = Imported("(;AW[bb](;B[ab];W[ba]C[正解])(;B[ba](;W[ab]C[失敗])(;W[cb]C[失敗])))");
  ASSERT_EQ(p.Sequences.size(), 4u);
  EXPECT_FALSE(p.Sequences[0].Wrong);
  EXPECT_TRUE(p.Sequences[1].Wrong);
  EXPECT_FALSE(p.Sequences[2].Wrong);
  EXPECT_FALSE(p.Sequences[3].Wrong);
}

TEST(SgfProblemImport, BoardIsTurnedIntoTheThirteenColumns) {
  // Top right corner: mirrored left to right, the first symmetry that fits.
  ImportedProblem p = Imported("(;AW[rb][qc];B[rc]C[正解])");
  EXPECT_EQ(p.Symmetry, 1);
  EXPECT_EQ(p.Setup[0].Point, P("bb"));
  EXPECT_EQ(p.Sequences[0].Moves[0].Point, P("bc"));
  EXPECT_FALSE(p.Notes.empty());
  // Already inside: left as it is.
  EXPECT_EQ(Imported("(;AW[mb];B[ma])").Symmetry, 0);
  // A stone in every column band fits no turn.
  EXPECT_NE(Refusal("(;AB[aa][sa][js][ja][as][ss];W[jj])").find("13路"), std::string::npos);
}

TEST(SgfProblemImport, ColoursFollowTheCategory) {
  // White to play in a Black-first lecture: the whole problem changes colour.
  ImportedProblem p = Imported("(;PL[W]AB[aa]AW[bb];W[ab];B[ba])");
  EXPECT_TRUE(p.ColoursSwapped);
  EXPECT_EQ(p.Setup[0].Colour, White);
  EXPECT_EQ(p.Setup[1].Colour, Black);
  EXPECT_EQ(p.Sequences[0].Moves[0].Colour, Black);
  // Joseki problems start with White.
  EXPECT_TRUE(Imported("(;AB[dd];B[fc];W[cf])", 4).ColoursSwapped);
  EXPECT_FALSE(Imported("(;AB[dd];W[fc];B[cf])", 4).ColoursSwapped);
  // PL that disagrees with the first move cannot be followed.
  EXPECT_NE(Refusal("(;PL[B]AB[dd];W[fc])").find("手番"), std::string::npos);
}

TEST(SgfProblemImport, CommentsAndTitleAreCutToWhatTheRecordsHold) {
  const std::string longText = "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十";
  ImportedProblem p = Imported("(;C[\n  root first line \nmore];B[aa]C[" + longText + "];W[bb];B[cc]C[正解])");
  ASSERT_EQ(p.Sequences.size(), 1u);
  // The last node's comment is only a mark: the nearest one above is kept, cut at 46 bytes.
  EXPECT_EQ(ToUtf8(p.Sequences[0].Comment), longText.substr(0, 23 * 3));
  EXPECT_EQ(ToUtf8(p.Title), "root first line");
  EXPECT_EQ(ToUtf8(Imported("(;GN[a😀b];B[aa])").Title), "a〓b");
  // Marks open the text on its first lines with text; later ones stay.
  EXPECT_EQ(ToUtf8(Imported("(;B[aa]C[正解\n RIGHT！ 急所 \n正解は一つ\nCorrect])").Sequences[0].Comment),
            "急所 正解は一つ");
  // A control character is stored as a blank, so it opens nothing either.
  EXPECT_EQ(ToUtf8(Imported("(;B[aa]C[\x0fRIGHT])").Sequences[0].Comment), "");
  // A branch without a move offers no choice: one sequence.
  EXPECT_EQ(Imported("(;B[aa];W[bb](;C[note])(;B[cc]))").Sequences.size(), 1u);
  EXPECT_EQ(ToUtf8(Import("(;B[aa])", 1, u"file").Problem->Title), "file");
  const ImportedProblem longTitle = Imported("(;GN[" + longText + "];B[aa])");
  EXPECT_EQ(ToUtf8(longTitle.Title), longText.substr(0, 20 * 3));  // 40 bytes
}

TEST(SgfProblemImport, ProblemsThatDoNotFitAreRefusedWithTheirReason) {
  std::string manySetup = "(;AB";
  for (char x = 'a'; x <= 'm'; ++x)
    for (char y = 'a'; y <= 'd'; ++y) manySetup += std::string("[") + x + y + "]";
  std::string longLine = "(;";
  for (int i = 0; i < 51; ++i)
    longLine += std::string(i % 2 ? ";W[" : ";B[") + char('a' + i / 19) + char('a' + i % 19) + "]";
  std::string tenPlus = "(;";
  for (char y = 'a'; y <= 'k'; ++y) tenPlus += std::string("(;B[a") + y + "])";
  const struct {
    std::string sgf, expected;
  } cases[] = {
      {"(;GM[2];B[aa])", "囲碁"},
      {"(;SZ[13];B[aa])", "19路"},
      {"(;AB[aa])", "手順がありません"},
      {"(;B[aa];W[])", "パス"},
      {"(;B[aa];B[bb])", "交互"},
      {"(;AB[aa];W[aa])", "石の上"},
      {"(;AB[ab][ba];W[aa])", "着手禁止点"},
      {"(;B[aa];AW[bb];W[cc])", "石の配置"},
      {manySetup + ";W[sa])", "50個まで"},
      {longLine + ")", "50手"},
      {tenPlus + ")", "10通りまで"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sgf);
    EXPECT_NE(Refusal(c.sgf).find(c.expected), std::string::npos) << Refusal(c.sgf);
  }
}

TEST(SgfProblemImport, TreesAtTheReaderLimitsAreRefusedQuicklyAndWithoutRecursion) {
  // Two variations at every level, nested as deep as a file may nest them.
  std::string deep = "(;";
  for (int i = 0; i < 5000; ++i) {
    const std::string colour = i % 2 ? "W[" : "B[";
    const std::string point{char('a' + i % 13), char('a' + i / 13 % 19)};
    deep += "(;" + colour + point + "](;" + colour + "ss])";
  }
  deep += std::string(5000, ')') + ")";
  std::string wide = "(;";
  for (int i = 0; i < 100000; ++i) wide += "(;B[aa])";
  wide += ")";
  for (const std::string* text : {&deep, &wide}) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Refusal(*text).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  }
}

TEST(SgfProblemExport, ExportThenImportGivesTheSameProblem) {
  const ImportedProblem p = Imported(Branchy);
  const ProblemRecords r = ToAnswerRecords(p, 2001, 300);
  const ExportedProblem e = ExportProblem(p.Title, r.Setup, r.Answers, r.Comments);
  EXPECT_EQ(e.DroppedSequences, 0);
  EXPECT_NE(e.Sgf.find("VW[aa:ms]"), std::string::npos);
  EXPECT_NE(e.Sgf.find("BM[1]"), std::string::npos);
  const ImportedProblem back = Imported(e.Sgf);
  EXPECT_EQ(back.Title, p.Title);
  ASSERT_EQ(back.Setup.size(), p.Setup.size());
  for (size_t i = 0; i < p.Setup.size(); ++i) EXPECT_EQ(back.Setup[i].Point, p.Setup[i].Point);
  const ProblemRecords again = ToAnswerRecords(back, 2001, 300);
  ASSERT_EQ(again.Answers.size(), r.Answers.size());
  for (size_t i = 0; i < r.Answers.size(); ++i) EXPECT_EQ(again.Answers[i].Encode(), r.Answers[i].Encode()) << i;
  ASSERT_EQ(again.Comments.size(), r.Comments.size());
  for (size_t i = 0; i < r.Comments.size(); ++i) EXPECT_EQ(again.Comments[i].Encode(), r.Comments[i].Encode()) << i;
}

TEST(SgfProblemExport, DamagedLinksDropTheirSequences) {
  const ProblemMoveRecord setup[] = {{7, White, static_cast<int16_t>(P("bb"))}};
  const AnswerMoveRecord answers[] = {
      {7, 1, Black, static_cast<int16_t>(P("ab")), 10, 99},
      {7, 2, White, static_cast<int16_t>(P("ba")), 11, 0},
      {7, 3, Black, static_cast<int16_t>(P("cb")), 12, 500},  // links to no record
      {7, 1, -Black, static_cast<int16_t>(P("ba")), 13, 99},
      {7, 2, White, 0, 14, 0},  // no point: the sequence is damaged
  };
  const ExportedProblem e = ExportProblem(u"壊れた問題", setup, answers, {});
  EXPECT_EQ(e.DroppedSequences, 2);
  const ImportedProblem back = Imported(e.Sgf);
  ASSERT_EQ(back.Sequences.size(), 1u);
  EXPECT_EQ(back.Sequences[0].Moves.size(), 2u);
}

}  // namespace
}  // namespace sol

// The starter library as the program takes it in: every problem of every
// file converts without a change of colour or orientation, comes back the
// same from its export, and a first start on an empty data folder fills all
// four lectures with problems that open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "problems/answer_tree.h"
#include "problems/problem_import.h"
#include "problems/sgf_problems.h"
#include "problems/store.h"
#include "problems/texts.h"
#include "tests/starter/starter_lines.h"
#include "tests/support/session.h"

namespace sol {
namespace {

const char* const Folders[] = {"", "tesuji", "yose", "tsumego", "joseki"};

std::vector<sgf::GameTree> Games(const std::string& file) {
  std::ifstream in(std::string(SOLNEKA_STARTER_DIR) + "/" + file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return sgf::ParseCollection(bytes.str()).Games;
}

std::vector<std::string> Encoded(const ProblemRecords& r) {
  std::vector<std::string> out;
  for (const auto& s : r.Setup) out.push_back(s.Encode());
  for (const auto& a : r.Answers) out.push_back(a.Encode());
  for (const auto& c : r.Comments) out.push_back(c.Encode());
  return out;
}

TEST(StarterLibrary, EveryProblemImportsAsWrittenAndComesBackFromItsExport) {
  for (int category = 1; category <= 4; ++category)
    for (const char* sub : starter::SubFiles) {
      const std::string file = std::string(Folders[category]) + "/" + sub;
      const std::vector<sgf::GameTree> games = Games(file);
      EXPECT_GE(games.size(), 5u) << file;
      for (size_t i = 0; i < games.size(); ++i) {
        SCOPED_TRACE(file + " #" + std::to_string(i + 1));
        const ProblemImport read = ImportProblem(games[i], category, u"");
        ASSERT_TRUE(read.Problem) << ToUtf8(read.Refusal);
        const ImportedProblem& p = *read.Problem;
        EXPECT_TRUE(p.Notes.empty()) << ToUtf8(p.Notes.front());
        EXPECT_FALSE(p.Title.empty());
        const auto wrong = std::count_if(p.Sequences.begin(), p.Sequences.end(), [](auto& s) { return s.Wrong; });
        EXPECT_GT(wrong, 0) << "no wrong line";
        EXPECT_LT(wrong, static_cast<long>(p.Sequences.size())) << "no correct line";
        // Every line ends with its explanation.
        std::vector<bool> inner(p.Sequences.size(), false);
        for (const ImportedSequence& s : p.Sequences)
          if (s.Parent >= 0) inner[static_cast<size_t>(s.Parent)] = true;
        for (size_t k = 0; k < p.Sequences.size(); ++k)
          if (!inner[k]) {
            EXPECT_FALSE(p.Sequences[k].Comment.empty()) << "sequence " << k << " ends a line without a comment";
          }

        const ProblemRecords records = ToAnswerRecords(p, 1001, 1);
        const ExportedProblem out = ExportProblem(p.Title, records.Setup, records.Answers, records.Comments);
        EXPECT_EQ(out.DroppedSequences, 0);
        const ProblemImport back = ImportProblem(sgf::ParseCollection(out.Sgf).Games.at(0), category, u"");
        ASSERT_TRUE(back.Problem) << ToUtf8(back.Refusal);
        EXPECT_EQ(back.Problem->Title, p.Title);
        EXPECT_EQ(Encoded(ToAnswerRecords(*back.Problem, 1001, 1)), Encoded(records));
      }
    }
}

TEST(StarterLibrary, FirstStartFillsEveryLectureWithProblemsThatOpen) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / "solneka-starter-start";
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::copy(SOLNEKA_STARTER_DIR, dir / "problems", fs::copy_options::recursive);

  long total = 0;
  size_t counts[5] = {};
  for (int category = 1; category <= 4; ++category)
    for (const char* sub : starter::SubFiles)
      counts[category] += Games(std::string(Folders[category]) + "/" + sub).size();
  for (size_t c : counts) total += static_cast<long>(c);
  EXPECT_GE(total, 60);

  testing::Session session(dir.string() + "/");
  EXPECT_EQ(session.Board().StatusBar1.Panel(1), form4text::StarterFilled(total));
  for (int category = 1; category <= 4; ++category) {
    SCOPED_TRACE(Folders[category]);
    session.OpenProblems(2 * category - 1);
    Form4& form = session.Problems();
    ASSERT_EQ(static_cast<size_t>(form.List1.ListCount()), counts[category]);
    for (int line = 0; line < form.List1.ListCount(); ++line) {
      form.List1.SetListIndex(line);
      EXPECT_GT(form.List2.ListCount(), 0) << ToUtf8(form.List1.List(line));
    }
    // Each problem's answer passes the data check the registration offers.
    std::map<int, std::vector<AnswerLine>> lines;
    std::map<int, std::vector<int>> commentRecords;
    for (const auto& a : ScanAnswers(session.State(), category))
      // The block's record 99 holds no problem's move.
      if (a.value.ProblemNumber != ReservedAnswerProblem)
        lines[a.value.ProblemNumber].push_back({a.value.ProblemNumber, a.value.MoveIndex, a.value.SignedColour,
                                                a.value.Point, a.value.RecordNumber, a.value.BranchLink});
    for (const auto& c : ScanComments(session.State(), category))
      commentRecords[c.value.ProblemNumber].push_back(c.value.AnswerRecord);
    EXPECT_EQ(lines.size(), counts[category]);
    for (const auto& [number, problem] : lines) {
      const AnswerCheck check = AnswerTree(problem).Check(commentRecords[number]);
      EXPECT_TRUE(check.BadSequences.empty() && check.BadComments.empty()) << number;
    }
  }
  // A second start leaves the filled folder as it is.
  const auto listBytes = fs::file_size(dir / "問題リスト.dat");
  session.program.reset();
  testing::Session again(dir.string() + "/");
  EXPECT_NE(again.Board().StatusBar1.Panel(1), form4text::StarterFilled(total));
  EXPECT_EQ(fs::file_size(dir / "問題リスト.dat"), listBytes);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace sol

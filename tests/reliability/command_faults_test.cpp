// Every writing command of the three windows, failing at each of its file
// operations in turn. After a failure every data file is exactly as before
// the command or exactly as after it, the player is told "ファイルがありません"
// and nothing claims success, the links between the problem files hold, and
// the same command, run again without the failure, gives the same files as
// an undisturbed run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>

#include "problems/study_window.h"
#include "tests/support/faulty_files.h"
#include "tests/support/sample_data.h"
#include "tests/support/session.h"

namespace sol {
namespace {

using testing::FaultyFiles;
using testing::FileSet;
using testing::ScratchDir;
using testing::Session;

const Str NoFile = u"ファイルがありません";

struct CommandCase {
  const char* name;
  // Once per program: what the player did before (moves on the main board).
  std::function<void(Session&)> setup;
  // Before each run: the window, the lines chosen, the texts typed and the
  // answers to the boxes the command asks; false when a line to choose is
  // not there.
  std::function<bool(Session&)> prepare;
  std::function<void(Session&)> run;
  // Where a file error is reported.
  std::function<StatusBar&(Session&)> failureBar;
  // What the command says when it succeeds, and where; empty when it only
  // changes the lists.
  Str success;
  std::function<StatusBar&(Session&)> successBar;
  // Whether the command's change to the files is all or nothing; otherwise
  // each file on its own is old or new.
  bool whole = true;
  // A command without a success text that plays no cue either.
  bool cueless = false;
};

StatusBar& BoardBar(Session& s) { return s.Board().StatusBar1; }
StatusBar& LibraryBar(Session& s) { return s.Library().StatusBar1; }
StatusBar& ProblemBar(Session& s) { return s.Problems().StatusBar1; }

void NoSetup(Session&) {}

// A problem window in registration mode with its board cleared.
void Registration(Session& s, int category) {
  s.OpenProblems(2 * category);
  s.Problems().Command12_Click();
}

std::vector<CommandCase> Commands() {
  std::vector<CommandCase> c;
  auto play = [](Session& s) { s.PlayOnBoard({150, 151, 152}); };

  c.push_back({"記録", play,
               [](Session& s) {
                 s.OpenLibrary();
                 s.Library().Text1.SetText(u"09：新しい対局");
                 return true;
               },
               [](Session& s) { s.Library().Command1_Click(); }, BoardBar, u"登録しました", LibraryBar});
  c.push_back({"更新", play,
               [](Session& s) {
                 s.OpenLibrary();
                 if (!s.SelectGame(5)) return false;
                 s.Library().Text1.SetText(u"05：五番碁の続き");
                 return true;
               },
               [](Session& s) { s.Library().Command5_Click(); }, BoardBar, u"更新しました", LibraryBar});
  c.push_back({"削除", NoSetup,
               [](Session& s) {
                 s.OpenLibrary();
                 if (!s.SelectGame(7)) return false;
                 s.platform.answers = {Answer::OK};
                 return true;
               },
               [](Session& s) { s.Library().Command3_Click(); }, BoardBar, u"削除しました", LibraryBar});
  c.push_back({"保存", play,
               [](Session& s) {
                 s.platform.answers = {Answer::OK};
                 return true;
               },
               [](Session& s) { s.Board().MenuSave(); }, BoardBar, u"保存しました", BoardBar});

  c.push_back({"問題登録", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 s.ClickProblemBoard({200, 201});
                 s.ClickProblemBoard({220}, ButtonRight);
                 s.Problems().Text1.SetText(u"1003新しい筋");
                 return true;
               },
               [](Session& s) { s.Problems().Command4_Click(); }, ProblemBar, u"登録しました", ProblemBar});
  c.push_back({"問題登録（上書き）", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 s.ClickProblemBoard({60, 61, 62});
                 s.Problems().Text1.SetText(u"1002辺の新しい形");
                 s.platform.answers = {Answer::Yes};
                 return true;
               },
               [](Session& s) { s.Problems().Command4_Click(); }, ProblemBar, u"登録しました", ProblemBar});
  c.push_back({"問題登録（番号変更）", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 if (!s.SelectProblem(2001)) return false;
                 s.Problems().Text1.SetText(u"2005応用の筋");
                 return true;
               },
               [](Session& s) { s.Problems().Command4_Click(); }, ProblemBar, u"", ProblemBar});
  c.push_back({"正手順登録", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 if (!s.SelectProblem(2001)) return false;
                 s.ClickProblemBoard({160, 161});
                 return true;
               },
               [](Session& s) { s.Problems().Command6_Click(); }, ProblemBar, u"登録しました", ProblemBar});
  c.push_back({"正手順登録（分岐）", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 if (!s.SelectProblem(1001)) return false;
                 if (!s.SelectAnswer(8)) return false;
                 s.ClickProblemBoard({54});
                 return true;
               },
               [](Session& s) { s.Problems().Command6_Click(); }, ProblemBar, u"登録しました", ProblemBar});
  c.push_back({"悪手順登録", NoSetup,
               [](Session& s) {
                 Registration(s, 2);
                 if (!s.SelectProblem(1003)) return false;
                 s.ClickProblemBoard({52, 53});
                 return true;
               },
               [](Session& s) { s.Problems().Command7_Click(); }, ProblemBar, u"登録しました", ProblemBar});
  c.push_back({"コメント登録", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 if (!s.SelectProblem(1002)) return false;
                 if (!s.SelectAnswer(13)) return false;
                 s.Problems().Text2.SetText(u"新しい変化");
                 return true;
               },
               [](Session& s) { s.Problems().Command9_Click(); }, ProblemBar, u"登録しました", ProblemBar});
  c.push_back({"コメント登録（上書き）", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 if (!s.SelectProblem(1001)) return false;
                 if (!s.SelectAnswer(8)) return false;
                 s.Problems().Text2.SetText(u"変化の書き換え");
                 s.platform.answers = {Answer::OK};
                 return true;
               },
               [](Session& s) { s.Problems().Command9_Click(); }, ProblemBar, u"登録しました", ProblemBar});
  c.push_back({"コメント削除", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 if (!s.SelectProblem(1001)) return false;
                 if (!s.SelectComment(6)) return false;
                 s.platform.answers = {Answer::OK};
                 return true;
               },
               [](Session& s) { s.Problems().Command10_Click(); }, ProblemBar, u"削除しました", ProblemBar});
  c.push_back({"問題削除", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 if (!s.SelectProblem(1001)) return false;
                 s.platform.answers = {Answer::OK};
                 return true;
               },
               [](Session& s) { s.Problems().Command5_Click(); }, ProblemBar, u"削除しました", ProblemBar});
  c.push_back({"問題削除（ヨセ）", NoSetup,
               [](Session& s) {
                 Registration(s, 2);
                 if (!s.SelectProblem(1001)) return false;
                 s.platform.answers = {Answer::OK};
                 return true;
               },
               [](Session& s) { s.Problems().Command5_Click(); }, ProblemBar, u"削除しました", ProblemBar});
  c.push_back({"手順削除", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 if (!s.SelectProblem(1001)) return false;
                 if (!s.SelectAnswer(2)) return false;
                 s.platform.answers = {Answer::OK};
                 return true;
               },
               [](Session& s) { s.Problems().Command8_Click(); }, ProblemBar, u"削除しました", ProblemBar});
  c.push_back({"区分変更", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 if (!s.SelectProblem(1002)) return false;
                 s.Problems().Option5.Click();
                 return true;
               },
               [](Session& s) { s.Problems().Command11_Click(); }, ProblemBar, u"", ProblemBar});
  c.push_back({"区分名変更", NoSetup,
               [](Session& s) {
                 Registration(s, 2);
                 s.Problems().Text2.SetText(u"上級  中級  下級");
                 return true;
               },
               [](Session& s) { s.Problems().Command20_Click(); }, ProblemBar, u"", ProblemBar, true, true});
  c.push_back({"SGF取込み", NoSetup,
               [](Session& s) {
                 Registration(s, 1);
                 const std::string file = s.State().DataDir + "collection.sgf";
                 std::ofstream(file) << "(;GN[一]AW[bb](;B[ab];W[ba]C[正解\n取れます])(;B[ba]BM[1];W[ab]C[失敗]))"
                                        "(;GN[二]AW[cc];B[bc];W[cb])";
                 s.platform.choices.push_back({file});
                 return true;
               },
               [](Session& s) { s.Problems().MenuSgfImport(); }, ProblemBar, u"2問を取り込みました。", ProblemBar});
  return c;
}

// One program on a fresh copy of the sample data, prepared for the command.
struct Attempt {
  explicit Attempt(const ScratchDir& dir, const CommandCase& c) {
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) std::filesystem::remove(entry.path());
    testing::WriteDataFiles(dir.Path(), testing::SampleData());
    session = std::make_unique<Session>(dir.Path());
    c.setup(*session);
    prepared = c.prepare(*session);
    c.failureBar(*session).SetText(u"");
    boxes = session->platform.boxes.size();
    cues = session->platform.cues.size();
  }
  std::vector<Str> NewBoxes() const {
    std::vector<Str> out;
    for (size_t i = boxes; i < session->platform.boxes.size(); ++i) out.push_back(session->platform.boxes[i].text);
    return out;
  }
  bool Cued() const { return session->platform.cues.size() > cues; }

  std::unique_ptr<Session> session;
  bool prepared = false;
  size_t boxes = 0, cues = 0;
};

std::string Differences(const FileSet& now, const FileSet& before, const FileSet& after) {
  std::string out;
  for (const std::string& name : testing::DataFileNames()) {
    const auto n = now.find(name);
    if (n == now.end()) {
      out += " " + name + " missing;";
      continue;
    }
    const bool old = before.count(name) && before.at(name) == n->second;
    const bool fresh = after.count(name) && after.at(name) == n->second;
    if (!old && !fresh) out += " " + name + " neither old nor new;";
  }
  return out;
}

// The names of the data files in which two sets differ.
std::string Changed(const FileSet& a, const FileSet& b) {
  std::string out;
  for (const std::string& name : testing::DataFileNames())
    if (a.count(name) != b.count(name) || (a.count(name) && a.at(name) != b.at(name))) out += " " + name;
  return out.empty() ? " nothing" : out;
}

// The commands that take study records along with a problem.
bool MovesStudyRecords(const CommandCase& c) {
  for (const char* name : {"問題登録（上書き）", "問題登録（番号変更）", "問題削除", "問題削除（ヨセ）", "区分変更"})
    if (std::string(c.name) == name) return true;
  return false;
}

using Fingerprints = std::map<std::pair<int, int>, std::uint64_t>;  // (category, problem)

Fingerprints ListedProblems(const GameState& s) {
  Fingerprints out;
  for (int k : {1, 2}) {
    for (const auto& [n, fp] : SetupFingerprints(s, k)) out[{k, n}] = fp;
    for (const auto& r : ScanProblemList(s, k)) out.emplace(std::pair{k, int(r.value.ProblemNumber)}, 0);
  }
  return out;
}

// One attempt at every problem of the first two categories.
Fingerprints SeedStudyRecords(Session& s) {
  StudyRecords& records = s.program->Study;
  records.Open(s.State().DataDir + StudyRecordsFileName);
  const Fingerprints listed = ListedProblems(s.State());
  for (const auto& [at, fp] : listed) records.Record({at.first, at.second, fp, StudyResult::FirstTry, ""});
  return listed;
}

// The records hold only problems the files list, and every problem whose
// set-up is still in the files has its one attempt under its number now.
std::vector<std::string> StudyRecordFaults(const std::string& dir, const Fingerprints& seeded) {
  std::vector<std::string> out;
  Session checker(dir);
  const Fingerprints listed = ListedProblems(checker.State());
  StudyRecords records;
  records.Open(checker.State().DataDir + StudyRecordsFileName);
  std::map<std::pair<int, int>, int> rows;
  std::istringstream csv(records.ExportCsv());
  std::string line;
  std::getline(csv, line);
  while (std::getline(csv, line)) {
    const int k = line.rfind("手筋,", 0) == 0 ? 1 : line.rfind("ヨセ,", 0) == 0 ? 2 : 0;
    const size_t comma = line.find(',');
    ++rows[{k, std::atoi(line.c_str() + comma + 1)}];
  }
  for (const auto& [at, n] : rows)
    if (!listed.count(at)) out.push_back("records of problem " + std::to_string(at.second) + ", which is not listed");
  for (const auto& [at, fp] : seeded) {
    std::vector<std::pair<int, int>> now;
    for (const auto& [where, f] : listed)
      if (fp != 0 && f == fp && where.first == at.first) now.push_back(where);
    if (now.size() != 1) continue;
    if (rows[now.front()] != 1)
      out.push_back("problem " + std::to_string(at.second) + ", now " + std::to_string(now.front().second) + ", has " +
                    std::to_string(rows[now.front()]) + " records");
  }
  return out;
}

TEST(CommandFaults, EveryFileOperationOfEveryWritingCommand) {
  ScratchDir dir(ScratchDir::FastBase());
  ASSERT_FALSE(dir.Path().empty());
  // What a power cut would leave is the crash test's concern; here the
  // syncs only cost time, though they are still counted and failed.
  testing::NoSyncFiles fast;
  SetFiles(&fast);
  int cases = 0;
  for (const CommandCase& c : Commands()) {
    SCOPED_TRACE(c.name);
    FileSet before, after;
    int operations = 0;
    std::vector<Str> boxes;
    {
      Attempt clean(dir, c);
      ASSERT_TRUE(clean.prepared);
      before = testing::ReadDataFiles(dir.Path());
      FaultyFiles counting(0, fast);
      SetFiles(&counting);
      c.run(*clean.session);
      SetFiles(&fast);
      operations = counting.Operations();
      after = testing::ReadDataFiles(dir.Path());
      ASSERT_NE(before, after) << "the command changed nothing";
      ASSERT_TRUE(testing::ProblemFileFaults(after).empty());
      if (!c.success.empty()) {
        ASSERT_EQ(c.successBar(*clean.session).Text(), c.success);
      }
      boxes = clean.NewBoxes();
    }

    int reported = 0;
    for (int k = 1; k <= operations + 1; ++k) {
      ++cases;
      Attempt run(dir, c);
      const bool study = MovesStudyRecords(c);
      const Fingerprints seeded = study ? SeedStudyRecords(*run.session) : Fingerprints{};
      FaultyFiles faulty(k, fast);
      SetFiles(&faulty);
      c.run(*run.session);
      SetFiles(&fast);
      const bool failed = faulty.Operations() >= k;
      const std::string where = std::string(c.name) + ", failing " +
                                (failed ? faulty.log[static_cast<size_t>(k - 1)] : "nothing") + " (operation " +
                                std::to_string(k) + " of " + std::to_string(operations) + ")";
      const FileSet now = testing::ReadDataFiles(dir.Path());
      std::vector<std::string> wrong;
      if (study)
        for (const std::string& f : StudyRecordFaults(dir.Path(), seeded)) wrong.push_back("study records: " + f);

      const std::string mixed = Differences(now, before, after);
      if (!mixed.empty()) wrong.push_back(mixed);
      if (c.whole && now != before && now != after) wrong.push_back("partly changed:" + Changed(now, before));
      for (const std::string& f : testing::ProblemFileFaults(now)) wrong.push_back(f);
      {
        Session checker(dir.Path());
        for (int category : {1, 2})
          for (const std::string& f : checker.DataCheckFaults(category)) wrong.push_back("data check " + f);
      }

      const Str shown = c.failureBar(*run.session).Text();
      const bool claimed = c.success.empty() ? shown != NoFile && (run.Cued() || c.cueless)
                                             : c.successBar(*run.session).Text() == c.success;
      if (!failed) {
        if (now != after) wrong.push_back("an undisturbed run differs in" + Changed(now, after));
        if (!claimed) wrong.push_back("an undisturbed run does not say it succeeded");
      } else if (claimed) {
        // Only a failure after the change was stored, while the window was
        // being redrawn, leaves the command saying it succeeded.
        if (now != after) wrong.push_back("says it succeeded, but differs in" + Changed(now, after));
      } else {
        if (shown != NoFile) wrong.push_back("the status shows " + ToUtf8(shown));
        if (now != after) {
          if (run.Cued()) wrong.push_back("a cue of success");
          for (const Str& text : run.NewBoxes())
            if (std::find(boxes.begin(), boxes.end(), text) == boxes.end())
              wrong.push_back("a box the command does not show: " + ToUtf8(text));
        }
        // The player tries again, with the window as it is now. Where the
        // change had been stored after all, this must not store it twice.
        if (c.prepare(*run.session)) c.run(*run.session);
        const FileSet again = testing::ReadDataFiles(dir.Path());
        if (again != after) wrong.push_back("trying again differs in" + Changed(again, after));
        if (now != after && !c.success.empty() && c.successBar(*run.session).Text() != c.success)
          wrong.push_back("trying again shows " + ToUtf8(c.successBar(*run.session).Text()));
      }
      if (study)
        for (const std::string& f : StudyRecordFaults(dir.Path(), seeded))
          wrong.push_back("study records, tried again: " + f);
      if (!wrong.empty() && ++reported <= 4) {
        std::string text;
        for (const std::string& w : wrong) text += "\n  " + w;
        ADD_FAILURE() << where << ":" << text;
      }
    }
  }
  SetFiles(nullptr);
  std::cout << "fault cases: " << cases << std::endl;
}

}  // namespace
}  // namespace sol

// Each command of the program on full data files, timed per operation:
// placement and replay, the game record library, the problem window's
// loading, lecture and mode commands, and every block rewrite measured
// against a plain copy-and-sync of the same files in the same run.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/full_data.h"
#include "bench/session.h"
#include "core/allocator.h"
#include "core/capture.h"
#include "core/record_file.h"
#include "core/replay.h"
#include "problems/store.h"
#include "problems/study_records.h"
#include "problems/study_window.h"
#include "problems/texts.h"
#include "records/game_files.h"
#include "records/texts.h"

namespace sol::bench {

namespace {

const std::vector<std::string> GameFiles = {GameListFileName, GameMovesFileName};
const std::vector<std::string> ProblemFiles = {ProblemListFileName, ProblemMovesFileName, AnswerMovesFileName,
                                               CommentFileName};

const char16_t* const CategoryName[] = {u"", u"手筋", u"ヨセ", u"詰碁", u"定石"};
std::string Cat(int c) { return ToUtf8(CategoryName[c]); }

// Landmarks of the largest tree of each category, found once.
const TreeLandmarks& Landmarks(int category) {
  static std::map<int, TreeLandmarks> found;
  auto it = found.find(category);
  if (it == found.end()) it = found.emplace(category, FindLandmarks(ReadCategory(PristineDir(), category))).first;
  return it->second;
}

template <typename F>
void Register(const std::string& name, Target target, F f) {
  Judge(name, std::move(target));
  benchmark::RegisterBenchmark(name.c_str(), f)->Unit(benchmark::kMillisecond)->UseManualTime();
}

template <typename F>
void RegisterFixed(const std::string& name, Target target, int iterations, F f) {
  Judge(name, std::move(target));
  benchmark::RegisterBenchmark(name.c_str(), f)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(iterations);
}

// Times `op` once per iteration, with `prepare` run untimed before it.
template <typename Prepare, typename Op>
void TimeEach(benchmark::State& state, Prepare prepare, Op op) {
  Stopwatch watch(state);
  for (auto _ : state) {
    prepare();
    watch.Time(op);
  }
}

// ---- placement and replay ---------------------------------------------------

void PlaceStoneBench(benchmark::State& state, bool big) {
  Session s;
  GameState& g = s.State();
  BoardCells& cells = s.P().MainBoard.Cells;
  // Single capture: a white stone at 10-10 with black above, below and left.
  // Large capture: white on every point but the first, a group of 360 stones.
  const int centre = 19 * 9 + 10;
  const int target = big ? 1 : centre + 19;
  TimeEach(
      state,
      [&] {
        ClearBoard(g);
        if (big) {
          for (int p = 2; p <= PointCount; ++p) {
            g.Board[static_cast<size_t>(p)] = White;
            cells.SetPicture(p, PictureWhite);
          }
        } else {
          g.Board[static_cast<size_t>(centre)] = White;
          cells.SetPicture(centre, PictureWhite);
          for (int p : {centre - 1, centre + 1, centre - 19}) {
            g.Board[static_cast<size_t>(p)] = Black;
            cells.SetPicture(p, PictureBlack);
          }
        }
        g.MoveCount = 1;
        g.Board[static_cast<size_t>(target)] = Black;
      },
      [&] { s.P().MainBoard.ShowPlacement(target, Black, 1, PlaceStone(g, target, Black, 1)); });
  if (g.CapturedWhite != (big ? 360 : 1)) state.SkipWithError("the capture did not happen");
}

void ReplayBench(benchmark::State& state) {
  Session s;
  GameState& g = s.State();
  const std::optional<int> n = ReadGameMoves(g, 1, ReadUntil::EndOfFile);
  if (!n || *n != 400) {
    state.SkipWithError("game 1 does not have 400 moves");
    return;
  }
  TimeEach(
      state, [] {}, [&] { s.P().MainBoard.ShowReplay(ReplayMoves(g, 400)); });
}

// ---- the game record library ----------------------------------------------------

void OpenLibraryBench(benchmark::State& state) {
  Session s;
  TimeEach(
      state, [&] { s.Library().Unload(); }, [&] { s.P().MainBoard.OpenLibrary(); });
  if (s.Library().List1.ListCount() != 60) state.SkipWithError("the library does not list 60 games");
}

void ReadGameBench(benchmark::State& state) {
  Session s;
  TimeEach(
      state,
      [&] {
        s.P().MainBoard.OpenLibrary();
        s.Library().List1.SetListIndex(0);
      },
      [&] { s.Library().Command2_Click(); });
  if (s.State().MoveCount != 400) state.SkipWithError("the game was not read");
}

// The files as they are with game 60 not yet recorded.
std::pair<std::string, std::string> WithoutGame60(const WorkDir& w) {
  std::string list = w.Original(GameListFileName);
  list.replace(static_cast<size_t>(69) * GameListRecordLength, GameListRecordLength,
               std::string(GameListRecordLength, '\0'));
  std::string moves;
  const std::string& all = w.Original(GameMovesFileName);
  for (size_t at = 0; at + GameMoveRecordLength <= all.size(); at += GameMoveRecordLength)
    if (GetInt16(std::string_view(all).substr(at, 2), 0) != 60) moves += all.substr(at, GameMoveRecordLength);
  return {list, moves};
}

void LibraryRewriteBench(benchmark::State& state, int which) {
  Session s;
  GameState& g = s.State();
  Form3& f = s.Library();
  const auto [list59, moves59] = WithoutGame60(s.work);
  Stopwatch watch(state);
  for (auto _ : state) {
    s.Forget();
    if (which == 1) {
      s.work.Put(GameListFileName, list59);
      s.work.Put(GameMovesFileName, moves59);
    } else {
      s.work.Restore(GameFiles);
    }
    g.GameMovesRecordCount =
        static_cast<int16_t>((which == 1 ? moves59 : s.work.Original(GameMovesFileName)).size() / GameMoveRecordLength);
    (void)ReadGameMoves(g, 1, ReadUntil::EndOfFile);
    ReplayMoves(g, 400);
    s.P().MainBoard.OpenLibrary();
    if (which == 1) {
      f.Text1.SetText(u"60：新しい対局の記録");
    } else {
      f.List1.SetListIndex(0);
      s.platform.answers.push_back(Answer::OK);
    }
    watch.Time([&] {
      if (which == 1) f.Command1_Click();
      if (which == 2) f.Command5_Click();
      if (which == 3) f.Command3_Click();
    });
    watch.AddCopyTime(CopyAndSync(s.work.Path(), GameFiles));
  }
  const Str done[] = {u"", form3text::Recorded, form3text::Updated, form3text::Deleted};
  if (f.StatusBar1.Text() != done[which]) state.SkipWithError(("status: " + ToUtf8(f.StatusBar1.Text())).c_str());
}

void CapacityBench(benchmark::State& state) {
  Session s;
  s.P().MainBoard.OpenLibrary();
  TimeEach(
      state, [] {}, [&] { s.Library().MenuRemaining(); });
}

// ---- the problem window -------------------------------------------------------------

void BlockEndsBench(benchmark::State& state, int category) {
  Session s;
  TimeEach(
      state, [] {}, [&] { FindBlockEnds(s.State(), category); });
}

void SwitchModeBench(benchmark::State& state, int from, int to) {
  Session s;
  Form4& f = s.Mode(from);
  TimeEach(
      state, [&] { f.SwitchMode(from); }, [&] { f.SwitchMode(to); });
  if (s.State().CategoryNo == 4 && f.List1.ListCount() != 31267) state.SkipWithError("the 定石 list is not full");
}

// The same switch with a record of one attempt at every 定石 problem: the
// list is marked and counted as it is read.
void SwitchModeStudyBench(benchmark::State& state) {
  Session s;
  Form4& f = s.Mode(1);
  StudyRecords& records = s.P().Study;
  if (!records.Available()) return state.SkipWithError("the records did not open");
  std::map<int, std::uint64_t> fingerprints = SetupFingerprints(s.State(), 4);
  for (const auto& r : ScanProblemList(s.State(), 4)) fingerprints.emplace(r.value.ProblemNumber, SetupFingerprint({}));
  int n = 0;
  for (const auto& [problem, fingerprint] : fingerprints)
    if (!records.Record({4, problem, fingerprint, static_cast<StudyResult>(++n % 3 + 1), "2026-12-01 10:00:00"}))
      return state.SkipWithError("an attempt was not recorded");
  TimeEach(
      state, [&] { f.SwitchMode(1); }, [&] { f.SwitchMode(7); });
  int marked = 0;
  for (int i = 0; i < f.List1.ListCount(); ++i) marked += f.List1.Mark(i) != 0;
  if (marked != 31267) state.SkipWithError("not every line of the 定石 list was marked");
}

int LectureMode(int category) { return 2 * category - 1; }

void LoadProblemBench(benchmark::State& state, int category) {
  Session s;
  Form4& f = s.Mode(LectureMode(category));
  const int line = s.LineOf(Landmarks(category).problem);
  TimeEach(
      state, [] {}, [&] { f.List1.SetListIndex(line); });
  if (f.List2.ListCount() != Landmarks(category).lines) state.SkipWithError("the answers did not load");
}

void ReplayPathBench(benchmark::State& state, int category) {
  Session s;
  Form4& f = s.Mode(LectureMode(category));
  f.List1.SetListIndex(s.LineOf(Landmarks(category).problem));
  const int head = Landmarks(category).deepestHead;
  TimeEach(
      state,
      [&] {
        f.ResetProblemBoard();
        f.LoadSetupStones(Landmarks(category).problem);
      },
      [&] { f.ReplayAnswerPath(head, 0, LabelNumbered); });
  if (f.Lesson.ProblemMoveNumber != 50) state.SkipWithError("the path did not reach move 50");
}

void ShowSequenceBench(benchmark::State& state, int category) {
  Session s;
  Form4& f = s.Mode(LectureMode(category) + 1);
  f.List1.SetListIndex(s.LineOf(Landmarks(category).problem));
  const int head = Landmarks(category).deepestHead;
  TimeEach(
      state, [&] { s.Forget(); }, [&] { f.List2.SetListIndex(head); });
}

long Field(Form4& f, int line, int k) {
  const AnswerLine& l = f.Answers().At(line);
  const int fields[] = {l.Problem, l.MoveIndex, l.SignedColour, l.Point, l.Record, l.Link};
  return k >= 1 && k <= 6 ? fields[k - 1] : 0;
}

// Plays the lecture up to the position with ten continuations.
void PlayToWide(Session& s, Form4& f, int category) {
  s.Forget();
  f.List1.SetListIndex(s.LineOf(Landmarks(category).problem));
  for (int line : Landmarks(category).pathToWide)
    f.ProblemBoardClick(ButtonLeft, 0, static_cast<int>(Field(f, line, 4)));
}

void LectureClickBench(benchmark::State& state, int category, bool registered) {
  Session s;
  Form4& f = s.Mode(LectureMode(category));
  const TreeLandmarks& m = Landmarks(category);
  int point = 0;
  TimeEach(
      state,
      [&] {
        PlayToWide(s, f, category);
        point = 0;
        if (registered) {
          point = static_cast<int>(Field(f, m.wideChildren.back(), 4));
        } else {
          // An empty point that no continuation names; "No" asks for the candidates.
          for (int p = 1; p <= 247 && point == 0; ++p) {
            bool named = false;
            for (int c : m.wideChildren) named = named || Field(f, c, 4) == p;
            if (!named && s.State().Board[static_cast<size_t>(p)] == 0) point = p;
          }
          s.platform.answers.push_back(Answer::No);
        }
      },
      [&] { f.ProblemBoardClick(ButtonLeft, 0, point); });
  if (registered && !s.platform.boxes.empty()) state.SkipWithError("the continuation was not found");
  if (!registered) {
    // The candidates are marked for the player to choose one.
    int marks = 0;
    for (int p = 1; p <= 247; ++p) marks += f.Cells.CaptionAt(p) == form4text::Mark;
    if (marks != 10) state.SkipWithError("the ten candidates were not marked");
  }
}

// ---- the study records ---------------------------------------------------------------

constexpr int JosekiProblems = 31267;

std::uint64_t BenchFingerprint(int problem) { return static_cast<std::uint64_t>(problem) * 0x9E3779B97F4A7C15ull; }

// A database in a temporary folder with one attempt at every 定石 problem,
// filled once for every run of the benchmark.
class StudyDatabase {
 public:
  StudyDatabase() {
    std::string dir = (std::filesystem::temp_directory_path() / "solneka-study.XXXXXX").string();
    if (!mkdtemp(dir.data())) throw std::runtime_error("cannot make a temporary folder");
    dir_ = dir;
    path_ = dir + "/学習記録.db";
    StudyRecords db;
    if (!db.Open(path_).empty()) throw std::runtime_error("cannot create " + path_);
    for (int p = 1; p <= JosekiProblems; ++p) {
      const auto result = static_cast<StudyResult>(p % 3 + 1);
      if (!db.Record({4, p, BenchFingerprint(p), result, "2026-12-01 10:00:00"}))
        throw std::runtime_error("cannot record in " + path_);
    }
  }
  ~StudyDatabase() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string dir_, path_;
};

const StudyDatabase& StudyData() {
  static const StudyDatabase data;
  return data;
}

// Opening checks the file (quick_check) before it is used.
void StudyOpenBench(benchmark::State& state) {
  const std::string& path = StudyData().Path();
  StudyRecords db;
  Str notice;
  TimeEach(
      state, [&] { db.Close(); }, [&] { notice = db.Open(path); });
  if (!notice.empty() || !db.Available()) state.SkipWithError("the study records do not open");
}

void StudyLatestBench(benchmark::State& state) {
  const StudyDatabase& data = StudyData();
  StudyRecords db;
  if (!db.Open(data.Path()).empty()) {
    state.SkipWithError("the study records do not open");
    return;
  }
  std::map<int, std::uint64_t> fingerprints;
  for (int p = 1; p <= JosekiProblems; ++p) fingerprints.emplace_hint(fingerprints.end(), p, BenchFingerprint(p));
  std::map<int, ProblemStudy> latest;
  TimeEach(
      state, [&] { latest.clear(); }, [&] { latest = db.Latest(4, fingerprints); });
  if (latest.size() != JosekiProblems) state.SkipWithError("not every problem's attempt was found");
}

// ---- block rewrites -------------------------------------------------------------------

struct Rewrite {
  std::string name;
  int category;
  std::vector<std::string> files;  // what the command rewrites, in order
  // Untimed: selects what the command works on and queues the answers.
  std::function<void(Session&, Form4&)> prepare;
  std::function<void(Form4&)> run;
  std::function<bool(Session&, Form4&)> succeeded;
};

void RewriteBench(benchmark::State& state, const Rewrite& r) {
  Session s;
  const int mode = LectureMode(r.category) + 1;
  Form4& f = s.Mode(mode);
  bool ok = true;
  {
    Stopwatch watch(state);
    for (auto _ : state) {
      s.Forget();
      s.work.Restore(r.files);
      f.SwitchMode(mode);
      r.prepare(s, f);
      watch.Time([&] { r.run(f); });
      ok = ok && r.succeeded(s, f);
      watch.AddCopyTime(CopyAndSync(s.work.Path(), r.files));
    }
  }
  if (!ok) state.SkipWithError(("the command did not do its work: " + ToUtf8(f.StatusBar1.Text())).c_str());
}

bool Said(Form4& f, const char16_t* text) { return f.StatusBar1.Text() == text; }

std::vector<Rewrite> Rewrites() {
  std::vector<Rewrite> out;
  for (int c : {1, 4}) {
    const TreeLandmarks& m = Landmarks(c);
    const int16_t problem = m.problem;
    out.push_back({"問題削除（" + Cat(c) + "・最大の問題）", c, ProblemFiles,
                   [problem](Session& s, Form4& f) {
                     f.List1.SetListIndex(s.LineOf(problem));
                     s.platform.answers.push_back(Answer::OK);
                   },
                   [](Form4& f) { f.Command5_Click(); }, [](Session&, Form4& f) { return Said(f, u"削除しました"); }});
    out.push_back({"手順削除（" + Cat(c) + "・最大の枝）",
                   c,
                   {AnswerMovesFileName, CommentFileName},
                   [problem, tail = m.biggestTail](Session& s, Form4& f) {
                     f.List1.SetListIndex(s.LineOf(problem));
                     f.List2.SetListIndex(tail);
                     s.platform.answers.push_back(Answer::OK);
                   },
                   [](Form4& f) { f.Command8_Click(); },
                   [](Session&, Form4& f) { return Said(f, u"削除しました"); }});
    out.push_back({"コメント削除（" + Cat(c) + "）",
                   c,
                   {CommentFileName},
                   [problem, head = m.leafHead](Session& s, Form4& f) {
                     f.List1.SetListIndex(s.LineOf(problem));
                     const Str key = CommentKey(problem, static_cast<int>(Field(f, head, 5)));
                     for (int i = 0; i < f.List3.ListCount(); ++i)
                       if (Left(f.List3.List(i), 9) == key) {
                         f.List3.SetListIndex(i);
                         break;
                       }
                     s.platform.answers.push_back(Answer::OK);
                   },
                   [](Form4& f) { f.Command10_Click(); },
                   [](Session&, Form4& f) { return Said(f, u"削除しました"); }});
  }
  {
    const int16_t problem = Landmarks(1).problem;
    out.push_back(
        {"区分変更（手筋・応用→基本）",
         1,
         {ProblemListFileName, ProblemMovesFileName, AnswerMovesFileName, CommentFileName, ProblemListFileName},
         [problem](Session& s, Form4& f) {
           f.List1.SetListIndex(s.LineOf(problem));
           f.Option4.SetValue(true);
         },
         [](Form4& f) { f.Command11_Click(); },
         [problem](Session& s, Form4& f) { return s.LineOf(problem) < 0 && f.List1.ListIndex() >= 0; }});
    // 問題登録 refuses to change a title in a full block of 手筋, so the
    // procedure is timed on its own after a title has changed.
    out.push_back(
        {"RewriteProblemList（手筋・500問、題名を1つ変更）",
         1,
         {ProblemListFileName},
         [problem](Session& s, Form4& f) {
           const int line = s.LineOf(problem);
           f.List1.SetListIndex(line);
           f.RetitleLine(line, Left(f.List1.List(line), 4) + u"：題名を変えた問題");
         },
         [](Form4& f) { (void)f.RewriteProblemList(); },
         [problem](Session& s, Form4&) {
           return ScanProblemList(s.State(), 1)[static_cast<size_t>(s.LineOf(problem))].value.ProblemText.find(
                      u"題名を変えた問題") != Str::npos;
         }});
  }
  {
    const int16_t problem = Landmarks(4).problem;
    out.push_back(
        {"問題登録・題名変更 = RewriteProblemList（定石・31,267行）",
         4,
         {ProblemListFileName},
         [problem](Session& s, Form4& f) {
           const int line = s.LineOf(problem);
           f.List1.SetListIndex(line);
           f.Text1.SetText(Left(f.List1.List(line), 4) + u"：題名を変えた定石");
         },
         [](Form4& f) { f.Command4_Click(); },
         [problem](Session& s, Form4& f) { return Mid(f.List1.List(s.LineOf(problem)), 5) == u"：題名を変えた定石"; }});
  }
  return out;
}

void RegisterAll() {
  Register("PlaceStone: 1子取り", {"PlaceStone（1子を取る）"}, [](benchmark::State& s) { PlaceStoneBench(s, false); });
  Register("PlaceStone: 360子取り", {"PlaceStone（360子を取る）"},
           [](benchmark::State& s) { PlaceStoneBench(s, true); });
  Register("ReplayMoves(400)", {"ReplayMoves(400)"}, ReplayBench);

  Register("棋譜処理を開く", {"棋譜処理を開く（60局）"}, OpenLibraryBench);
  Register("読込み", {"読込み（400手、24,000手のファイル）"}, ReadGameBench);
  RegisterFixed("記録", {"記録（60局目 400手、ファイルは満杯に）", 16, 3}, 40,
                [](benchmark::State& s) { LibraryRewriteBench(s, 1); });
  RegisterFixed("更新", {"更新（400手）", 16, 3}, 40, [](benchmark::State& s) { LibraryRewriteBench(s, 2); });
  RegisterFixed("削除", {"削除（400手の棋譜）", 16, 3}, 40, [](benchmark::State& s) { LibraryRewriteBench(s, 3); });
  Register("残情報", {"残情報（容量報告）"}, CapacityBench);

  for (int c = 1; c <= 4; ++c)
    Register("FindBlockEnds " + std::to_string(c), {"FindBlockEnds（" + Cat(c) + "）"},
             [c](benchmark::State& s) { BlockEndsBench(s, c); });
  Register("モード切替 手筋講座→定石講座", {"モード切替 → 定石講座（31,267問）"},
           [](benchmark::State& s) { SwitchModeBench(s, 1, 7); });
  Register("モード切替 手筋講座→定石講座 学習記録", {"モード切替 → 定石講座（31,267問、全問に学習記録）"},
           SwitchModeStudyBench);
  Register("モード切替 定石講座→手筋講座", {"モード切替 → 手筋講座（500問）"},
           [](benchmark::State& s) { SwitchModeBench(s, 7, 1); });
  for (int c : {1, 4}) {
    Register("LoadProblem " + std::to_string(c),
             {"LoadProblem（" + Cat(c) + "・" + std::to_string(Landmarks(c).lines) + "行の問題）"},
             [c](benchmark::State& s) { LoadProblemBench(s, c); });
    Register("ReplayAnswerPath " + std::to_string(c),
             {"ReplayAnswerPath（" + Cat(c) + "・" + std::to_string(Landmarks(c).deepestChain) + "手順の連鎖）"},
             [c](benchmark::State& s) { ReplayPathBench(s, c); });
    Register("手順リスト選択 " + std::to_string(c), {"手順リストのクリック（" + Cat(c) + "・最深の手順）"},
             [c](benchmark::State& s) { ShowSequenceBench(s, c); });
    RegisterFixed("講座クリック 候補10 " + std::to_string(c), {"講座の着手（" + Cat(c) + "・10通りの分岐で10番目）"},
                  100, [c](benchmark::State& s) { LectureClickBench(s, c, true); });
    RegisterFixed("講座クリック 未登録 " + std::to_string(c), {"講座の着手（" + Cat(c) + "・未登録の手→候補表示）"},
                  100, [c](benchmark::State& s) { LectureClickBench(s, c, false); });
  }
  Register("学習記録 Open", {"学習記録を開く（31,267件、検査つき）"}, StudyOpenBench);
  Register("学習記録 Latest 4", {"学習記録の読込み（定石・31,267問に1回ずつ）"}, StudyLatestBench);
  for (const Rewrite& r : Rewrites())
    RegisterFixed(r.name, {r.name, 16, 3}, 30, [r](benchmark::State& s) { RewriteBench(s, r); });
}

}  // namespace

}  // namespace sol::bench

int main(int argc, char** argv) {
  // As the program does when it starts.
  sol::KeepLargeBuffersInHeap();
  sol::bench::RegisterAll();
  return sol::bench::RunAndTabulate(argc, argv);
}

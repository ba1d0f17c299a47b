// Writes the full data set into a directory and, with --check, proves it is
// data the program accepts: the record rules of every block, legal games,
// and the problem window's own data check run on every problem that has
// answers, which must report no error.
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "app/program.h"
#include "bench/full_data.h"
#include "core/text.h"
#include "scenario/script_platform.h"

namespace {

int CheckWithProgram(const std::string& dir) {
  sol::ScriptPlatform platform;
  sol::Program program(platform, dir);
  program.Start();
  const sol::Str clean = u"手順エラー件数は 0件、コメントエラー件数は 0件です。";
  int checked = 0, failed = 0;
  for (int mode : {1, 3, 5, 7}) {
    if (mode == 1)
      program.MainBoard.OpenProblems(mode);
    else
      program.Problems.SwitchMode(mode);
    sol::Form4& f = program.Problems;
    const sol::bench::CategoryData data = sol::bench::ReadCategory(dir, (mode + 1) / 2);
    std::set<int16_t> withAnswers;
    for (const auto& a : data.answers) withAnswers.insert(a.value.ProblemNumber);
    std::map<long, int> lineOf;
    for (int i = f.List1.ListCount() - 1; i >= 0; --i) lineOf[sol::Val(sol::Left(f.List1.List(i), 4))] = i;
    for (int16_t n : withAnswers) {
      const auto it = lineOf.find(n);
      if (it == lineOf.end()) {
        std::printf("mode %d: problem %d is not in the list\n", mode, n);
        ++failed;
        continue;
      }
      platform.boxes.clear();
      f.List1.SetListIndex(it->second);
      f.Command13_Click();
      ++checked;
      if (f.StatusBar1.Text() != clean || !platform.boxes.empty()) {
        ++failed;
        std::printf("mode %d problem %d: %s\n", mode, n, sol::ToUtf8(f.StatusBar1.Text()).c_str());
        for (const auto& b : platform.boxes) std::printf("  %s\n", sol::ToUtf8(b.text).c_str());
      }
      platform.cues.clear();
    }
  }
  for (const std::string& e : platform.errors) {
    std::printf("%s\n", e.c_str());
    ++failed;
  }
  std::printf("data check of the problem window: %d problems, %d with errors\n", checked, failed);
  return failed;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir;
  bool check = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--check")
      check = true;
    else
      dir = a;
  }
  if (dir.empty()) {
    std::fprintf(stderr, "usage: solneka-bench-data DIR [--check]\n");
    return 2;
  }
  sol::bench::WriteFullData(dir);
  std::printf("full data written to %s\n", dir.c_str());
  if (!check) return 0;

  int faults = 0;
  for (int c = 1; c <= 4; ++c) {
    const sol::bench::CategoryData data = sol::bench::ReadCategory(dir, c);
    for (const std::string& f : sol::bench::CheckCategory(data, c)) {
      std::printf("%s\n", f.c_str());
      ++faults;
    }
    const sol::bench::TreeLandmarks m = sol::bench::FindLandmarks(data);
    std::printf(
        "category %d: %zu list, %zu set-up, %zu answer, %zu comment records; largest tree %d (%d lines, "
        "chain of %d sequences, %zu continuations at line %d)\n",
        c, data.list.size(), data.moves.size(), data.answers.size(), data.comments.size(), m.problem, m.lines,
        m.deepestChain, m.wideChildren.size(), m.wideParent);
  }
  for (const std::string& f : sol::bench::CheckGames(dir)) {
    std::printf("%s\n", f.c_str());
    ++faults;
  }
  faults += CheckWithProgram(dir);
  std::printf(faults == 0 ? "data is valid\n" : "%d faults\n", faults);
  return faults == 0 ? 0 : 1;
}

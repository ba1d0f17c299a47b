// The input is a scratch file (仮ファイル.dat) left over from an interrupted
// command. Whatever it holds must never become part of the data: after each
// command that goes through the scratch file, the data files hold exactly
// what the command makes of the sample.
#include <algorithm>

#include "fuzz/harness.h"

namespace sol::fuzz {
namespace {

std::vector<GameMoveRecord> Without(std::vector<GameMoveRecord> records, int game) {
  records.erase(
      std::remove_if(records.begin(), records.end(), [game](const GameMoveRecord& r) { return r.GameNumber == game; }),
      records.end());
  return records;
}

void ExpectMoves(Session& s, const std::vector<GameMoveRecord>& want, const char* after) {
  const std::string have = sample::ReadFile(s.State().GameMovesFile);
  if (have != sample::Moves(want))
    Fail("after %s the moves file holds %zu bytes, %zu expected", after, have.size(),
         want.size() * GameMoveRecord::Length);
  if (s.State().GameMovesRecordCount != static_cast<int>(want.size()))
    Fail("after %s GameMovesRecordCount is %d, %zu expected", after, s.State().GameMovesRecordCount, want.size());
}

int LineOf(ListBox& list, int game) {
  for (int i = 0; i < list.ListCount(); ++i)
    if (LineGameNumber(list.List(i)) == game) return i;
  return -1;
}

}  // namespace
}  // namespace sol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sol;
  using namespace sol::fuzz;
  const std::string& dir = ProcessDataDir();
  const std::string scratch = Bytes(data, size);
  WriteSample(dir);
  Session s(dir);
  s.Start();
  Form3& library = s.Library();
  std::vector<GameMoveRecord> moves = sample::GameMoves();

  // 削除 of game 2.
  sample::WriteFile(dir + TempFileName, scratch);
  if (!s.OpenLibrary() || !s.Select(library, library.List1, LineOf(library.List1, 2))) Fail("game 2 is not listed");
  s.Press(library, library.Command3);
  moves = Without(moves, 2);
  ExpectMoves(s, moves, "deleting game 2");

  // 更新 of game 3 with the moves on the board: none, after the start.
  sample::WriteFile(dir + TempFileName, scratch);
  if (!s.Select(library, library.List1, LineOf(library.List1, 3))) Fail("game 3 is not listed");
  s.Type(library, library.Text1, u"03：更新した局");
  s.Press(library, library.Command5);
  moves = Without(moves, 3);
  ExpectMoves(s, moves, "updating game 3");
  s.Menu(library, "メニューメイン碁盤へ");

  // 保存 of two moves as the adjourned game 1.
  sample::WriteFile(dir + TempFileName, scratch);
  Form2& board = s.Board();
  s.Click(board, 100, ButtonLeft, 0);
  s.Click(board, 101, ButtonLeft, 0);
  s.Menu(board, "メニュー保存");
  moves = Without(moves, 1);
  moves.push_back({1, 1, Black, 100});
  moves.push_back({1, 2, White, 101});
  ExpectMoves(s, moves, "adjourning");

  // 問題削除 of problem 1002 of 手筋: only its records leave the first
  // block of each problem file; everything after the block stays.
  static const std::string lists = sample::ProblemListFile(), setups = sample::ProblemMovesFile();
  sample::WriteFile(dir + TempFileName, scratch);
  Form4& problems = s.Problems();
  if (!s.OpenProblems(2)) Fail("the problem window does not open");
  int line = -1;
  for (int i = 0; i < problems.List1.ListCount(); ++i)
    if (Val(Left(problems.List1.List(i), 4)) == 1002) line = i;
  if (!s.Select(problems, problems.List1, line)) Fail("problem 1002 is not listed");
  s.Press(problems, problems.Command5);
  std::vector<int> left;
  for (const auto& r : ScanProblemList(s.State(), 1)) left.push_back(r.value.ProblemNumber);
  if (left != std::vector<int>{1001, 2001})
    Fail("the problem list block holds %zu problems after deleting 1002", left.size());
  for (const auto& r : ScanProblemMoves(s.State(), 1))
    if (r.value.ProblemNumber == 1002) Fail("a set-up stone of problem 1002 survived its deletion");
  const size_t listFrom = static_cast<size_t>(BlockFirst(ProblemFile::List, 2) - 1) * ProblemListRecord::Length;
  const size_t setupFrom = static_cast<size_t>(BlockFirst(ProblemFile::Moves, 2) - 1) * ProblemMoveRecord::Length;
  if (sample::ReadFile(s.State().ProblemListFile).substr(listFrom) != lists.substr(listFrom))
    Fail("deleting a problem of 手筋 changed the problem list past its block");
  if (sample::ReadFile(s.State().ProblemMovesFile).substr(setupFrom) != setups.substr(setupFrom))
    Fail("deleting a problem of 手筋 changed the set-up file past its block");
  return 0;
}

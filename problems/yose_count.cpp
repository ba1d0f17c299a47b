#include "problems/yose_count.h"

#include <cstdlib>

namespace sol {

namespace {
int RowOf(int p) { return (p - 1) % BoardSize + 1; }
int ColumnOf(int p) { return (p - 1) / BoardSize + 1; }
}  // namespace

std::optional<long> YoseCount::AddRun(int problem, int firstColour, const BoardPoints& board, int capturedBlack,
                                      int capturedWhite) {
  const int run = firstColour == Black ? 1 : 2;
  const int base = run == 1 ? 1 : 4;
  runs_[base] = problem;
  runs_[base + 1] = capturedWhite;
  runs_[base + 2] = capturedBlack;
  for (int p = 1; p <= Points; ++p) snapshots_[run][p] = std::abs(board[p]);
  if (runs_[1] != runs_[4]) return std::nullopt;
  for (int p = 1; p <= Points; ++p) work_[p] = snapshots_[1][p] + snapshots_[2][p];
  const long value = Count();
  *this = {};
  return value;
}

long YoseCount::Count() {
  const int w1 = runs_[2], b1 = runs_[3], w2 = runs_[5], b2 = runs_[6];
  int black[3] = {0, 0, 0}, white[3] = {0, 0, 0};
  for (int p = 1; p <= Points; ++p) {
    if (work_[p] == 0 || snapshots_[1][p] * snapshots_[2][p] != 0) continue;
    const Nearest n = NearestStones(p);
    if (n.emptyRun < 1) continue;
    if (n.first + n.second == 1)
      ++black[n.emptyRun];
    else
      ++white[n.emptyRun];
  }
  const int d = std::abs((white[1] - white[2]) + (black[2] - black[1]));

  // The empty region joined to the top-left corner belongs to nobody.
  work_[1] = 5;
  for (;;) {
    int p = 1;
    while (p <= Points && work_[p] != 5) ++p;
    if (p > Points) break;
    work_[p] = 6;
    SpreadMark(p);
  }
  int e = 0;
  for (int p = 1; p <= Points; ++p) {
    if (work_[p] != 0) continue;
    const Nearest n = NearestStones(p);
    if (n.first != n.second) ++e;
  }
  return (w1 - w2) + (b2 - b1) + 2 * e + d;
}

void YoseCount::SpreadMark(int p) {
  const int row = RowOf(p), column = ColumnOf(p);
  auto mark = [this](int q) {
    if (work_[q] == 0) work_[q] = 5;
  };
  if (row > 1) mark(p - 1);
  if (row < BoardSize) mark(p + 1);
  if (column > 1) mark(p - BoardSize);
  if (column < Columns) mark(p + BoardSize);
}

YoseCount::Nearest YoseCount::NearestStones(int p) const {
  Nearest n;
  const int row = RowOf(p), column = ColumnOf(p);
  for (int run = 1; run <= 2; ++run) {
    const auto& snapshot = snapshots_[run];
    if (snapshot[p] != 0) continue;
    n.emptyRun = run;
    int result = 0;
    bool open[4] = {true, true, true, true};
    for (int dist = 1; result == 0 && (open[0] || open[1] || open[2] || open[3]); ++dist) {
      // up, right, down, left
      const int points[4] = {p - dist, p + BoardSize * dist, p + dist, p - BoardSize * dist};
      const bool inside[4] = {row - dist >= 1, column + dist <= Columns, row + dist <= BoardSize, column - dist >= 1};
      for (int dir = 0; dir < 4 && result == 0; ++dir) {
        if (!open[dir]) continue;
        if (!inside[dir]) {
          open[dir] = false;
          continue;
        }
        const int v = snapshot[points[dir]];
        if (v != 0) result = v == Black ? 1 : 2;
      }
    }
    (run == 1 ? n.first : n.second) = result;
  }
  return n;
}

}  // namespace sol

// The in/out value of an endgame position, from two played-out runs: one
// with Black moving first, one with White moving first.
#include <cstdlib>

#include "core/cues.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/texts.h"

namespace sol {

namespace {
int RowOf(int p) { return (p - 1) % BoardSize + 1; }
int ColumnOf(int p) { return (p - 1) / BoardSize + 1; }
}  // namespace

void Form4::Command14_Click() {
  Platform& platform = GetPlatform();
  if (MoveBufferCount == 0) {
    platform.MsgBox(form4text::YosePlayFirst, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  if (ProblemPlayMode == 1) {
    platform.MsgBox(form4text::YoseChooseFree, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  const int line = List1.ListIndex();
  if (line < 0) return;
  const int first = MoveBuffer[1].Colour;
  // The problem number is the line's first four characters; a title that
  // begins with digits must not run into it.
  const int16_t n = static_cast<int16_t>(SelectedProblem());
  const int run = first == Black ? 1 : 2;
  const int base = run == 1 ? 1 : 4;
  YoseRuns[base] = n;
  YoseRuns[base + 1] = Position.CapturedWhite;
  YoseRuns[base + 2] = Position.CapturedBlack;
  for (int p = 1; p <= ProblemPoints; ++p) YoseSnapshots[run][p] = static_cast<int16_t>(std::abs(Position.Board[p]));
  Position.CapturedBlack = 0;
  Position.CapturedWhite = 0;

  if (YoseRuns[1] == YoseRuns[4]) {
    for (int p = 1; p <= ProblemPoints; ++p)
      YoseWork[p] = static_cast<int16_t>(YoseSnapshots[1][p] + YoseSnapshots[2][p]);
    CountYose();
    YoseRuns.fill(0);
    for (auto& snapshot : YoseSnapshots) snapshot.fill(0);
    YoseWork.fill(0);
    SetStatus(u"出入り　" + Num(List1.ItemData(line)) + u"目です");
    PlayCue(0);
    return;
  }
  List1.SetListIndex(-1);
  List1.SetListIndex(line);
  platform.MsgBox(first == Black ? form4text::YoseNextWhite : form4text::YoseNextBlack, Buttons::OK, Icon::Information,
                  form4text::Confirm);
}

void Form4::CountYose() {
  const int w1 = YoseRuns[2], b1 = YoseRuns[3], w2 = YoseRuns[5], b2 = YoseRuns[6];
  int black[3] = {0, 0, 0}, white[3] = {0, 0, 0};
  for (int p = 1; p <= ProblemPoints; ++p) {
    if (YoseWork[p] == 0 || YoseSnapshots[1][p] * YoseSnapshots[2][p] != 0) continue;
    int a = 0, b = 0, k = 0;
    NearestStones(p, a, b, k);
    if (k < 1) continue;
    if (a + b == 1)
      ++black[k];
    else
      ++white[k];
  }
  const int d = std::abs((white[1] - white[2]) + (black[2] - black[1]));

  // The empty region joined to the top-left corner belongs to nobody.
  YoseWork[1] = 5;
  for (;;) {
    int p = 1;
    while (p <= ProblemPoints && YoseWork[p] != 5) ++p;
    if (p > ProblemPoints) break;
    YoseWork[p] = 6;
    SpreadMark(p);
  }
  int e = 0;
  for (int p = 1; p <= ProblemPoints; ++p) {
    if (YoseWork[p] != 0) continue;
    int a = 0, b = 0, k = 0;
    NearestStones(p, a, b, k);
    if (a != b) ++e;
  }
  const long value = (w1 - w2) + (b2 - b1) + 2 * e + d;
  List1.SetItemData(List1.ListIndex(), value);
}

void Form4::SpreadMark(int p) {
  const int row = RowOf(p), column = ColumnOf(p);
  auto mark = [this](int q) {
    if (YoseWork[q] == 0) YoseWork[q] = 5;
  };
  if (row > 1) mark(p - 1);
  if (row < BoardSize) mark(p + 1);
  if (column > 1) mark(p - BoardSize);
  if (column < ProblemColumns) mark(p + BoardSize);
}

void Form4::NearestStones(int p, int& a, int& b, int& k) const {
  a = b = k = 0;
  const int row = RowOf(p), column = ColumnOf(p);
  for (int run = 1; run <= 2; ++run) {
    const auto& snapshot = YoseSnapshots[run];
    if (snapshot[p] != 0) continue;
    k = run;
    int result = 0;
    bool open[4] = {true, true, true, true};
    for (int dist = 1; result == 0 && (open[0] || open[1] || open[2] || open[3]); ++dist) {
      // up, right, down, left
      const int points[4] = {p - dist, p + BoardSize * dist, p + dist, p - BoardSize * dist};
      const bool inside[4] = {row - dist >= 1, column + dist <= ProblemColumns, row + dist <= BoardSize,
                              column - dist >= 1};
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
    (run == 1 ? a : b) = result;
  }
}

}  // namespace sol

#include "core/capture.h"

#include <cstdlib>
#include <vector>

#include "core/text.h"

namespace sol {

Capture TakeOffDeadGroups(BoardPoints& board, int point, int opp, int removable) {
  // Neighbour colour as the scan sees it: off the board is an edge, and a
  // stone's colour is read without its sign.
  auto colourAt = [&board](int q) { return q == 0 ? int{Edge} : std::abs(board[q]); };

  std::array<bool, PointCount + 1> dead{};
  std::array<bool, PointCount + 1> visited;
  std::array<int16_t, PointCount + 1> group;
  for (int i = 1; i <= 4; ++i) {
    const int q = NeighbourPoint(point, i);
    if (q == 0 || colourAt(q) != opp || dead[q]) continue;

    visited.fill(false);
    group[1] = static_cast<int16_t>(q);
    visited[q] = true;
    int listed = 1;
    bool liberty = false;
    // Breadth-first over the group, stopping at its first liberty.
    for (int k = 1; k <= listed && !liberty; ++k) {
      for (int j = 1; j <= 4; ++j) {
        const int n = NeighbourPoint(group[k], j);
        const int colour = colourAt(n);
        if (colour == Empty) {
          liberty = true;
          break;
        }
        if (n > 0 && !visited[n] && colour == opp) {
          group[++listed] = static_cast<int16_t>(n);
          visited[n] = true;
        }
      }
    }
    if (!liberty)
      for (int p = 1; p <= removable; ++p)
        if (visited[p]) dead[p] = true;
  }

  Capture taken;
  taken.Colour = static_cast<int16_t>(opp);
  for (int p = 1; p <= removable; ++p) {
    if (!dead[p]) continue;
    board[p] = 0;
    taken.Points[taken.Count++] = static_cast<int16_t>(p);
  }
  return taken;
}

Str StoneCaption(const GameState& s, int number) {
  return (s.BoardMode == FreeUnnumberedMode || number < 1) ? Str(u" ") : Num(number);
}

Placement PlaceStone(GameState& s, int point, int colour, int number) {
  Placement placed;
  s.LastColour = static_cast<int16_t>(colour);
  placed.PreviousNewest = s.LastPoint;
  s.LastPoint = static_cast<int16_t>(point);

  const int opp = s.Board[point] == Black ? White : Black;
  placed.Captured = TakeOffDeadGroups(s.Board, point, opp);
  const Capture& taken = placed.Captured;
  for (int i = 0; i < taken.Count; ++i) {
    // Past the log's capacity the stones still come off and count; only
    // their take-back record is lost.
    if (s.CaptureLogCount < CaptureLogSize) {
      ++s.CaptureLogCount;
      s.CaptureLog[s.CaptureLogCount] = {s.MoveCount, static_cast<int16_t>(number), static_cast<int16_t>(opp),
                                         taken.Points[i]};
    }
  }
  if (opp == Black)
    s.CapturedBlack = static_cast<int16_t>(s.CapturedBlack + taken.Count);
  else
    s.CapturedWhite = static_cast<int16_t>(s.CapturedWhite + taken.Count);
  return placed;
}

bool HasLiberty(const BoardPoints& board, int point) {
  std::vector<int> stack{point};
  std::vector<bool> seen(PointCount + 1, false);
  seen[point] = true;
  while (!stack.empty()) {
    const int p = stack.back();
    stack.pop_back();
    const int x = (p - 1) / BoardSize, y = (p - 1) % BoardSize;
    const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
    for (const auto& n : next) {
      if (n[0] < 0 || n[0] >= BoardSize || n[1] < 0 || n[1] >= BoardSize) continue;
      const int q = n[0] * BoardSize + n[1] + 1;
      if (board[q] == Empty) return true;
      if (board[q] == board[point] && !seen[q]) {
        seen[q] = true;
        stack.push_back(q);
      }
    }
  }
  return false;
}

}  // namespace sol

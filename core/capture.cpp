#include "core/capture.h"

#include <cstdlib>

#include "core/text.h"

namespace sol {

void ScanNeighbours(GameState& s, int point) {
  for (int i = 1; i <= 4; ++i) {
    int q = NeighbourPoint(point, i);
    if (q == 0)
      s.Neighbours[i] = {Edge, 0};
    else
      s.Neighbours[i] = {static_cast<int16_t>(std::abs(s.Board[q])), static_cast<int16_t>(q)};
  }
}

void ShowPrisoners(GameState& s) {
  if (s.Display.Label5) s.Display.Label5->SetCaption(Num(s.CapturedBlack));
  if (s.Display.Label3) s.Display.Label3->SetCaption(Num(s.CapturedWhite));
}

void PlaceStone(GameState& s, int point, int colour, int number) {
  BoardCells* cells = s.Display.Cells;
  if (cells) {
    cells->SetForeColor(point, NumberColourOn(colour));
    cells->SetPicture(point, static_cast<int16_t>(colour));
    cells->SetCaption(point, (s.BoardMode == FreeUnnumberedMode || number < 1) ? Str(u" ") : Num(number));
  }
  s.LastColour = static_cast<int16_t>(colour);
  if (s.LastPoint > 0 && cells) cells->SetCaption(s.LastPoint, u" ");
  s.LastPoint = static_cast<int16_t>(point);
  RemoveCaptured(s, point, number);
}

void RemoveCaptured(GameState& s, int point, int number) {
  const int own = s.Board[point];
  const int opp = own == Black ? White : Black;

  ScanNeighbours(s, point);
  for (int i = 1; i <= 4; ++i) {
    const NeighbourEntry& n = s.Neighbours[i];
    s.OpponentNeighbours[i] = (n.Point > 0 && n.Colour == opp) ? n.Point : 0;
  }
  s.CaptureMark.fill(0);

  std::array<int16_t, PointCount + 1> visited;
  for (int i = 1; i <= 4; ++i) {
    const int q = s.OpponentNeighbours[i];
    if (q == 0 || s.CaptureMark[q] == 1) continue;

    visited.fill(0);
    s.GroupList.fill(0);
    s.GroupList[1] = static_cast<int16_t>(q);
    visited[q] = 1;
    int listed = 1;
    bool liberty = false;
    // Breadth-first over the group, stopping at its first liberty.
    for (int k = 1; k <= listed && !liberty; ++k) {
      const int stone = s.GroupList[k];
      ScanNeighbours(s, stone);
      for (int j = 1; j <= 4; ++j) {
        const NeighbourEntry& n = s.Neighbours[j];
        if (n.Colour == Empty) {
          liberty = true;
          break;
        }
        if (n.Point > 0 && visited[n.Point] == 0 && n.Colour == opp) {
          ++listed;
          s.GroupList[listed] = n.Point;
          visited[n.Point] = 1;
        }
      }
    }
    if (!liberty)
      for (int p = 1; p <= PointCount; ++p)
        if (visited[p]) s.CaptureMark[p] = 1;
  }

  int removed = 0;
  BoardCells* cells = s.Display.Cells;
  for (int p = 1; p <= PointCount; ++p) {
    if (s.CaptureMark[p] != 1) continue;
    ++removed;
    if (cells) {
      cells->SetPicture(p, PictureNone);
      cells->SetCaption(p, u" ");
    }
    s.Board[p] = 0;
    // Past the log's capacity the stones still come off and count; only
    // their take-back record is lost.
    if (s.CaptureLogCount < CaptureLogSize) {
      ++s.CaptureLogCount;
      s.CaptureLog[s.CaptureLogCount] = {s.MoveCount, static_cast<int16_t>(number), static_cast<int16_t>(opp),
                                         static_cast<int16_t>(p)};
    }
  }
  if (opp == Black)
    s.CapturedBlack = static_cast<int16_t>(s.CapturedBlack + removed);
  else
    s.CapturedWhite = static_cast<int16_t>(s.CapturedWhite + removed);
  ShowPrisoners(s);
}

}  // namespace sol

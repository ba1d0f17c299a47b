#include "core/replay.h"

#include "core/capture.h"
#include "core/messages.h"

namespace sol {

namespace {

void ClearVariables(GameState& s) {
  s.MoveNumber = 0;
  s.MoveCount = 0;
  s.LastColour = 0;
  s.LastPoint = 0;
  s.CaptureLogCount = 0;
}

void ClearDisplay(GameState& s) {
  BoardCells* cells = s.Display.Cells;
  for (int p = 1; p <= PointCount; ++p) {
    s.Board[p] = 0;
    if (cells) {
      cells->SetPicture(p, PictureNone);
      cells->SetCaption(p, u" ");
    }
    s.CaptureMark[p] = 0;
  }
  s.CaptureLog.fill(CaptureEntry{});
  s.CapturedBlack = 0;
  s.CapturedWhite = 0;
  ShowPrisoners(s);
}

}  // namespace

Str ReplayStatus(const GameState& s) { return s.MoveList[1].Colour == 0 ? msg::NoMoves : msg::TwoBlanks; }

int MoveListLength(const GameState& s) {
  int n = 0;
  while (n < MaxMoves && s.MoveList[n + 1].Colour != 0) ++n;
  return n;
}

void ClearBoard(GameState& s) {
  ClearVariables(s);
  ClearDisplay(s);
}

void ResetGame(GameState& s) {
  ClearVariables(s);
  s.VariationStudy = 0;
  s.MoveList.fill(MoveEntry{});
  ClearDisplay(s);
  if (s.Display.Option1) s.Display.Option1->SetValue(true);
  s.BoardMode = GameMode;
}

void ReplayMoves(GameState& s, int n) {
  ClearBoard(s);
  if (s.MoveList[1].Colour == 0) return;
  int placed = 0;
  for (int a = 1; a <= n && a <= MaxMoves; ++a) {
    s.MoveCount = static_cast<int16_t>(a);
    const MoveEntry& e = s.MoveList[a];
    if (e.Colour == 0) break;
    // Entries read from a damaged file may hold nonsense; skip what cannot be a stone.
    if (e.Point < 1 || e.Point > PointCount || (e.Colour != Black && e.Colour != White)) {
      placed = a;
      continue;
    }
    s.Board[e.Point] = e.Colour;
    PlaceStone(s, e.Point, e.Colour, e.Number);
    placed = a;
  }
  s.MoveCount = static_cast<int16_t>(placed);
  s.MoveNumber = placed > 0 ? s.MoveList[placed].Number : 0;
}

}  // namespace sol

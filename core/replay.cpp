#include "core/replay.h"

#include "core/capture.h"
#include "core/messages.h"

namespace sol {

int MoveListLength(const GameState& s) {
  int n = 0;
  while (n < MaxMoves && s.MoveList[n + 1].Colour != 0) ++n;
  return n;
}

Str ReplayStatus(const GameState& s) { return s.MoveList[1].Colour == 0 ? msg::NoMoves : msg::TwoBlanks; }

void ClearBoard(GameState& s) {
  s.MoveNumber = 0;
  s.MoveCount = 0;
  s.LastColour = 0;
  s.LastPoint = 0;
  s.CaptureLogCount = 0;
  s.Board.fill(0);
  s.CaptureLog.fill(CaptureEntry{});
  s.CapturedBlack = 0;
  s.CapturedWhite = 0;
}

void ResetGame(GameState& s) {
  ClearBoard(s);
  s.VariationStudy = 0;
  s.MoveList.fill(MoveEntry{});
  s.BoardMode = GameMode;
}

Replayed ReplayMoves(GameState& s, int n) {
  ClearBoard(s);
  Replayed shown{msg::TwoBlanks};
  if (s.MoveList[1].Colour == 0) {
    shown.Status = msg::NoMoves;
    return shown;
  }
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
    const Placement p = PlaceStone(s, e.Point, e.Colour, e.Number);
    // A damaged list may put a stone on the newest stone's own point; the
    // number the newest stone had is then cleared along with it.
    shown.NewestCaption = p.PreviousNewest == e.Point ? Str(u" ") : StoneCaption(s, e.Number);
    placed = a;
  }
  s.MoveCount = static_cast<int16_t>(placed);
  s.MoveNumber = placed > 0 ? s.MoveList[placed].Number : 0;
  return shown;
}

}  // namespace sol

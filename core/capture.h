// The capture rule on a board value, and putting a stone on the main game's
// board. The only rule before a placement is that the point is empty, which
// the callers test: there is no ko and no suicide rule, and the mover's own
// group is never examined. Nothing here draws; the windows show what the
// results say changed.
#pragma once

#include "core/game_state.h"

namespace sol {

// The stones one placement took off, in ascending point order.
struct Capture {
  int16_t Colour = 0;  // the colour taken off
  int16_t Count = 0;
  std::array<int16_t, PointCount> Points{};
};

// Takes off every group of colour `opp` next to `point` that has no liberty.
// Groups are followed over the whole board, but only points 1..`removable`
// are ever taken off or marked: a board that shows the left columns only
// leaves the stones beyond them on the board.
Capture TakeOffDeadGroups(BoardPoints& board, int point, int opp, int removable = PointCount);

// Whether the group of the stone at `point` has a liberty; the rule above
// never asks, an importer checking a line for suicide does.
bool HasLiberty(const BoardPoints& board, int point);

// What a placement on the main board changed besides its own point.
struct Placement {
  int16_t PreviousNewest = 0;  // the stone that no longer shows its number; 0 = none
  Capture Captured;
};

// Puts the stone that the caller already stored in Board at `point` on the
// game: it becomes the newest stone, the opponent groups left without a
// liberty come off, and each taken stone is logged under the current
// MoveCount with `number` and counted as a prisoner.
Placement PlaceStone(GameState& s, int point, int colour, int number);

// What a cell of the main board shows for a stone numbered `number`: none
// when < 1 or in the unnumbered free mode.
Str StoneCaption(const GameState& s, int number);

// Numbers are shown in white on black stones and in black on white ones.
inline uint32_t NumberColourOn(int colour) { return colour == Black ? ColourWhite : ColourBlack; }

}  // namespace sol

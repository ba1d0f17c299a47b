// Putting a stone on the main board and the capture rule. The only rule
// before a placement is that the point is empty, which the callers test:
// there is no ko and no suicide rule, and the mover's own group is never
// examined.
#pragma once

#include "core/game_state.h"

namespace sol {

// Fills s.Neighbours(1..4) for the points above, below, left and right of
// `point`: {3, 0} off the board, else {|Board|, point}.
void ScanNeighbours(GameState& s, int point);

// Draws the stone that the caller already stored in Board at `point`, shows
// `number` on it (none when < 1 or in the unnumbered free mode), clears the
// number of the previous newest stone and removes the opponent groups left
// without a liberty.
void PlaceStone(GameState& s, int point, int colour, int number);

// Takes off every opponent group around `point` that has no liberty, logs
// each stone under the current MoveCount and counts the prisoners.
void RemoveCaptured(GameState& s, int point, int number);

// Shows the prisoner counts in their labels.
void ShowPrisoners(GameState& s);

// Numbers are shown in white on black stones and in black on white ones.
inline uint32_t NumberColourOn(int colour) { return colour == Black ? ColourWhite : ColourBlack; }

}  // namespace sol

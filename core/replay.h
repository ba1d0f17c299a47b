// Bringing the main board to a known position.
#pragma once

#include "core/game_state.h"

namespace sol {

// Empties the board and its display; keeps MoveList, BoardMode and VariationStudy.
void ClearBoard(GameState& s);
// ClearBoard plus an empty MoveList, no study and the game mode.
void ResetGame(GameState& s);
// Rebuilds the position after the first n entries of MoveList.
void ReplayMoves(GameState& s, int n);
// Entries before the first empty one.
int MoveListLength(const GameState& s);

}  // namespace sol

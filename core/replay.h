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
// What the main board's status bar says once the board has been cleared
// (msg::TwoBlanks) or replayed: msg::NoMoves when MoveList is empty.
Str ReplayStatus(const GameState& s);
// Entries before the first empty one.
int MoveListLength(const GameState& s);

}  // namespace sol

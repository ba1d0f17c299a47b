// Bringing the main game's board to a known position. Nothing here draws:
// the main board window shows the position the state then holds.
#pragma once

#include "core/game_state.h"

namespace sol {

// Empties the board, the prisoner counts and the capture log; keeps
// MoveList, BoardMode and VariationStudy.
void ClearBoard(GameState& s);
// ClearBoard plus an empty MoveList, no study and the game mode.
void ResetGame(GameState& s);

// What the main board shows after a replay besides the stones and counts.
struct Replayed {
  Str Status;
  // The caption of the newest stone (LastPoint); every other cell shows none.
  Str NewestCaption = u" ";
};

// Rebuilds the position after the first n entries of MoveList.
Replayed ReplayMoves(GameState& s, int n);
// What the main board's status bar says once the board has been cleared
// (msg::TwoBlanks) or replayed: msg::NoMoves when MoveList is empty.
Str ReplayStatus(const GameState& s);
// Entries before the first empty one.
int MoveListLength(const GameState& s);

}  // namespace sol

#pragma once

// One game of an SGF collection as the program stores a game: the set-up
// stones of the root, then the main line's moves (the first child at every
// node), on the program's 19-line board and with its capture rule. What the
// program cannot hold is dropped with a note; what would make a wrong game is
// refused.

#include <optional>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/text.h"
#include "sgf/sgf_tree.h"
#include "ui/platform.h"

namespace sol::sgf {

// The game information of the root, as one-line text ("" when absent).
struct GameInfo {
  Str Name;       // GN
  Str Black;      // PB
  Str White;      // PW
  Str BlackRank;  // BR
  Str WhiteRank;  // WR
  Str Date;       // DT, as written
  Str Result;     // RE
  Str Komi;       // KM
  Str Handicap;   // HA; the stones themselves come from AB
  Str Event;      // EV
  Str Place;      // PC
};

struct ImportedGame {
  // Set-up stones (Number 0) in the order given, then moves numbered 1, 2, 3 …;
  // at most MaxMoves of them.
  std::vector<MoveEntry> Entries;
  // How many entries the game has in all; above MaxMoves only the first
  // MaxMoves are in Entries.
  int TotalEntries = 0;
  bool OverLimit = false;
  GameInfo Info;
  // Short lines on what was dropped and why, for one box.
  std::vector<Str> Notes;
};

// Throws SgfError when the game is not Go, not on 19 lines, or has a move the
// board cannot take (off the board, or on a stone); the message gives the
// move number.
ImportedGame ConvertGame(const GameTree& tree);

// The point of an SGF point value ("aa" is 1, "ab" is 2, "ba" is 20); 0 for a
// pass ("" or "tt"); nullopt for anything off the 19-line board.
std::optional<int> PointFromSgf(std::string_view value);

// The points of one value of a point list: a point, or a rectangle "aa:cc"
// given by two corners. SgfError when a corner is off the board.
std::vector<int> ListPoints(const std::string& value);

// Whether a property places or removes set-up stones (AB, AW, AE).
inline bool IsSetup(const Property& p) { return p.Id == "AB" || p.Id == "AW" || p.Id == "AE"; }

// SgfError when the game is not Go (GM) or not on 19 lines (SZ).
void CheckGoOn19(const GameTree& g);

// GN when it is not blank, else "PB と PW", or the one of them there is.
Str GameTitle(const GameInfo& info);

// The first date in a DT value: "1846-09-11", "1846-09", "1846",
// "1846-09-11,12", "1846/9/11", "1846年9月11日" …; a missing month or day
// is 1. nullopt when the text holds no year.
std::optional<Date> GameDate(const Str& dt);

}  // namespace sol::sgf

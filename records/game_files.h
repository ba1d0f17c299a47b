// The game record files: the list file (one title record per game) and the
// moves file (the moves of every game, interleaved), and the operations
// through which the windows store and read games.
//
// Each operation opens what it needs, works and closes it before it
// returns.
//
// Every change of a file is a whole-file replacement through the scratch
// file, so an interrupted or failed operation leaves each file wholly as it
// was before or wholly as it is after; a scratch file left over from an
// earlier run is emptied before use and never becomes part of the data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/game_list.h"
#include "core/game_state.h"
#include "core/record_layout.h"

namespace sol {

// One record of 棋譜手順.dat and of the scratch file.
struct GameMoveRecord {
  static constexpr int Length = 8;

  int16_t GameNumber = 0;
  int16_t Number = 0;
  int16_t Colour = 0;  // 0 marks the end of the used part
  int16_t Point = 0;

  // `bytes` must hold Length bytes.
  static GameMoveRecord Decode(std::string_view bytes);
  std::string Encode() const;
  bool operator==(const GameMoveRecord&) const = default;
};

inline constexpr RecordLayout<GameMoveRecord, 4> GameMoveLayout{
    {Int16Field(&GameMoveRecord::GameNumber), Int16Field(&GameMoveRecord::Number), Int16Field(&GameMoveRecord::Colour),
     Int16Field(&GameMoveRecord::Point)}};
static_assert(LayoutLength(GameMoveLayout) == GameMoveRecordLength);

constexpr int MaxGameNumber = 60;
// Games 1..60 lie in list records 11..70.
constexpr int GameListRecordOffset = 10;
// Characters 3..38 of a list line are its stored title.
constexpr int TitleChars = 36;

// The game number a list line starts with: the leading number of its first
// two characters (0 when there is none).
int LineGameNumber(const Str& line);
// The list line of a stored record: the number as two digits, then the title.
Str ListLine(const GameListRecord& r);
// The list line that `line` reads back as once WriteGameListEntry has stored
// it (mode 1): what the window lists after it is opened again.
Str StoredListLine(const Str& line);

// The operations below throw FileError; a changing one that fails sets
// GameMovesRecordCount from what the moves file then holds.

// Sets GameMovesRecordCount from what the moves file holds, as at the start;
// a missing file is created empty.
void CountStoredMoves(GameState& s);
// Removes every move record of game n, keeping the others in their order,
// and sets GameMovesRecordCount to the number kept.
void DeleteGameMoves(GameState& s, int n);
// Writes MoveList entries 1..MoveCount as moves of game n after the used
// part and adds MoveCount to GameMovesRecordCount.
void AppendGameMoves(GameState& s, int n);
// As AppendGameMoves, with these entries in place of the board's.
void AppendGameEntries(GameState& s, int n, std::span<const MoveEntry> entries);
// DeleteGameMoves then AppendGameMoves in one replacement of the file, so
// that a failure never leaves the game with its old moves gone and its new
// ones missing.
void ReplaceGameMoves(GameState& s, int n);
// Mode 1 stores the title record of the game whose number the line starts
// with; any other mode clears it. A line without a game number is a
// FileError.
void WriteGameListEntry(GameState& s, const Str& line, int mode);

enum class ReadUntil {
  EndOfFile,  // the library window's read
  EndMark,    // the restore of an adjourned game also stops at a record of colour 0
};
// Fills MoveList from entry 1 with the moves of game n and returns how many
// there are; nullopt, leaving MoveList untouched, when the game has more
// moves than MoveList holds.
std::optional<int> ReadGameMoves(GameState& s, int n, ReadUntil until);

// The entries of game n, as ReadGameMoves reads them, leaving MoveList alone.
std::optional<std::vector<MoveEntry>> ReadGameEntries(const GameState& s, int n, ReadUntil until);

// The list lines of the stored games, in record order.
std::vector<Str> ListGames(GameState& s);

}  // namespace sol

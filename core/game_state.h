// The one shared game state of the process. Every window holds it by
// reference and reads and changes it in place.
//
// Points are 1..361 = 19 * (column - 1) + row, columns from the left and rows
// from the top; arrays indexed by point or by a 1-based list position keep an
// unused element 0 so the indexes read as the game's own numbers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/settings.h"
#include "ui/board_cells.h"
#include "ui/controls.h"

namespace sol {

constexpr int BoardSize = 19;
constexpr int PointCount = 361;
constexpr int MaxMoves = 400;
// A line of play can never hold more captured stones than stones placed, and
// the problem board logs its captures here too; this is comfortably above both.
constexpr int CaptureLogSize = 1024;

enum Colour : int16_t { Empty = 0, Black = 1, White = 2, Edge = 3 };

inline int16_t Opponent(int16_t colour) { return static_cast<int16_t>(colour == Black ? White : Black); }

enum BoardModes : int16_t { GameMode = 1, FreeNumberedMode = 2, FreeUnnumberedMode = 3, EndMode = 4 };

struct MoveEntry {
  int16_t Number = 0;
  int16_t Colour = 0;  // 0 ends the list
  int16_t Point = 0;
  bool operator==(const MoveEntry&) const = default;
};

struct CaptureEntry {
  int16_t AtMove = 0;  // 0 = free entry
  int16_t Number = 0;
  int16_t Colour = 0;
  int16_t Point = 0;
};

using MoveArray = std::array<MoveEntry, MaxMoves + 1>;
// A stone colour per point; element 0 is unused.
using BoardPoints = std::array<int16_t, PointCount + 1>;

// Last used record of a problem category's block in each problem file.
struct BlockEnds {
  int16_t ListEnd = 0;
  int16_t MovesEnd = 0;
  int16_t AnswersEnd = 0;
  int16_t CommentsEnd = 0;
};

struct GameState {
  BoardPoints Board{};
  MoveArray MoveList{};
  int16_t MoveCount = 0;
  int16_t MoveNumber = 0;
  int16_t LastColour = 0;
  int16_t LastPoint = 0;
  int16_t CapturedBlack = 0;
  int16_t CapturedWhite = 0;
  std::array<CaptureEntry, CaptureLogSize + 1> CaptureLog{};
  int16_t CaptureLogCount = 0;
  int16_t BoardMode = 0;
  int16_t VariationStudy = 0;
  // The problem window's mode (1..8) and category (1 手筋, 2 ヨセ, 3 詰碁, 4 定石).
  int16_t LessonMode = 0;
  int16_t CategoryNo = 0;
  // Indexed by category 1..4.
  std::array<BlockEnds, 5> BlockEnd{};

  // Title of the game last read from the library (its list line).
  Str GameTitle;
  // List position of the game last read, so that the library window
  // reopens with it selected.
  int16_t LastReadIndex = 0;
  // Used records of the game moves file, kept between commands.
  int16_t GameMovesRecordCount = 0;

  // The data folder with a trailing separator, and the data files in it.
  std::string DataDir;
  // The folder of the files the program ships (help file, cue sounds,
  // starter problems) with a trailing separator; DataDir unless set apart.
  std::string ShareDir;
  std::string GameListFile;
  std::string GameMovesFile;
  std::string TempFile;
  std::string ProblemListFile;
  std::string ProblemMovesFile;
  std::string AnswerMovesFile;
  std::string CommentFile;

  // solneka.ini in DataDir, read when the program starts.
  Settings Preferences;
};

// File names of the data files.
inline constexpr const char* GameListFileName = "棋譜一覧.dat";
inline constexpr const char* GameMovesFileName = "棋譜手順.dat";
inline constexpr const char* TempFileName = "仮ファイル.dat";
inline constexpr const char* ProblemListFileName = "問題リスト.dat";
inline constexpr const char* ProblemMovesFileName = "問題手順.dat";
inline constexpr const char* AnswerMovesFileName = "解答手順.dat";
inline constexpr const char* CommentFileName = "コメント.dat";

constexpr int GameListRecordLength = 122;
constexpr int GameMoveRecordLength = 8;
constexpr int ProblemListRecordLength = 42;
constexpr int ProblemMoveRecordLength = 6;
constexpr int AnswerMoveRecordLength = 12;
constexpr int CommentRecordLength = 50;

// The directory as the system reports it, with one separator appended unless
// it already ends in one.
std::string MakeDataDir(const std::string& programDir);
// DataDir for the data files in `dir`, and the path of each of them; set
// once, before any window loads. The shipped files are then looked for in
// the same folder.
void SetDataDir(GameState& s, const std::string& dir);
// The folder of the shipped files, where an installed program keeps them
// apart from the data; set after SetDataDir.
void SetShareDir(GameState& s, const std::string& dir);

// A field of an entry by name, as decimal text, for inspection by tests.
std::optional<std::string> MoveEntryField(const MoveEntry& e, const std::string& field);

// Neighbour order is fixed: above, below, left, right; 0 = off the board.
int NeighbourPoint(int point, int direction);

}  // namespace sol

// The four problem files: record layouts, the category blocks and the
// operations every problem command reads and writes them through.
//
// Each file is cut into four blocks, one per category. The used records of a
// block run from its first record up to (not including) the first record
// whose problem number is 0, and never past the block's last record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/game_state.h"

namespace sol {

enum class ProblemFile { List, Moves, Answers, Comments };

struct ProblemListRecord {
  static constexpr int Length = ProblemListRecordLength;
  int16_t ProblemNumber = 0;
  Str ProblemText;  // 40 bytes on disk, blanks included when read
  static ProblemListRecord Decode(std::string_view bytes);
  std::string Encode() const;
};

struct ProblemMoveRecord {
  static constexpr int Length = ProblemMoveRecordLength;
  int16_t ProblemNumber = 0;
  int16_t Colour = 0;
  int16_t Point = 0;
  static ProblemMoveRecord Decode(std::string_view bytes);
  std::string Encode() const;
};

struct AnswerMoveRecord {
  static constexpr int Length = AnswerMoveRecordLength;
  int16_t ProblemNumber = 0;
  int16_t MoveIndex = 0;
  int16_t SignedColour = 0;
  int16_t Point = 0;
  int16_t RecordNumber = 0;
  int16_t BranchLink = 0;  // 99 = starts at the problem position
  static AnswerMoveRecord Decode(std::string_view bytes);
  std::string Encode() const;
};

struct CommentRecord {
  static constexpr int Length = CommentRecordLength;
  int16_t ProblemNumber = 0;
  int16_t AnswerRecord = 0;
  Str CommentText;  // 46 bytes on disk
  static CommentRecord Decode(std::string_view bytes);
  std::string Encode() const;
};

constexpr int16_t StartsAtProblem = 99;

// Block geometry: first and last record of category 1..4 in a file.
int BlockFirst(ProblemFile f, int category);
int BlockLast(ProblemFile f, int category);
const std::string& ProblemFilePath(const GameState& s, ProblemFile f);
int RecordLength(ProblemFile f);

// A used record of a block with its record number.
template <typename R>
struct Numbered {
  int record = 0;
  R value;
};

// The used records of the category's block, in record order. FileError on
// a file error.
std::vector<Numbered<ProblemListRecord>> ScanProblemList(const GameState& s, int category);
std::vector<Numbered<ProblemMoveRecord>> ScanProblemMoves(const GameState& s, int category);
std::vector<Numbered<AnswerMoveRecord>> ScanAnswers(const GameState& s, int category);
std::vector<Numbered<CommentRecord>> ScanComments(const GameState& s, int category);

// Sets s.BlockEnd[category] from the four files.
void FindBlockEnds(GameState& s, int category);

}  // namespace sol

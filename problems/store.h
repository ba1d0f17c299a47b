// The four problem files: record layouts, the category blocks and the
// operations every problem command reads and writes them through.
//
// Each file is cut into four blocks, one per category. The used records of a
// block run from its first record up to (not including) the first record
// whose problem number is 0, and never past the block's last record.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game_state.h"
#include "core/record_layout.h"

namespace sol {

enum class ProblemFile { List, Moves, Answers, Comments };

struct ProblemListRecord {
  static constexpr int Length = ProblemListRecordLength;
  static constexpr int TextWidth = 40;   // bytes of ProblemText
  static constexpr int TitleChars = 30;  // what a list line after its number gives it
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
  static constexpr int TextWidth = 46;  // bytes of CommentText
  int16_t ProblemNumber = 0;
  int16_t AnswerRecord = 0;
  Str CommentText;  // 46 bytes on disk
  static CommentRecord Decode(std::string_view bytes);
  std::string Encode() const;
};

inline constexpr RecordLayout<ProblemListRecord, 2> ProblemListLayout{
    {Int16Field(&ProblemListRecord::ProblemNumber),
     TextField(&ProblemListRecord::ProblemText, ProblemListRecord::TextWidth)}};
inline constexpr RecordLayout<ProblemMoveRecord, 3> ProblemMoveLayout{{Int16Field(&ProblemMoveRecord::ProblemNumber),
                                                                       Int16Field(&ProblemMoveRecord::Colour),
                                                                       Int16Field(&ProblemMoveRecord::Point)}};
inline constexpr RecordLayout<AnswerMoveRecord, 6> AnswerMoveLayout{
    {Int16Field(&AnswerMoveRecord::ProblemNumber), Int16Field(&AnswerMoveRecord::MoveIndex),
     Int16Field(&AnswerMoveRecord::SignedColour), Int16Field(&AnswerMoveRecord::Point),
     Int16Field(&AnswerMoveRecord::RecordNumber), Int16Field(&AnswerMoveRecord::BranchLink)}};
inline constexpr RecordLayout<CommentRecord, 3> CommentLayout{
    {Int16Field(&CommentRecord::ProblemNumber), Int16Field(&CommentRecord::AnswerRecord),
     TextField(&CommentRecord::CommentText, CommentRecord::TextWidth)}};

constexpr int16_t StartsAtProblem = 99;

// Record 99 of an answer block holds no move: a branch after it would carry 99
// in BranchLink, which reads as starting at the problem position. Once a block
// reaches that record the writers keep this record there instead, under a
// problem number no problem has; readers that select a problem never see it.
// Only the first category's block contains record 99.
constexpr int16_t ReservedAnswerProblem = -1;
// The reserved record of the category's answer block; 0 when it has none.
int ReservedAnswerRecord(int category);

// Block geometry: first and last record of category 1..4 in a file.
int BlockFirst(ProblemFile f, int category);
int BlockLast(ProblemFile f, int category);
// Whether a block whose used part ends at record `end` has no more than
// `room` records left; false for a category outside 1..4.
bool BlockFull(ProblemFile f, int category, int end, int room = 0);
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
// Only the answer records of one problem.
std::vector<Numbered<AnswerMoveRecord>> ScanAnswers(const GameState& s, int category, int problem);
std::vector<Numbered<CommentRecord>> ScanComments(const GameState& s, int category);
// Only the comments of one problem.
std::vector<Numbered<CommentRecord>> ScanComments(const GameState& s, int category, int problem);
// The used records of the category's problem list block handed to `visit`
// one at a time, in record order, so that a list of 31,000 problems is never
// held twice. The block is read whole first: a FileError comes before any
// visit.
void ForEachProblemListRecord(const GameState& s, int category,
                              const std::function<void(const ProblemListRecord&)>& visit);

// Sets s.BlockEnd[category] from the four files.
void FindBlockEnds(GameState& s, int category);

// ---------------------------------------------------------------------------
// The writers below change a file only through ReplaceFile: the new content is
// built in memory and renamed over the data file, so after a failure or a
// crash each file is wholly old or wholly new. An operation that touches
// several files replaces them one after another; a failure between two of them
// leaves the earlier ones new and the later ones old. Bytes outside the
// category's block are carried over unchanged. Every file error is a
// FileError; on one, s.BlockEnd keeps its old value for that file.
//
// A category outside 1..4 is a FileError (BlockFirst and BlockLast throw
// std::out_of_range).

int16_t& BlockEndOf(BlockEnds& ends, ProblemFile f);
int16_t BlockEndOf(const BlockEnds& ends, ProblemFile f);

// The last used record of the category's block in one file; BlockFirst - 1
// when the block is empty.
int FindBlockEnd(const GameState& s, ProblemFile f, int category);

// Room left in a block as the capacity report counts it: up to the block's
// last record in categories 1..3, up to record 32766 in category 4.
int ReportedRoom(ProblemFile f, int category, int blockEnd);

// The record that ends the used part of a block: all zero bytes.
std::string EndMarker(ProblemFile f);

// Appends records (each RecordLength(f) bytes) right after the used part of
// the block as found in the file, which is s.BlockEnd when that is in step,
// then the end marker when it still lies inside the block, and advances
// s.BlockEnd. Returns false, writing nothing, when the records do not all fit
// inside the block. A record with problem number 0 would end the block early
// and is a FileError.
[[nodiscard]] bool AppendRecords(GameState& s, ProblemFile f, int category, const std::vector<std::string>& records);
[[nodiscard]] bool AppendProblemMoves(GameState& s, int category, const std::vector<ProblemMoveRecord>& records);
// Sets each record's RecordNumber to the record it is written to; the
// reserved record is written in its place when the records reach it.
[[nodiscard]] bool AppendAnswers(GameState& s, int category, std::vector<AnswerMoveRecord>& records);
[[nodiscard]] bool AppendComment(GameState& s, int category, const CommentRecord& record);

// Called once per used record of the block, in record order, with its record
// number and bytes; returns false to leave the record out and may change the
// bytes of a record it keeps.
using RecordEdit = std::function<bool(int record, std::string& bytes)>;

// The block becomes the kept records, packed from its first record, followed
// by the end marker when it lies inside the block; records past the marker
// are left as they were and never read. Record numbers inside
// answer records are not touched; removing answer records goes through
// RemoveAnswers.
void RewriteBlock(GameState& s, ProblemFile f, int category, const RecordEdit& edit);

// The block becomes exactly `records`, as RewriteBlock would write them.
// Returns false, writing nothing, when they do not fit.
[[nodiscard]] bool ReplaceBlock(GameState& s, ProblemFile f, int category, const std::vector<std::string>& records);

// The problem list block written whole, in ascending ProblemNumber order (a
// stable sort, so records of one number keep their order). Returns false,
// writing nothing, when there are more records than the block holds; a record
// with problem number 0 is a FileError.
[[nodiscard]] bool RewriteProblemList(GameState& s, int category, const std::vector<ProblemListRecord>& records);
// A problem as the window's list shows it: its number, and the title its
// line gives it (a view into the line).
struct ListedProblem {
  int16_t number = 0;
  std::u16string_view title;
};
// The same with `count` problems that `line` gives one at a time (index
// from 0), so that the window's list of 31,000 titles is not copied first.
[[nodiscard]] bool RewriteProblemList(GameState& s, int category, size_t count,
                                      const std::function<ListedProblem(size_t)>& line);

// The number a record numbered `old` gets once the records in `removed`
// (ascending, no duplicates) have been taken out of its block: old minus the
// removed records numbered below it.
int TranslateRecordNumber(int old, const std::vector<int>& removed);

// How the record numbers of an answer block changed: TranslateRecordNumber
// over `removed`, then one up from the reserved record on, where it was put
// back. Neither changes a number when nothing moved.
struct AnswerRenumbering {
  std::vector<int> removed;  // ascending; a reserved record written before is among them
  int reserved = 0;
  int operator()(int old) const;
  // The second step alone: the number of a record that TranslateRecordNumber
  // has given `lowered`.
  int AroundReserved(int lowered) const;
};

// Takes the answer records with the given record numbers out of the
// category's answer block. The records that stay are packed down, with the
// reserved record kept in its place; each gets its new record number in
// RecordNumber, and every BranchLink other than 0 and 99 is translated the
// same way, so that none comes out as 99. Then the comment block: a comment
// attached to a removed record of its own problem is dropped, and every other
// comment's AnswerRecord is translated. Numbers that name no used record of
// the block are ignored.
AnswerRenumbering RemoveAnswers(GameState& s, int category, const std::vector<int>& records);

// Files written before record 99 was kept free may hold a move there. This
// moves that record and every record after it up by one and puts the
// reserved record in its place, renumbering as RemoveAnswers does, so that a
// branch can follow the move. Changes nothing when the block holds no move at
// its reserved record or has no room for one more record.
AnswerRenumbering FreeReservedAnswerRecord(GameState& s, int category);

// `records` together with every sequence of the same problem whose head's
// BranchLink names a record of the result, found again and again until
// nothing is added; ascending, no duplicates. `block` is the used part of an
// answer block (ScanAnswers). Such a sequence would otherwise be left
// hanging from a move that no longer exists.
std::vector<int> WithDependentSequences(const std::vector<Numbered<AnswerMoveRecord>>& block,
                                        const std::vector<int>& records);

struct CommentRef {
  int16_t ProblemNumber = 0;
  int16_t AnswerRecord = 0;
  bool operator==(const CommentRef&) const = default;
};

// Drops the comments of the category's block that match one of `comments`
// (problem number and answer record) and packs the rest down.
void RemoveComments(GameState& s, int category, const std::vector<CommentRef>& comments);

// Removes every record of the problem from the category's blocks of the four
// files, in the order list, set-up, answers, comments. The answer and comment
// blocks are renumbered as by RemoveAnswers.
void DeleteProblemRecords(GameState& s, int category, int16_t problem);

// Problem number `from` becomes `to` in one block; in the list block the
// records are then put back in ascending order.
void RenumberInBlock(GameState& s, ProblemFile f, int category, int16_t from, int16_t to);

// RenumberInBlock in the four files, in the order list, set-up, answers,
// comments. Returns false, writing nothing, when `to` is below 1 or already
// has a list record in the category.
[[nodiscard]] bool RenumberProblemRecords(GameState& s, int category, int16_t from, int16_t to);

}  // namespace sol

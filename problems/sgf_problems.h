// A problem of an SGF collection as the lecture stores one, and back: the
// root's set-up, the answer tree cut into sequences that the lecture can
// offer, each line correct or wrong by the marks the file uses, the colours
// and the board's orientation fitted to the category and the 13-column
// problem board. The file is untrusted: every limit of the stores and the
// lecture is checked, and a problem that breaks one is refused whole.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/text.h"
#include "problems/store.h"
#include "sgf/sgf_tree.h"

namespace sol {

struct ImportedStone {
  int Colour = 0;
  int Point = 0;
};

struct ImportedMove {
  int Colour = 0;
  int Point = 0;
  int MoveIndex = 0;  // the move's number counted from the problem position
};

struct ImportedSequence {
  std::vector<ImportedMove> Moves;
  bool Wrong = false;  // the sequence starts a wrong line (its first record is negated)
  int Parent = -1;     // the sequence whose last move it follows; -1 = the problem position
  Str Comment;         // as stored: one line, at most CommentRecord::TextWidth bytes
};

struct ImportedProblem {
  Str Title;  // as stored in the list
  std::vector<ImportedStone> Setup;
  // Parents before their branches; the branches of one move in file order.
  std::vector<ImportedSequence> Sequences;
  int Symmetry = 0;  // 0 = as in the file, 1..7 the other turns and mirrors
  bool ColoursSwapped = false;
  std::vector<Str> Notes;  // what was changed on the way, for the summary
};

struct ProblemImport {
  std::optional<ImportedProblem> Problem;
  Str Refusal;  // why there is no problem, for the summary
};

// Limits of what one problem may hold.
constexpr int MaxSetupStones = 50;
constexpr int MaxSequenceMoves = 50;

// Converts one game of a collection into a problem of `category` (1..4).
// `fallbackTitle` is used when the file gives neither GN nor a root comment.
ProblemImport ImportProblem(const sgf::GameTree& tree, int category, const Str& fallbackTitle);

struct ProblemRecords {
  std::vector<ProblemMoveRecord> Setup;
  std::vector<AnswerMoveRecord> Answers;
  std::vector<CommentRecord> Comments;
};

// The records of `problem` stored as problem `number`, its answers numbered
// from `firstRecordNumber` on (record 99 is left out: a link to it would read
// as "starts at the problem position"), each comment on its sequence's head.
ProblemRecords ToAnswerRecords(const ImportedProblem& problem, int number, int firstRecordNumber);

struct ExportedProblem {
  std::string Sgf;           // one game tree, UTF-8
  int DroppedSequences = 0;  // sequences whose branch link leads to no move of the problem
};

// A stored problem as SGF: set-up, side to play, the 13-column view, the
// answer tree with every correct leaf marked 正解 and RIGHT and every wrong
// line marked BM on its first move and 失敗 at its leaves, and the sequence
// comments. `answers` are the problem's records in record order.
ExportedProblem ExportProblem(const Str& title, std::span<const ProblemMoveRecord> setup,
                              std::span<const AnswerMoveRecord> answers, std::span<const CommentRecord> comments);

}  // namespace sol

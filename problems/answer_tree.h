// The registered answer of one problem as a value: its lines in file order,
// indexed by record number and by branch link, and the walks the lecture,
// the registration and the data check make over it.
//
// A line index outside the tree reads as a line of zeros, so a walk that
// steps past either end sees "no move, continues the line above" and stops
// where the lists it replaces stopped.
#pragma once

#include <unordered_map>
#include <vector>

namespace sol {

struct AnswerLine {
  int Problem = 0;
  int MoveIndex = 0;
  int SignedColour = 0;  // negative on the first move of a wrong sequence
  int Point = 0;
  int Record = 0;
  int Link = 0;  // 0 = continues the line above; StartsAtProblem; else the parent record
  bool operator==(const AnswerLine&) const = default;
};

struct Continuation {
  bool Continues = false;     // the lecture can go on from the line
  bool EndsSequence = false;  // the line is the last of its sequence
};

struct AnswerCheck {
  std::vector<int> BadSequences;  // record numbers of heads that lead nowhere
  std::vector<int> BadComments;   // answer records of comments on no head
};

class AnswerTree {
 public:
  // A position offers at most this many sequences; any further ones are not offered.
  static constexpr int MaxCandidates = 10;

  AnswerTree() = default;
  explicit AnswerTree(std::vector<AnswerLine> lines);

  int Count() const { return static_cast<int>(lines_.size()); }
  const AnswerLine& At(int line) const;
  // Returns the index of the new line.
  int Append(const AnswerLine& line);

  // The first line of the sequence that holds `line`; 0 when no line at or
  // above it starts one.
  int SequenceStart(int line) const;
  // The last line of the sequence that `line` is in.
  int SequenceEnd(int line) const;
  // The first line with record number `record`; -1 when none has it.
  int FindRecord(int record) const;
  // The heads of the sequences that may follow line `current` (-1 = the
  // problem position), in list order; none when the next line continues.
  std::vector<int> Candidates(int current) const;
  Continuation ContinuationAt(int current) const;
  // The line the lecture stands at after taking back the move of `current`.
  int StepBack(int current) const;
  // The lines a replay of the sequence ending at `end` passes, from `end`
  // back towards the problem position. A damaged link (to no record, to
  // itself, or round a loop) ends it; it is never longer than the tree.
  std::vector<int> PathBack(int end) const;
  // Whether the way to `line` from the problem position passes the first
  // move of a wrong sequence.
  bool OnWrongLine(int line) const;
  // Whether a sequence head with this move number and point starts a wrong line.
  bool StartsWrongLine(int moveIndex, int point) const;
  // Every branch head must lead back to the problem position; every comment
  // (by answer record) must belong to a sequence head.
  AnswerCheck Check(const std::vector<int>& commentRecords) const;

 private:
  std::vector<AnswerLine> lines_;
  std::unordered_map<int, std::vector<int>> byRecord_;
  std::unordered_map<int, std::vector<int>> byLink_;
};

}  // namespace sol

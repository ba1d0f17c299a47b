// Where a lecture stands in the answer of the problem shown, and the moves
// played on the problem board that a registration stores: the state and the
// decisions of the problem window that need no control.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "problems/answer_tree.h"
#include "problems/store.h"
#include "problems/study_records.h"

namespace sol {

constexpr int MoveBufferSize = 50;
constexpr int CandidateSlots = 10;

struct BufferEntry {
  int Colour = 0;  // 0 = free entry
  int Point = 0;
  int MoveNo = 0;
};

struct SetupEntry {
  int ProblemNumber = 0;  // 0 = free entry
  int Colour = 0;
  int Point = 0;
};

class Lecture {
 public:
  // The answer line the lecture stands at; -1 before the first move.
  int CurrentRecord = 0;
  int ProblemMoveNumber = 0;
  int ProblemLastColour = 0;
  // The point whose stone shows its number when only the newest does.
  int NumberedPoint = 0;
  // The heads of the sequences offered at CurrentRecord, from slot 1; -1 = none.
  std::array<int, CandidateSlots + 1> Candidates = NoCandidates();
  bool SequenceEnded = false;  // the lecture reached the end of the answer
  bool WrongBranch = false;    // the move played starts or follows a wrong line

  static std::array<int, CandidateSlots + 1> NoCandidates();

  // Fills Candidates with the sequences that may follow CurrentRecord and
  // returns how many there are.
  int CollectCandidates(const AnswerTree& answers);
  // The answer line that holds move `moveNumber` at `point`, offered where
  // the lecture stands: any line for the first move, else the next line or
  // an offered sequence. The lecture then stands at it, WrongBranch saying
  // whether it is on a wrong line. nullopt, with WrongBranch false, when no
  // line offered here holds the move.
  std::optional<int> MatchMove(const AnswerTree& answers, int moveNumber, int point);
  // The offered sequence whose first move is a stone at `point`; -1 when none.
  int CandidateAt(const AnswerTree& answers, int point) const;
  // The colour of the lecture's next move: the opponent's of the last one,
  // and at the start Black, or White when the problems are White's to play.
  int NextColour(bool whiteStarts) const;
};

// The stones clicked on the problem board since it was last cleared, in
// order, and the set-up of a problem about to be stored.
class ProblemRegistration {
 public:
  std::array<BufferEntry, MoveBufferSize + 1> MoveBuffer{};
  int MoveBufferCount = 0;
  // The clicked stones kept while a comment replays a sequence over them.
  std::array<BufferEntry, MoveBufferSize + 1> MoveBufferBackup{};
  std::array<SetupEntry, MoveBufferSize + 1> PendingSetup{};

  bool Full() const { return MoveBufferCount >= MoveBufferSize; }
  // Adds a clicked stone; false when the buffer is full.
  bool Append(int colour, int point, int moveNo);
  // The newest clicked stone leaves the buffer.
  void DropNewest();
  void ClearMoves();
  // The clicked stones become the set-up of problem `number`, and the
  // buffer is emptied.
  void TakeAsSetup(int number);
  // The pending set-up in order; it is emptied.
  std::vector<SetupEntry> TakeSetup();
  // The clicked stones as the answer records of a sequence of problem
  // `number`: the first move signed by `sign` (-1 a wrong sequence) and
  // linked to the problem position, or as a branch to `parentRecord`.
  std::vector<AnswerMoveRecord> SequenceRecords(int number, int sign, int parentRecord) const;
  // Keeps the clicked stones aside, and puts them back.
  void Backup();
  void Restore(int count);
};

// Whether the learner solves the problem shown alone. Help taken since the
// problem was loaded — a wrong move, the answer shown, a move played for
// them, a look at a sequence through a mark, a take-back — keeps an end
// from counting as solved at the first try. Loading the same problem again
// does not take the help back.
class AttemptTracker {
 public:
  void Loaded(int category, int problem);
  void Helped() { helped_ = true; }
  bool WasHelped() const { return helped_; }
  // How an end of the answer reached now counts.
  StudyResult Ended(bool wrongLine) const;

 private:
  int category_ = 0;
  int problem_ = 0;
  bool helped_ = false;
};

// The number a new problem takes in a sub-category starting at `base`: the
// one after the run of numbers that starts at base + 1, or base + 1 when the
// run does not start there. `numbers` are those of the list, ascending.
int NextFreeProblemNumber(const std::vector<int>& numbers, int base);

}  // namespace sol

#include "problems/lecture_model.h"

#include "core/game_state.h"

namespace sol {

namespace {
// A damaged answer line may hold any colour; only a stone's, signed, is played.
bool IsAnswerColour(long c) { return c == Black || c == White || c == -Black || c == -White; }
}  // namespace

std::array<int, CandidateSlots + 1> Lecture::NoCandidates() {
  std::array<int, CandidateSlots + 1> none{};
  none.fill(-1);
  return none;
}

int Lecture::CollectCandidates(const AnswerTree& answers) {
  Candidates = NoCandidates();
  const std::vector<int> heads = answers.Candidates(CurrentRecord);
  for (size_t i = 0; i < heads.size(); ++i) Candidates[i + 1] = heads[i];
  return static_cast<int>(heads.size());
}

std::optional<int> Lecture::MatchMove(const AnswerTree& answers, int n, int p) {
  WrongBranch = false;
  auto take = [&](int line) {
    CurrentRecord = line;
    // A wrong line is shown as wrong however its move was found.
    WrongBranch = answers.At(line).SignedColour < 0;
    return std::optional<int>(line);
  };
  auto matches = [&](int line) { return answers.At(line).MoveIndex == n && answers.At(line).Point == p; };
  if (n == 1) {
    for (int i = 0; i < answers.Count(); ++i)
      if (matches(i)) return take(i);
    return std::nullopt;
  }
  if (matches(CurrentRecord + 1)) return take(CurrentRecord + 1);
  if (CollectCandidates(answers) == 0) return std::nullopt;
  for (int i = 1; i <= CandidateSlots && Candidates[i] >= 0; ++i)
    if (matches(Candidates[i])) return take(Candidates[i]);
  return std::nullopt;
}

int Lecture::CandidateAt(const AnswerTree& answers, int p) const {
  for (int i = 1; i <= CandidateSlots; ++i)
    if (Candidates[i] >= 0 && answers.At(Candidates[i]).Point == p &&
        IsAnswerColour(answers.At(Candidates[i]).SignedColour))
      return Candidates[i];
  return -1;
}

int Lecture::NextColour(bool whiteStarts) const {
  if (ProblemLastColour == 0) return whiteStarts ? White : Black;
  return Opponent(static_cast<int16_t>(ProblemLastColour));
}

bool ProblemRegistration::Append(int colour, int point, int moveNo) {
  if (Full()) return false;
  ++MoveBufferCount;
  MoveBuffer[MoveBufferCount] = {colour, point, moveNo};
  return true;
}

void ProblemRegistration::DropNewest() {
  if (MoveBufferCount <= 0) return;
  MoveBuffer[MoveBufferCount] = {};
  --MoveBufferCount;
}

void ProblemRegistration::ClearMoves() {
  MoveBuffer.fill({});
  MoveBufferCount = 0;
}

void ProblemRegistration::TakeAsSetup(int number) {
  for (int i = 1; i <= MoveBufferSize && MoveBuffer[i].Colour != 0; ++i) {
    PendingSetup[i] = {number, MoveBuffer[i].Colour, MoveBuffer[i].Point};
    MoveBuffer[i] = {};
  }
}

std::vector<SetupEntry> ProblemRegistration::TakeSetup() {
  std::vector<SetupEntry> setup;
  for (int i = 1; i <= MoveBufferSize && PendingSetup[i].ProblemNumber != 0; ++i) setup.push_back(PendingSetup[i]);
  PendingSetup.fill({});
  return setup;
}

std::vector<AnswerMoveRecord> ProblemRegistration::SequenceRecords(int number, int sign, int parentRecord) const {
  std::vector<AnswerMoveRecord> records;
  for (int i = 1; i <= MoveBufferSize && MoveBuffer[i].Colour != 0; ++i) {
    const BufferEntry& e = MoveBuffer[i];
    AnswerMoveRecord r;
    r.ProblemNumber = static_cast<int16_t>(number);
    r.MoveIndex = static_cast<int16_t>(e.MoveNo);
    r.SignedColour = static_cast<int16_t>(i == 1 ? e.Colour * sign : e.Colour);
    r.Point = static_cast<int16_t>(e.Point);
    r.BranchLink = static_cast<int16_t>(i > 1 ? 0 : (e.MoveNo == 1 ? StartsAtProblem : parentRecord));
    records.push_back(r);
  }
  return records;
}

void ProblemRegistration::Backup() {
  MoveBufferBackup.fill({});
  for (int i = 1; i <= MoveBufferSize && MoveBuffer[i].Colour != 0; ++i) MoveBufferBackup[i] = MoveBuffer[i];
}

void ProblemRegistration::Restore(int count) {
  MoveBufferCount = count;
  for (int i = 1; i <= MoveBufferSize && MoveBufferBackup[i].Colour != 0; ++i) MoveBuffer[i] = MoveBufferBackup[i];
}

void AttemptTracker::Loaded(int category, int problem) {
  if (category == category_ && problem == problem_) return;
  category_ = category;
  problem_ = problem;
  helped_ = false;
}

StudyResult AttemptTracker::Ended(bool wrongLine) const {
  if (wrongLine) return StudyResult::Missed;
  return helped_ ? StudyResult::AfterMistake : StudyResult::FirstTry;
}

int NextFreeProblemNumber(const std::vector<int>& numbers, int base) {
  const size_t count = numbers.size();
  size_t i = 0;
  while (i < count && numbers[i] <= base) ++i;
  if (i >= count) return base + 1;
  if (numbers[i] > base + 1000 || numbers[i] != base + 1) return base + 1;
  while (i + 1 < count && numbers[i + 1] <= numbers[i] + 1) ++i;
  return numbers[i] + 1;
}

}  // namespace sol

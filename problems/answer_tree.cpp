#include "problems/answer_tree.h"

#include <algorithm>

#include "problems/store.h"

namespace sol {

AnswerTree::AnswerTree(std::vector<AnswerLine> lines) {
  lines_.reserve(lines.size());
  for (const AnswerLine& l : lines) Append(l);
}

const AnswerLine& AnswerTree::At(int line) const {
  static const AnswerLine none;
  return line >= 0 && line < Count() ? lines_[static_cast<size_t>(line)] : none;
}

int AnswerTree::Append(const AnswerLine& line) {
  const int index = Count();
  lines_.push_back(line);
  byRecord_[line.Record].push_back(index);
  byLink_[line.Link].push_back(index);
  return index;
}

int AnswerTree::SequenceStart(int line) const {
  while (At(line).Link <= 0)
    if (--line < 0) return 0;
  return line;
}

int AnswerTree::SequenceEnd(int line) const {
  while (line + 1 < Count() && At(line + 1).Link == 0) ++line;
  return line;
}

int AnswerTree::FindRecord(int record) const {
  const auto found = byRecord_.find(record);
  return found == byRecord_.end() ? -1 : found->second.front();
}

std::vector<int> AnswerTree::Candidates(int current) const {
  if (At(current + 1).Link <= 0) return {};
  const int key = current == -1 ? int{StartsAtProblem} : At(current).Record;
  const auto found = byLink_.find(key);
  if (found == byLink_.end()) return {};
  const std::vector<int>& heads = found->second;
  return {heads.begin(), heads.begin() + std::min<ptrdiff_t>(MaxCandidates, static_cast<ptrdiff_t>(heads.size()))};
}

Continuation AnswerTree::ContinuationAt(int current) const {
  if (current >= Count() - 1) return {false, true};
  if (At(current + 1).Link == 0) return {true, false};
  // Another sequence hangs from this move further down the list.
  const auto found = byLink_.find(At(current).Record);
  const bool branches = found != byLink_.end() && found->second.back() >= std::max(current, 0);
  return {branches, true};
}

int AnswerTree::StepBack(int current) const {
  if (current == 0) return -1;
  const int link = At(current).Link;
  if (link == 0) return current - 1;
  if (link == StartsAtProblem || link < 1) return -1;
  const int parent = FindRecord(link);
  return parent >= 0 ? parent : current;
}

std::vector<int> AnswerTree::PathBack(int end) const {
  std::vector<int> path;
  int i = end;
  for (int steps = 0; steps <= Count(); ++steps) {
    path.push_back(i);
    const int link = At(i).Link;
    if (link == StartsAtProblem) break;
    if (link == 0) {
      if (--i < 0) break;
      continue;
    }
    const int parent = FindRecord(link);
    if (parent < 0 || parent == i) break;
    i = parent;
  }
  return path;
}

bool AnswerTree::OnWrongLine(int line) const {
  const std::vector<int> path = PathBack(line);
  return std::any_of(path.begin(), path.end(), [this](int i) { return At(i).SignedColour < 0; });
}

bool AnswerTree::StartsWrongLine(int moveIndex, int point) const {
  return std::any_of(lines_.begin(), lines_.end(), [&](const AnswerLine& l) {
    return l.SignedColour < 0 && l.Link > 0 && l.MoveIndex == moveIndex && l.Point == point;
  });
}

AnswerCheck AnswerTree::Check(const std::vector<int>& commentRecords) const {
  const int n = Count();
  // Whether the walk from line `from` reaches the problem position. The walk
  // depends on its line alone and each step moves to an earlier line, so it
  // ends, and what one walk finds holds for every line it passed: a long
  // chain of continuations is walked once, not once per head.
  std::vector<signed char> reaches(static_cast<size_t>(n), -1);
  auto parentOf = [this](int cur) {
    const auto found = byRecord_.find(At(cur).Link);
    if (found == byRecord_.end()) return -1;
    for (int j : found->second) {
      if (j >= cur) break;
      if (At(j).MoveIndex == At(cur).MoveIndex - 1 && At(j + 1).Link > 0) return j;
    }
    return -1;
  };
  auto Reaches = [&](int from) {
    std::vector<int> passed;
    int cur = from;
    bool ok = false;
    for (;;) {
      if (reaches[static_cast<size_t>(cur)] >= 0) {
        ok = reaches[static_cast<size_t>(cur)] == 1;
        break;
      }
      passed.push_back(cur);
      const int parent = parentOf(cur);
      if (parent < 0) break;
      int h = parent;
      while (h > 0 && At(h).Link <= 0) --h;
      if (At(h).Link == StartsAtProblem) {
        ok = true;
        break;
      }
      if (h >= cur) break;
      cur = h;
    }
    for (int p : passed) reaches[static_cast<size_t>(p)] = ok ? 1 : 0;
    return ok;
  };

  AnswerCheck result;
  for (int i = 0; i < n; ++i) {
    const int link = At(i).Link;
    if (link == 0 || link == StartsAtProblem) continue;
    if (!Reaches(i)) result.BadSequences.push_back(At(i).Record);
  }
  for (int answer : commentRecords) {
    const auto found = byRecord_.find(answer);
    const bool onHead = found != byRecord_.end() && std::any_of(found->second.begin(), found->second.end(),
                                                                [this](int i) { return At(i).Link > 0; });
    if (!onHead) result.BadComments.push_back(answer);
  }
  return result;
}

}  // namespace sol

// What the learner has done in the lectures: a mark beside each problem
// tried, the line under the list, the end of an answer counted, and review
// of the problems missed or solved only with help.
#include <algorithm>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/study_texts.h"
#include "problems/study_window.h"
#include "problems/texts.h"

namespace sol {

std::map<int, std::uint64_t> SetupFingerprints(const GameState& s, int category) {
  // A block holds a problem's stones together as a rule; a lookup is made
  // only where the problem changes.
  std::map<int, SetupFingerprinter> setups;
  auto current = setups.end();
  for (const auto& r : ScanProblemMoves(s, category)) {
    if (current == setups.end() || current->first != r.value.ProblemNumber)
      current = setups.try_emplace(r.value.ProblemNumber).first;
    current->second.Add(r.value.Colour, r.value.Point);
  }
  std::map<int, std::uint64_t> fingerprints;
  for (const auto& [problem, f] : setups) fingerprints.emplace_hint(fingerprints.end(), problem, f.Value());

  return fingerprints;
}

StudyRecords* Form4::StudyBook() {
  if (Study == nullptr) return nullptr;
  if (Study->Available()) return Study;
  // Tried once: a folder the records cannot use stays so while the
  // program runs. A copy that leaves the data folder alone only reads them.
  if (studyTried_) return nullptr;
  studyTried_ = true;
  const std::u16string notice = Study->Open(s_.DataDir + StudyRecordsFileName, GetPlatform().Now());
  if (!notice.empty()) GetPlatform().MsgBox(notice, Buttons::OK, Icon::Information, form4text::Confirm);
  return Study->Available() ? Study : nullptr;
}

const std::map<int, std::uint64_t>& Form4::Fingerprints() {
  if (fingerprintsRead_) return fingerprints_;
  fingerprintsRead_ = true;
  try {
    fingerprints_ = SetupFingerprints(s_, s_.CategoryNo);
  } catch (const FileError&) {
    // The list said so already; without set-ups nothing is matched.
  }
  // A problem may have no set-up stones at all.
  const std::uint64_t none = SetupFingerprint({});
  for (int n : problemNumbers_) fingerprints_.try_emplace(n, none);
  return fingerprints_;
}

void Form4::ShowStudyMarks() {
  fingerprints_.clear();
  fingerprintsRead_ = false;
  studied_.clear();
  StudyRecords* records = s_.LessonMode % 2 == 1 ? StudyBook() : nullptr;
  // With nothing recorded in the category the set-ups need not be read.
  if (records && records->HasAttempts(s_.CategoryNo)) studied_ = records->Latest(s_.CategoryNo, Fingerprints());
  MarkListLines();
  ShowStudySummary();
}

void Form4::MarkListLines() {
  for (int i = 0; i < List1.ListCount(); ++i) {
    const auto it = studied_.find(ProblemNumberAt(i));
    List1.SetMark(i, it == studied_.end() ? 0 : static_cast<int>(it->second.Last));
  }
}

void Form4::ShowStudySummary() {
  if (s_.LessonMode % 2 == 0) {
    Label21.SetCaption(u"");
    return;
  }
  const bool joseki = s_.CategoryNo == 4;
  const int base = joseki ? 0 : Vars.SubCategoryBase;
  const auto inSubCategory = [&](int n) { return joseki || (n > base && n < base + 1000); };
  long all = 0;
  for (int n : problemNumbers_) all += inSubCategory(n) ? 1 : 0;
  // Review lists only some of the problems; the count is of the whole list.
  if (Vars.Reviewing) {
    all = 0;
    for (const auto& [n, fingerprint] : Fingerprints()) all += inSubCategory(n) ? 1 : 0;
  }
  long tried = 0, solved = 0;
  for (const auto& [n, study] : studied_) {
    if (!inSubCategory(n)) continue;
    ++tried;
    if (study.Last != StudyResult::Missed) ++solved;
  }
  const Str name = joseki                         ? Str(u"定石")
                   : Vars.SubCategoryBase == 2000 ? Option5.Caption()
                   : Vars.SubCategoryBase == 3000 ? Option6.Caption()
                                                  : Option4.Caption();
  Label21.SetCaption(studytext::Summary(Trim(name), solved, tried, all));
}

void Form4::RecordStudyEnd(int line) {
  if (s_.LessonMode % 2 == 0 || List1.ListIndex() < 0) return;
  const int problem = SelectedProblem();
  StudyRecords* records = StudyBook();
  if (records == nullptr) return;
  StudyAttempt attempt;
  attempt.Category = s_.CategoryNo;
  attempt.Problem = problem;
  if (const auto it = Fingerprints().find(problem); it != fingerprints_.end()) attempt.Fingerprint = it->second;
  attempt.Result = Attempt.Ended(answers_.OnWrongLine(line));
  attempt.When = GetPlatform().Now();
  if (!records->Record(attempt)) {
    StudyNotSaved();
    return;
  }
  ProblemStudy& study = studied_[problem];
  study.Last = attempt.Result;
  study.LastWhen = attempt.When;
  ++study.Attempts;
  List1.SetMark(List1.ListIndex(), static_cast<int>(attempt.Result));
  ShowStudySummary();
}

void Form4::StudyNotSaved() {
  // Said once: the lecture goes on, and a box at every end would only get
  // in the way.
  if (studyFailureShown_) return;
  studyFailureShown_ = true;
  GetPlatform().MsgBox(studytext::NotSaved + u"\r\n" + Study->LastError(), Buttons::OK, Icon::Information,
                       form4text::Confirm);
}

void Form4::MoveStudyRecords(int from, int to) {
  StudyRecords* records = StudyBook();
  if (records == nullptr) return;
  const bool done = to == 0 ? records->Remove(s_.CategoryNo, from) : records->Renumber(s_.CategoryNo, from, to);
  if (!done) StudyNotSaved();
}

void Form4::MenuReview() {
  if (s_.LessonMode % 2 == 0) return;
  if (Vars.Reviewing) {
    LeaveReview();
    SetStatus(studytext::ReviewEnded);
    return;
  }
  StudyRecords* records = StudyBook();
  const std::vector<int> order = records ? records->ReviewOrder(s_.CategoryNo, Fingerprints()) : std::vector<int>{};
  // The lines as listed (the first of a number), for the problems still listed.
  std::map<int, int> lineOf;
  for (int i = List1.ListCount(); i-- > 0;) lineOf[ProblemNumberAt(i)] = i;
  struct Line {
    int number;
    Str text;
    int titleStart;
  };
  std::vector<Line> lines;
  for (int n : order)
    if (const auto at = lineOf.find(n); at != lineOf.end())
      lines.push_back({n, List1.List(at->second), titleStarts_[static_cast<size_t>(at->second)]});
  if (lines.empty()) {
    GetPlatform().MsgBox(studytext::NothingToReview, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  ResetProblemBoard();
  ShowAnswers({});
  ClearCommentLines();
  ClearProblemLines();
  List1.SetSorted(false);
  for (const Line& l : lines) AddProblemLine(l.number, l.text, l.titleStart);
  Vars.Reviewing = true;
  if (Menu* m = MenuBar.Find("メニュー復習")) m->SetChecked(true);
  Command21.SetVisible(true);
  MarkListLines();
  List1.SetListIndex(0);
  List1.SetTopIndex(0);
  SetStatus(studytext::Reviewing(List1.ListCount()));
  ShowStudySummary();
}

void Form4::Command21_Click() {
  if (!Vars.Reviewing) return;
  const int next = List1.ListIndex() + 1;
  if (next >= List1.ListCount()) {
    GetPlatform().MsgBox(studytext::ReviewDone, Buttons::OK, Icon::Information, form4text::Confirm);
    LeaveReview();
    SetStatus(studytext::ReviewEnded);
    return;
  }
  List1.SetListIndex(next);
  List1.SetTopIndex(next);
}

void Form4::EndReview() {
  Vars.Reviewing = false;
  List1.SetSorted(true);
  if (Menu* m = MenuBar.Find("メニュー復習")) m->SetChecked(false);
  Command21.SetVisible(false);
}

void Form4::LeaveReview() {
  if (!Vars.Reviewing) return;
  EndReview();
  const int problem = SelectedProblem();
  ResetProblemBoard();
  ShowAnswers({});
  ClearCommentLines();
  LoadProblemList();
  // The problem last reviewed stays chosen in the whole list.
  for (int i = 0; i < List1.ListCount(); ++i)
    if (ProblemNumberAt(i) == problem) {
      List1.SetListIndex(i);
      List1.SetTopIndex(i);
      break;
    }
}

void Form4::MenuStudyRecords() {
  if (StudyBook() == nullptr) {
    GetPlatform().MsgBox(Study && !Study->LastError().empty() ? Study->LastError() : studytext::Unavailable,
                         Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  if (OpenStudyWindow) OpenStudyWindow();
}

}  // namespace sol

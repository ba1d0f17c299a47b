// Deleting a whole problem, or the tail of an answer sequence with every
// sequence that hangs from it.
#include <algorithm>

#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command5_Click() {
  Platform& p = GetPlatform();
  const int selected = List1.ListIndex();
  if (selected < 0) {
    p.MsgBox(form4text::SelectInList, Buttons::OK, Icon::Information, form4text::OrderErrorTitle);
    return;
  }
  const Str line = List1.List(selected);
  if (p.MsgBox(u"問題" + Trim(line) + form4text::DeleteProblemTail, Buttons::OKCancel, Icon::Question,
               form4text::Confirm) != Answer::OK)
    return;
  const auto n = static_cast<int16_t>(ProblemNumberAt(selected));
  // The problem goes from the four files together: a failure half-way would
  // leave comments pointing into renumbered answers.
  if (RunFileCommand([&] {
        DeleteProblemRecords(s_, s_.CategoryNo, n);
        return true;
      }) != FileCommand::Done) {
    // Nothing was deleted that the lists do not show any more.
    LoadProblemList();
    return;
  }
  MoveStudyRecords(n, 0);
  RemoveProblemLine(selected);
  ShowAnswers({});
  ClearCommentLines();
  ResetProblemBoard();
  PlayCue(0);
  SetStatus(form4text::Deleted);
}

std::vector<int> Form4::CollectTail(int index) {
  std::vector<int> records;
  const int count = answers_.Count();
  for (int i = index; i < count; ++i) {
    records.push_back(answers_.At(i).Record);
    if (i + 1 >= count || answers_.At(i + 1).Link != 0) break;
  }
  // Sequences hanging from any collected move go too, so that no branch
  // link is left naming a removed record.
  std::vector<Numbered<AnswerMoveRecord>> lines;
  for (int i = 0; i < count; ++i) {
    const AnswerLine& l = answers_.At(i);
    AnswerMoveRecord r;
    r.ProblemNumber = static_cast<int16_t>(l.Problem);
    r.MoveIndex = static_cast<int16_t>(l.MoveIndex);
    r.SignedColour = static_cast<int16_t>(l.SignedColour);
    r.Point = static_cast<int16_t>(l.Point);
    r.RecordNumber = static_cast<int16_t>(l.Record);
    r.BranchLink = static_cast<int16_t>(l.Link);
    lines.push_back({r.RecordNumber, r});
  }
  return WithDependentSequences(lines, records);
}

void Form4::Command8_Click() {
  Platform& p = GetPlatform();
  const int index = List2.ListIndex();
  if (answers_.At(index).Problem == 0) {
    p.MsgBox(form4text::SelectAnswer, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  if (p.MsgBox(form4text::DeleteTailQuestion, Buttons::OKCancel, Icon::Question, form4text::Confirm) != Answer::OK)
    return;
  const int link = answers_.At(index).Link;
  const std::vector<int> removed = CollectTail(index);
  const int problem = SelectedProblem();
  // The answers and the comments that name them are renumbered together.
  AnswerRenumbering renumber;
  if (RunFileCommand([&] {
        renumber = RemoveAnswers(s_, s_.CategoryNo, removed);
        return true;
      }) != FileCommand::Done)
    return;
  LoadAnswerLines(problem);
  ResetProblemBoard();
  LoadSetupStones(problem);
  const int s = FindRecordLine(link != 0 && link != StartsAtProblem ? renumber(link) : link, 0);
  if (List2.ListCount() > 0) List2.SetListIndex(s);
  LoadCommentLines(problem);
  SetStatus(form4text::Deleted);
  PlayCue(0);
}

}  // namespace sol
